#include "crypt/cryptform.h"

#include "crypt/crypttarget.h"
#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "widgets/fernsbut.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel *boldLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QFrame *loweredPanel(const QString &name, QWidget *parent) {
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAccessibleName(name);
    return panel;
}

TFernSBut *captionButton(const QString &caption, QStyle::StandardPixmap picture, QWidget *parent) {
    auto *button = new TFernSBut(parent);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setFixedSize(89, 41);
    QFont f = button->font();
    f.setBold(true);
    button->setFont(f);
    return button;
}

} // namespace

TCryptForm::TCryptForm(CryptRequests &requests, CryptTarget &target, Prompts &prompts,
                       QWidget *parent)
    : QDialog(parent)
    , m_requests(requests)
    , m_target(target)
    , m_prompts(prompts) {
    setObjectName(QStringLiteral("CryptForm"));
    setWindowTitle(QStringLiteral("Crypt-Password"));
    setFixedSize(296, 314);

    auto *group = new QGroupBox(this);
    group->setAccessibleName(QStringLiteral("Crypt-Password"));

    QFrame *passwordPanel = loweredPanel(QStringLiteral("Password"), group);
    auto *passwordLayout = new QVBoxLayout(passwordPanel);
    QLabel *must = boldLabel(QStringLiteral("You MUST enter a password first !"), passwordPanel);
    auto *passwordLabel = new QLabel(QStringLiteral("Password"), passwordPanel);
    m_edit1 = new QLineEdit(passwordPanel);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setAccessibleName(QStringLiteral("Password"));
    m_edit1->setEchoMode(QLineEdit::Password);
    m_edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    passwordLabel->setBuddy(m_edit1);
    passwordLayout->addWidget(must);
    passwordLayout->addWidget(passwordLabel);
    passwordLayout->addWidget(m_edit1);

    QFrame *warningPanel = loweredPanel(QStringLiteral("Warning"), group);
    auto *warningLayout = new QVBoxLayout(warningPanel);
    auto *textRow = new QHBoxLayout;
    auto *icon = new QLabel(warningPanel);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    QLabel *warning = boldLabel(
        QStringLiteral(
            "This will eliminte all formatting information. Do you realy want to proceed?"),
        warningPanel);
    warning->setWordWrap(true);
    textRow->addWidget(icon);
    textRow->addWidget(warning, 1);
    m_cancelBut = captionButton(QStringLiteral("OK"), QStyle::SP_DialogOkButton, warningPanel);
    m_cancelBut->setObjectName(QStringLiteral("CancelBut"));
    m_okBut = captionButton(QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton, warningPanel);
    m_okBut->setObjectName(QStringLiteral("OKBut"));
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_cancelBut);
    buttonRow->addStretch();
    buttonRow->addWidget(m_okBut);
    warningLayout->addLayout(textRow);
    warningLayout->addLayout(buttonRow);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(passwordPanel);
    groupLayout->addWidget(warningPanel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);

    connect(m_cancelBut, &QToolButton::clicked, this, &TCryptForm::CancelButClick);
    connect(m_okBut, &QToolButton::clicked, this, &TCryptForm::OKButClick);
    // The buttons take no focus, so Return in the password field stands for "OK".
    connect(m_edit1, &QLineEdit::returnPressed, this, &TCryptForm::CancelButClick);
    m_edit1->setFocus();
}

void TCryptForm::CancelButClick() {
    if (m_requests.EncryptRequested)
        encryptDocument();
    if (m_requests.DecryptRequested)
        decryptDocument();
    m_requests.EncryptRequested = false;
    m_requests.DecryptRequested = false;
    m_target.setModified(true);
    done(QDialog::Accepted);
}

void TCryptForm::OKButClick() {
    m_requests.EncryptRequested = false;
    m_requests.DecryptRequested = false;
    done(QDialog::Rejected);
}

void TCryptForm::encryptDocument() {
    const QString password = m_edit1->text();
    if (password.isEmpty())
        return;
    BusyCursor busy;
    m_target.setPlainText(EncryptText(m_target.plainText(), password));
}

void TCryptForm::decryptDocument() {
    const QString password = m_edit1->text();
    if (password.isEmpty())
        return;
    std::optional<QString> text;
    {
        BusyCursor busy;
        text = DecryptText(m_target.plainText(), password);
        if (text)
            m_target.setPlainText(*text);
    }
    if (!text)
        m_prompts.warning(
            this, QStringLiteral("Warning"),
            QStringLiteral(
                "The text cannot be decrypted with this password. It was left as it was."));
}
