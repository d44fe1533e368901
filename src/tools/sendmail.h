#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

class Prompts;
class QWidget;

// Hands one message with one attached file to the desktop's mail program, whose compose window
// takes over, and reports the outcome with the Simple MAPI result messages.
class TSendMail {
public:
    struct Message {
        QString subject;
        QString noteText;
        QString attachmentPath;
        QString recipientAddress;
    };

    struct ResultReport {
        QMessageBox::Icon icon;
        QString text;
    };

    TSendMail(Prompts &prompts, QWidget *window);

    // How the message reaches the mail program; answers a Simple MAPI result code. The
    // desktop's `xdg-email` unless replaced.
    std::function<int(const Message &)> Deliver;

    // The desktop's mail programs always show their compose window, so `withDialog` changes
    // nothing; neither do the names, which only the address book would use, nor the
    // originator, whom the mail program knows better.
    void SendMail(const QString &subject, const QString &noteText, bool withDialog,
                  const QString &attachmentPath, const QString &attachmentName,
                  const QString &recipientName, const QString &recipientAddress,
                  const QString &originatorName, const QString &originatorAddress);

    // The message box of a Simple MAPI result code; nullopt for codes that show nothing.
    static std::optional<ResultReport> ResultMessage(int code);

private:
    Prompts &m_prompts;
    QWidget *m_window;
};
