#include "crypt/cryptcommands.h"
#include "crypt/cryptform.h"
#include "crypt/crypttarget.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/fernsbut.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// The editing area reduced to what the commands use.
class FakeTarget : public CryptTarget {
public:
    QString text;
    bool modified = false;
    int replacements = 0;

    QString plainText() const override { return text; }
    void setPlainText(const QString &t) override {
        text = t;
        ++replacements;
    }
    void setModified(bool m) override { modified = m; }
};

const QString kProse = QStringLiteral("Dear Ann,\r\nthe keys are under the mat.");
const QString kEncryptQuestion =
    QStringLiteral("The Text already seems to be encrypted Do you really want to proceed ?");
const QString kDecryptQuestion =
    QStringLiteral("The Text already seems to be decrypted Do you really want to proceed ?");

// A first dialog closed with its "OK" button after typing a password.
std::function<void(QDialog &)> pressOk(const QString &password = QString()) {
    return [password](QDialog &d) {
        auto &form = static_cast<TCryptForm &>(d);
        form.Edit1()->setText(password);
        form.CancelBut()->click();
    };
}

} // namespace

class tst_CryptForm : public QObject {
    Q_OBJECT

private slots:
    void dialogLooksAsDescribed() {
        CryptRequests requests;
        FakeTarget target;
        ScriptedPrompts prompts;
        TCryptForm form(requests, target, prompts);
        QCOMPARE(form.windowTitle(), QStringLiteral("Crypt-Password"));
        QCOMPARE(form.size(), QSize(296, 314));
        QCOMPARE(form.Edit1()->echoMode(), QLineEdit::Password);
        QVERIFY(form.Edit1()->text().isEmpty());
        // The names are swapped against the captions.
        QCOMPARE(form.CancelBut()->objectName(), QStringLiteral("CancelBut"));
        QCOMPARE(form.CancelBut()->text(), QStringLiteral("OK"));
        QCOMPARE(form.OKBut()->objectName(), QStringLiteral("OKBut"));
        QCOMPARE(form.OKBut()->text(), QStringLiteral("Cancel"));
        QCOMPARE(form.CancelBut()->size(), QSize(89, 41));
        QVERIFY(form.CancelBut()->font().bold());
        QCOMPARE(form.CancelBut()->accessibleName(), QStringLiteral("OK"));
        QCOMPARE(form.Edit1()->accessibleName(), QStringLiteral("Password"));
    }

    // Which documents make which command ask, and what the answer does.
    void plausibilityQuestion_data() {
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("question"); // empty: passes without asking
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("requested");
        const QString scrambled = EncryptText(kProse, QStringLiteral("pw"));
        QTest::addRow("encrypt empty") << true << ""
                                       << "" << 0 << true;
        QTest::addRow("encrypt prose") << true << kProse << "" << 0 << true;
        QTest::addRow("encrypt scrambled, Yes")
            << true << scrambled << kEncryptQuestion << int(QMessageBox::Yes) << true;
        QTest::addRow("encrypt scrambled, Abort")
            << true << scrambled << kEncryptQuestion << int(QMessageBox::Abort) << false;
        QTest::addRow("decrypt empty, Abort")
            << false << "" << kDecryptQuestion << int(QMessageBox::Abort) << false;
        QTest::addRow("decrypt prose, Yes")
            << false << kProse << kDecryptQuestion << int(QMessageBox::Yes) << true;
        QTest::addRow("decrypt scrambled") << false << scrambled << "" << 0 << true;
    }
    void plausibilityQuestion() {
        QFETCH(bool, encrypt);
        QFETCH(QString, text);
        QFETCH(QString, question);
        QFETCH(int, answer);
        QFETCH(bool, requested);
        FakeTarget target;
        target.text = text;
        ScriptedPrompts prompts;
        QWidget window;
        TCryptCommands commands(target, prompts, &window);
        prompts.answerDialog(true, pressOk());
        if (!question.isEmpty())
            prompts.answerButton(QMessageBox::StandardButton(answer));
        encrypt ? commands.Encrypt1Click() : commands.Decrypt1Click();

        QCOMPARE(prompts.unexpectedCount(), 0);
        QCOMPARE(prompts.pendingAnswers(), 0);
        if (question.isEmpty()) {
            QCOMPARE(prompts.records().size(), 1);
        } else {
            QCOMPARE(prompts.records().size(), 2);
            const auto &box = prompts.records().at(1);
            QCOMPARE(box.text, question);
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::Abort);
        }
        QCOMPARE(encrypt ? commands.requests().EncryptRequested
                         : commands.requests().DecryptRequested,
                 requested);
        QCOMPARE(commands.form()->isVisible(), requested);
        QVERIFY(!commands.form()->isModal());
        // The first dialog's "OK" only marked the document modified.
        QVERIFY(target.modified);
        QCOMPARE(target.text, text);
    }

    void encryptThenDecryptRestoresTheText() {
        FakeTarget target;
        target.text = kProse;
        ScriptedPrompts prompts;
        QWidget window;
        TCryptCommands commands(target, prompts, &window);

        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        commands.form()->Edit1()->setText(QStringLiteral("s3cret"));
        target.modified = false;
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, EncryptText(kProse, QStringLiteral("s3cret")));
        QVERIFY(target.modified);
        QVERIFY(!commands.form()->isVisible());
        QVERIFY(!commands.requests().EncryptRequested);

        prompts.answerDialog(true, pressOk());
        commands.Decrypt1Click();
        // A fresh dialog: the password was not kept.
        QVERIFY(commands.form()->Edit1()->text().isEmpty());
        commands.form()->Edit1()->setText(QStringLiteral("s3cret"));
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, kProse);
        QCOMPARE(prompts.unexpectedCount(), 0);
    }

    void emptyPasswordScramblesNothingButMarksModified() {
        FakeTarget target;
        target.text = kProse;
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        target.modified = false;
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, kProse);
        QCOMPARE(target.replacements, 0);
        QVERIFY(target.modified);
        QVERIFY(!commands.requests().EncryptRequested);
    }

    void cancelButtonClearsTheRequest() {
        FakeTarget target;
        target.text = kProse;
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        commands.form()->Edit1()->setText(QStringLiteral("pw"));
        target.modified = false;
        commands.form()->OKBut()->click(); // captioned "Cancel"
        QCOMPARE(target.text, kProse);
        QVERIFY(!target.modified);
        QVERIFY(!commands.requests().EncryptRequested);
        QVERIFY(!commands.form()->isVisible());
    }

    // Closing the second dialog with its close box leaves the request pending; the next "OK" in
    // any later password dialog carries it out with that dialog's password.
    void pendingRequestCarriedIntoLaterDialog() {
        FakeTarget target;
        target.text = kProse;
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        commands.form()->Edit1()->setText(QStringLiteral("first"));
        commands.form()->close();
        QVERIFY(commands.requests().EncryptRequested);
        QCOMPARE(target.text, kProse);

        // The Decrypt command's first dialog scrambles with its own password...
        prompts.answerDialog(true, pressOk(QStringLiteral("second")));
        commands.Decrypt1Click();
        QCOMPARE(prompts.unexpectedCount(), 0);
        // ...so the text now looks scrambled and Decrypt goes on without asking.
        QCOMPARE(prompts.records().size(), 2);
        QVERIFY(commands.requests().DecryptRequested);
        QVERIFY(!commands.requests().EncryptRequested);
        QCOMPARE(commands.form()->Edit1()->text(), QStringLiteral("second"));
        QCOMPARE(target.text, EncryptText(kProse, QStringLiteral("second")));
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, kProse);
    }

    void textEditedWhileTheSecondDialogIsOpenIsWhatGetsScrambled() {
        FakeTarget target;
        target.text = QStringLiteral("before");
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        target.text = QStringLiteral("after the edit");
        commands.form()->Edit1()->setText(QStringLiteral("k"));
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, EncryptText(QStringLiteral("after the edit"), QStringLiteral("k")));
    }

    void decryptWithWrongPasswordLeavesTheTextAndSaysSo() {
        FakeTarget target;
        target.text = EncryptText(QStringLiteral("Grüße aus Köln 🌍"), QStringLiteral("right"));
        const QString scrambled = target.text;
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Decrypt1Click();
        commands.form()->Edit1()->setText(QStringLiteral("wrong"));
        prompts.answerButton(QMessageBox::Ok);
        commands.form()->CancelBut()->click();
        QCOMPARE(target.text, scrambled);
        QCOMPARE(target.replacements, 0);
        QCOMPARE(prompts.records().size(), 2);
        QCOMPARE(prompts.records().at(1).text,
                 QStringLiteral("The text cannot be decrypted with this password. It was left as "
                                "it was."));
    }

    void returnInThePasswordFieldPressesOk() {
        FakeTarget target;
        target.text = kProse;
        ScriptedPrompts prompts;
        TCryptCommands commands(target, prompts, nullptr);
        prompts.answerDialog(true, pressOk());
        commands.Encrypt1Click();
        commands.form()->Edit1()->setText(QStringLiteral("pw"));
        QTest::keyClick(commands.form()->Edit1(), Qt::Key_Return);
        QCOMPARE(target.text, EncryptText(kProse, QStringLiteral("pw")));
    }

    void hotTrackColourFollowsThePointer() {
        TFernSBut button;
        QCOMPARE(button.HotTrackColor(), QColor(Qt::blue));
        const QColor normal = button.palette().color(QPalette::ButtonText);
        QSignalSpy entered(&button, &TFernSBut::OnEnter);
        QSignalSpy exited(&button, &TFernSBut::OnExit);

        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &enter);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(button.palette().color(QPalette::ButtonText), QColor(Qt::blue));

        button.setHotTrackColor(Qt::red);
        QCOMPARE(button.palette().color(QPalette::ButtonText), QColor(Qt::red));

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QCOMPARE(exited.count(), 1);
        QCOMPARE(button.palette().color(QPalette::ButtonText), normal);
    }
};

QUILLET_TEST_MAIN(tst_CryptForm)
#include "tst_cryptform.moc"
