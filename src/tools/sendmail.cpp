#include "tools/sendmail.h"

#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "platform/xdgemail.h"

#include <QGuiApplication>

TSendMail::TSendMail(Prompts &prompts, QWidget *window)
    : m_prompts(prompts)
    , m_window(window) {
    Deliver = [](const Message &message) {
        return XdgEmail::send(XdgEmail::Message{message.subject, message.noteText,
                                                message.attachmentPath, message.recipientAddress});
    };
}

std::optional<TSendMail::ResultReport> TSendMail::ResultMessage(int code) {
    using Box = QMessageBox;
    switch (code) {
    case 0:
        return ResultReport{Box::Information, QStringLiteral("Done! ")};
    case 1:
        return ResultReport{Box::Warning, QStringLiteral("User interupted or MAPI not installed")};
    case 2:
        return ResultReport{Box::Critical, QStringLiteral("Unknown failure")};
    case 3:
        return ResultReport{Box::Critical,
                            QStringLiteral("User login failed (eg. Outlook login) ")};
    case 5:
        return ResultReport{Box::Critical, QStringLiteral("Not enough memory ")};
    case 9:
        return ResultReport{Box::Critical, QStringLiteral("Too many attachments")};
    case 10:
        return ResultReport{Box::Critical, QStringLiteral("Too many recipients")};
    case 11:
        return ResultReport{Box::Critical, QStringLiteral("Attachment not found! ")};
    case 12:
        return ResultReport{Box::Critical, QStringLiteral("Could not open attachment! ")};
    case 14:
        return ResultReport{Box::Critical,
                            QStringLiteral("Empf\u00e4nger nicht in Adressbuch gefunden. (Nur "
                                           "m\u00f6glich, wenn Emailadresse nicht angegeben.)")};
    case 15:
        return ResultReport{Box::Critical,
                            QStringLiteral("Recipent type not MAPI_TO, MAPI_CC or MAPI_BCC!")};
    case 18:
        return ResultReport{Box::Critical, QStringLiteral("Too much text")};
    case 21:
        return ResultReport{Box::Warning, QStringLiteral("Recipient not unequivocal!")};
    default:
        return std::nullopt;
    }
}

void TSendMail::SendMail(const QString &subject, const QString &noteText, bool,
                         const QString &attachmentPath, const QString &, const QString &,
                         const QString &recipientAddress, const QString &, const QString &) {
    int code = 0;
    {
        BusyCursor busy;
        code = Deliver(Message{subject, noteText, attachmentPath, recipientAddress});
    }
    if (const auto report = ResultMessage(code))
        m_prompts.message(m_window, QGuiApplication::applicationDisplayName(), report->text,
                          report->icon, QMessageBox::Ok, QMessageBox::Ok);
}
