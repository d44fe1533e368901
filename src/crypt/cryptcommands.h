#pragma once

#include "crypt/cryptpswdu.h"

#include <QPointer>

class CryptTarget;
class Prompts;
class QWidget;
class TCryptForm;

// The Run menu's "Encrypt" and "Decrypt" commands: each asks for a password in a fresh dialog,
// checks whether the text looks scrambled already, and then leaves the dialog open, without
// blocking the window, until its "OK" button scrambles the text of that moment.
class TCryptCommands {
public:
    TCryptCommands(CryptTarget &target, Prompts &prompts, QWidget *parent);
    ~TCryptCommands();
    TCryptCommands(const TCryptCommands &) = delete;
    TCryptCommands &operator=(const TCryptCommands &) = delete;

    void Encrypt1Click();
    void Decrypt1Click();

    // The password dialog of the last command (null before the first one).
    TCryptForm *form() const;
    const CryptRequests &requests() const { return m_requests; }

private:
    void run(bool encrypt);

    CryptTarget &m_target;
    Prompts &m_prompts;
    QWidget *m_parent;
    CryptRequests m_requests;
    QPointer<TCryptForm> m_form;
};
