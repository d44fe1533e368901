#pragma once

#include "crypt/cryptpswdu.h"

#include <QDialog>

class CryptTarget;
class Prompts;
class QLineEdit;
class TFernSBut;

// The password dialog "Crypt-Password". Its button named CancelBut is captioned "OK" and the one
// named OKBut "Cancel"; what they do follows the captions. Pressing "OK" carries out whatever
// request is pending in the shared requests, then marks the document modified.
class TCryptForm : public QDialog {
    Q_OBJECT

public:
    TCryptForm(CryptRequests &requests, CryptTarget &target, Prompts &prompts,
               QWidget *parent = nullptr);

    QLineEdit *Edit1() const { return m_edit1; }
    TFernSBut *CancelBut() const { return m_cancelBut; }
    TFernSBut *OKBut() const { return m_okBut; }

public slots:
    void CancelButClick();
    void OKButClick();

private:
    void encryptDocument();
    void decryptDocument();

    CryptRequests &m_requests;
    CryptTarget &m_target;
    Prompts &m_prompts;
    QLineEdit *m_edit1 = nullptr;
    TFernSBut *m_cancelBut = nullptr;
    TFernSBut *m_okBut = nullptr;
};
