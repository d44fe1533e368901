#include "crypt/cryptcommands.h"

#include "crypt/cryptform.h"
#include "crypt/crypttarget.h"
#include "platform/prompts.h"

TCryptCommands::TCryptCommands(CryptTarget &target, Prompts &prompts, QWidget *parent)
    : m_target(target)
    , m_prompts(prompts)
    , m_parent(parent) {}

TCryptCommands::~TCryptCommands() {
    delete m_form;
}

TCryptForm *TCryptCommands::form() const {
    return m_form;
}

void TCryptCommands::Encrypt1Click() {
    run(true);
}

void TCryptCommands::Decrypt1Click() {
    run(false);
}

void TCryptCommands::run(bool encrypt) {
    // A fresh dialog each time, so no password outlives its command.
    delete m_form;
    m_form = new TCryptForm(m_requests, m_target, m_prompts, m_parent);
    m_prompts.exec(*m_form);
    if (!m_form)
        return;

    const int r = CryptRatio(m_target.plainText());
    const bool plausible = encrypt ? r <= 1 : r >= 2;
    if (!plausible) {
        const QString text =
            encrypt ? QStringLiteral("The Text already seems to be encrypted Do you really want to "
                                     "proceed ?")
                    : QStringLiteral("The Text already seems to be decrypted Do you really want to "
                                     "proceed ?");
        const auto answer =
            m_prompts.message(m_parent, QStringLiteral("Warning"), text, QMessageBox::Warning,
                              QMessageBox::Yes | QMessageBox::Abort, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return;
    }
    if (encrypt)
        m_requests.EncryptRequested = true;
    else
        m_requests.DecryptRequested = true;
    m_form->setModal(false);
    m_form->show();
    m_form->activateWindow();
}
