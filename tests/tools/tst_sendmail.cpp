#include "platform/xdgemail.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "tools/mailrequest.h"
#include "tools/sendmail.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// Send Mail: which way a document travels, the "mailto:" request, and the hand-over to the
// desktop's mail program through a fake `xdg-email` with its result messages.
class tst_SendMail : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_bin;
    QTemporaryDir m_empty;
    QByteArray m_path;
    QString m_log;

    // A fake xdg-email that records its arguments (NUL-separated) and exits with `code`.
    void installFake(int code) {
        const QString script = m_bin.filePath(QStringLiteral("xdg-email"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                   QFile::encodeName(m_log) + "'\nexit " + QByteArray::number(code) + "\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
    }

    QStringList recordedArguments() const {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList result;
        for (const QByteArray &part : file.readAll().split('\0'))
            result.append(QString::fromUtf8(part));
        result.removeLast();
        return result;
    }

    QString attachment() const {
        const QString path = m_bin.filePath(QStringLiteral("letter & notes.rtf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("{\\rtf1 hello}");
        return path;
    }

private slots:
    void initTestCase() {
        m_path = qgetenv("PATH");
        m_log = m_bin.filePath(QStringLiteral("arguments"));
    }

    void cleanup() {
        qputenv("PATH", m_path);
        QFile::remove(m_log);
    }

    void choosesAttachmentOrMailto_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("formatted");
        QTest::addColumn<bool>("attachment");
        QTest::addRow(".rtf") << QStringLiteral("/home/u/a.rtf") << false << true;
        QTest::addRow(".RTF uniform goes as mailto")
            << QStringLiteral("/home/u/a.RTF") << false << false;
        QTest::addRow(".RTF formatted") << QStringLiteral("/home/u/a.RTF") << true << true;
        QTest::addRow(".txt uniform") << QStringLiteral("/home/u/a.txt") << false << false;
        QTest::addRow(".txt mixed formatting") << QStringLiteral("/home/u/a.txt") << true << true;
        QTest::addRow("Untitled uniform") << QStringLiteral("Untitled") << false << false;
        QTest::addRow("Untitled formatted") << QStringLiteral("Untitled") << true << true;
        QTest::addRow(".rtf.txt") << QStringLiteral("/home/u/a.rtf.txt") << false << false;
    }

    void choosesAttachmentOrMailto() {
        QFETCH(QString, name);
        QFETCH(bool, formatted);
        QFETCH(bool, attachment);
        QCOMPARE(MailRequest::SendsAsAttachment(name, formatted), attachment);
    }

    // Escaped, so that the mail program gets the whole text.
    void mailtoKeepsTheWholeText() {
        const QString text = QStringLiteral("Tom & Jerry #1\r\n100% sure?\r\nGr\u00fc\u00dfe");
        const QByteArray request = MailRequest::Mailto(text);
        QCOMPARE(request,
                 QByteArrayLiteral("mailto:someone@example.org?subject=&body=Tom%20%26%20"
                                   "Jerry%20%231%0D%0A100%25%20sure%3F%0D%0AGr%C3%BC%C3%9Fe"));
        const QUrl url = QUrl::fromEncoded(request);
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.toEncoded(), request);
        QCOMPARE(QUrl::fromPercentEncoding(request.mid(request.indexOf("&body=") + 6)), text);
    }

    void everyResultCodeHasItsMessage_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        const auto row = [](int code, QMessageBox::Icon icon, const char *text) {
            QTest::addRow("%d", code) << code << int(icon) << QString::fromUtf8(text);
        };
        row(0, QMessageBox::Information, "Done! ");
        row(1, QMessageBox::Warning, "User interupted or MAPI not installed");
        row(2, QMessageBox::Critical, "Unknown failure");
        row(3, QMessageBox::Critical, "User login failed (eg. Outlook login) ");
        row(5, QMessageBox::Critical, "Not enough memory ");
        row(9, QMessageBox::Critical, "Too many attachments");
        row(10, QMessageBox::Critical, "Too many recipients");
        row(11, QMessageBox::Critical, "Attachment not found! ");
        row(12, QMessageBox::Critical, "Could not open attachment! ");
        row(14, QMessageBox::Critical,
            "Empf\u00e4nger nicht in Adressbuch gefunden. (Nur m\u00f6glich, wenn Emailadresse "
            "nicht angegeben.)");
        row(15, QMessageBox::Critical, "Recipent type not MAPI_TO, MAPI_CC or MAPI_BCC!");
        row(18, QMessageBox::Critical, "Too much text");
        row(21, QMessageBox::Warning, "Recipient not unequivocal!");
    }

    void everyResultCodeHasItsMessage() {
        QFETCH(int, code);
        QFETCH(int, icon);
        QFETCH(QString, text);
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TSendMail mail(prompts, nullptr);
        mail.Deliver = [code](const TSendMail::Message &) { return code; };
        mail.SendMail(QStringLiteral("s"), QStringLiteral("n"), true, QString(), QString(),
                      QString(), QString(), QString(), QString());
        QCOMPARE(prompts.texts(), QStringList{text});
        QCOMPARE(int(prompts.records()[0].icon), icon);
        QCOMPARE(prompts.records()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void codesNotListedShowNothing() {
        for (int code : {4, 6, 7, 8, 13, 16, 17, 19, 20, 22, 26, -1})
            QVERIFY2(!TSendMail::ResultMessage(code), qPrintable(QString::number(code)));
    }

    void handsTheMessageToXdgEmail_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addRow("done") << 0 << QStringLiteral("Done! ");
        QTest::addRow("bad arguments") << 1 << QStringLiteral("Unknown failure");
        QTest::addRow("a file is missing") << 2 << QStringLiteral("Attachment not found! ");
        QTest::addRow("no mail program")
            << 3 << QStringLiteral("User interupted or MAPI not installed");
        QTest::addRow("mail program failed") << 4 << QStringLiteral("Unknown failure");
        QTest::addRow("unknown exit code") << 9 << QStringLiteral("Unknown failure");
    }

    void handsTheMessageToXdgEmail() {
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        installFake(exitCode);
        const QString file = attachment();
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TSendMail mail(prompts, nullptr);
        const QString &to = MailRequest::PlaceholderAddress;
        mail.SendMail(MailRequest::Subject, MailRequest::NoteText, true, file, file, to, to, to,
                      to);
        QCOMPARE(recordedArguments(),
                 (QStringList{QStringLiteral("--utf8"), QStringLiteral("--subject"),
                              QStringLiteral("Send mail with Quillet"), QStringLiteral("--body"),
                              QStringLiteral("I like this program!!"), QStringLiteral("--attach"),
                              file, QStringLiteral("someone@example.org")}));
        QCOMPARE(prompts.texts(), QStringList{message});
    }

    void missingAttachmentIsReportedWithoutStartingAnything() {
        installFake(0);
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TSendMail mail(prompts, nullptr);
        mail.SendMail(MailRequest::Subject, MailRequest::NoteText, true, QStringLiteral("Untitled"),
                      QStringLiteral("Untitled"), QString(), QString(), QString(), QString());
        QCOMPARE(prompts.texts(), QStringList{QStringLiteral("Attachment not found! ")});
        QVERIFY(!QFile::exists(m_log));
    }

    void withoutXdgEmailTheServiceIsNotInstalled() {
        qputenv("PATH", QFile::encodeName(m_empty.path()));
        QCOMPARE(XdgEmail::send({QStringLiteral("s"), QStringLiteral("b"), attachment(),
                                 MailRequest::PlaceholderAddress}),
                 XdgEmail::UserAbort);
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TSendMail mail(prompts, nullptr);
        const QString file = attachment();
        mail.SendMail(MailRequest::Subject, MailRequest::NoteText, true, file, file, QString(),
                      QString(), QString(), QString());
        QCOMPARE(prompts.texts(),
                 QStringList{QStringLiteral("User interupted or MAPI not installed")});
    }

    // A mail program that keeps the command running has the message; the program goes on.
    void aCommandStillRunningCountsAsHandedOver() {
        const QString script = m_bin.filePath(QStringLiteral("xdg-email"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\nsleep 2\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(XdgEmail::send({QStringLiteral("s"), QString(), QString(), QString()}, 200),
                 XdgEmail::Success);
        QVERIFY(timer.elapsed() < 1500);
    }
};

QUILLET_TEST_MAIN(tst_SendMail)
#include "tst_sendmail.moc"
