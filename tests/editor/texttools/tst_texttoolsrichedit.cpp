#include "crypt/cryptcommands.h"
#include "crypt/cryptform.h"
#include "crypt/cryptpswdu.h"
#include "editor/texttools/spellcommand.h"
#include "editor/texttools/spelldialog.h"
#include "editor/texttools/texttoolscommands.h"
#include "editor/texttools/texttoolsfinddialog.h"
#include "editor/texttools/texttoolsrichedit.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/fernsbut.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The text tools wired to a real editing area, as the window wires them.
struct Area {
    TRxRichEdit memo;
    TextToolsRichEdit target{memo};
    ScriptedPrompts prompts;
    TextToolsCommands commands{target, prompts, nullptr};
    bool letterStyle = false;

    Area() {
        QObject::connect(&memo, &TRxRichEdit::OnKeyPress, &memo,
                         [this](QChar &key) { commands.MemoKeyPress(key, letterStyle); });
        QObject::connect(&memo, &TRxRichEdit::OnTextNotFound, &memo,
                         [this](const QString &text) { commands.MemoTextNotFound(text); });
        commands.beep = [] {};
    }

    int sizeAt(int position) {
        memo.SelectRange(position, position + 1, false);
        return memo.SelAttributes().Size();
    }
    QList<int> sizes() {
        QList<int> out;
        for (int i = 0; i < memo.TextLength(); ++i)
            out << sizeAt(i);
        return out;
    }
};

QString randomText(QRandomGenerator &rng, int maxLength) {
    const int n = int(rng.bounded(maxLength + 1));
    QString s;
    for (int i = 0; i < n; ++i) {
        switch (rng.bounded(8)) {
        case 0:
            s += QLatin1String("\r\n");
            break;
        case 1:
            s += QChar(char16_t(0xA0 + rng.bounded(0x60))); // Latin-1, no-break space included
            break;
        case 2:
            s += QChar(char16_t(0x3B1 + rng.bounded(20))); // Greek
            break;
        case 3:
            s += u'\t';
            break;
        default:
            s += QChar(char16_t(32 + rng.bounded(95)));
            break;
        }
    }
    return s;
}

QString printable(QRandomGenerator &rng, int maxLength) {
    const int n = int(rng.bounded(maxLength + 1));
    QString s;
    for (int i = 0; i < n; ++i)
        s += rng.bounded(20) == 0 ? QStringLiteral("\r\n")
                                  : QString(QChar(char16_t(32 + rng.bounded(95))));
    return s;
}

} // namespace

class tst_TextToolsRichEdit : public QObject {
    Q_OBJECT

private slots:
    void letterStyleOnAndOffRestoresSizes() {
        Area a;
        a.memo.SetText(QStringLiteral("Hello World\r\nABC def XY"));
        a.memo.SelectRange(12, 16, false);
        a.memo.SelAttributes().SetSize(20); // a run of capitals with two sizes
        const QList<int> before = a.sizes();
        a.memo.SelectRange(9, 12, false);

        a.commands.LetterStyle(true, QStringLiteral("12"));
        QCOMPARE(a.memo.SelStart(), 6); // 9 - 3
        QCOMPARE(a.memo.SelLength(), 0);
        QCOMPARE(a.memo.SelAttributes().Size(), 12);
        QVERIFY(a.memo.Modified());
        const QString text = QStringLiteral("Hello World\nABC def XY");
        const QList<int> enlarged = a.sizes();
        for (int i = 0; i < text.size(); ++i) {
            const bool capital = text[i] >= u'A' && text[i] <= u'Z';
            QCOMPARE(enlarged[i], before[i] + (capital ? 3 : 0));
        }

        a.commands.LetterStyle(false, QStringLiteral("12"));
        QCOMPARE(a.sizes(), before);
    }

    void typingABcWithLetterStyle() {
        Area a;
        a.memo.SetText(QString());
        a.memo.SelAttributes().SetSize(10);
        a.letterStyle = true;
        QTest::keyClicks(&a.memo, QStringLiteral("ABc"));
        QCOMPARE(a.memo.Text(), QStringLiteral("ABc"));
        QCOMPARE(a.sizes(), (QList<int>{13, 13, 10}));

        // Switched off again, the typed capitals lose their extra points too.
        a.memo.SelectRange(3, 3, false);
        a.commands.LetterStyle(false, QStringLiteral("10"));
        QCOMPARE(a.sizes(), (QList<int>{10, 10, 10}));
    }

    void uppercaseTakesTheFirstCharactersFormat() {
        Area a;
        a.memo.SetText(QStringLiteral("bold plain"));
        a.memo.SelectRange(0, 4, false);
        a.memo.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
        a.memo.SelectRange(0, 10, false);
        a.commands.Uppercase1Click();
        QCOMPARE(a.memo.Text(), QStringLiteral("BOLD PLAIN"));
        QCOMPARE(a.memo.SelStart(), 0);
        QCOMPARE(a.memo.SelLength(), 10);
        QVERIFY(a.memo.SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
        QVERIFY(a.memo.SelAttributes().Consistent().testFlag(TRxTextAttributes::caBold));
    }

    // Replace All ends even when the replacement holds the search text, since every new
    // search starts after the replacement just made.
    void replaceAllWithSearchTextInTheReplacement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::addRow("doubling") << "cat cat"
                                  << "cat"
                                  << "catcat"
                                  << "catcat catcat";
        QTest::addRow("prefixing") << "aaa"
                                   << "a"
                                   << "ba"
                                   << "bababa";
        QTest::addRow("wrapping") << "x\r\nx"
                                  << "x"
                                  << "(x)"
                                  << "(x)\r\n(x)";
        QTest::addRow("none found") << "dog"
                                    << "cat"
                                    << "catcat"
                                    << "dog";
    }
    void replaceAllWithSearchTextInTheReplacement() {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        Area a;
        a.memo.SetText(text);
        a.commands.ReplaceActionExecute();
        TextToolsFindDialog *dialog = a.commands.replaceDialog();
        dialog->setFindText(find);
        dialog->setReplaceText(replacement);
        if (text == result)
            a.prompts.answerButton(QMessageBox::Ok);
        dialog->replaceAllButton()->click();
        QCOMPARE(a.memo.Text(), result);
        QCOMPARE(a.prompts.unexpectedCount(), 0);
        if (text == result)
            QCOMPARE(a.prompts.records().value(0).text,
                     QStringLiteral("Text \"%1\" not found.").arg(find));
    }

    void findNextOverTheArea() {
        Area a;
        a.memo.SetText(QStringLiteral("one two one"));
        a.commands.FindActionExecute();
        a.commands.findDialog()->setFindText(QStringLiteral("one"));
        a.commands.findDialog()->findNextButton()->click();
        QCOMPARE(a.memo.SelStart(), 0);
        a.commands.FindNextActionExecute();
        QCOMPARE(a.memo.SelStart(), 8);
        a.prompts.answerButton(QMessageBox::Ok);
        a.commands.FindNextActionExecute();
        QCOMPARE(a.prompts.texts(), QStringList{QStringLiteral("Text \"one\" not found.")});
    }

    void wordCountOfTheArea() {
        Area a;
        a.memo.SetText(QStringLiteral("don't\r\ne-mail 3.14 é"));
        QCOMPARE(a.commands.WordCount1Click(), QStringLiteral("6 words"));
    }

    void spellCheckReplacesThroughTheSelection() {
        Area a;
        a.memo.SetText(QStringLiteral("teh cat\r\nsat"));
        a.memo.SelectRange(0, 7, false);
        a.memo.SelAttributes().SetStyle(TRxTextAttributes::fsItalic);
        SpellCommand spell(a.target, a.prompts, nullptr,
                           {QStringLiteral(QUILLET_TEST_DATA "/editor/spell/first")},
                           TestEnvironment::root() + QStringLiteral("/words.txt"));
        a.prompts.answerDialog(true, [](QDialog &d) {
            auto &dialog = static_cast<TSpellDialog &>(d);
            dialog.changeTo()->setText(QStringLiteral("the"));
            dialog.ChangeBut()->click();
        });
        a.prompts.answerButton(QMessageBox::Ok);
        spell.SpellActionExecute();
        QCOMPARE(a.memo.Text(), QStringLiteral("the cat\r\nsat"));
        a.memo.SelectRange(0, 3, false);
        QVERIFY(a.memo.SelAttributes().Style().testFlag(TRxTextAttributes::fsItalic));
        a.memo.SelectRange(11, 11, false);
        QCOMPARE(a.memo.SelStart(), a.memo.TextLength());
    }

    // Scrambling through the area, saving as a plain text or RTF file, opening it again and
    // unscrambling gives the text back, for any text and password.
    void scramblingSurvivesTheAreaAndATextFile() {
        QTemporaryDir dir;
        // Plain text and RTF alike.
        const QStringList files{dir.filePath(QStringLiteral("scrambled.txt")),
                                dir.filePath(QStringLiteral("scrambled.rtf"))};
        QRandomGenerator rng(99);
        for (int round = 0; round < 150; ++round) {
            Area a;
            // Half the rounds printable, so that the classic bytes (no-break spaces, code-page
            // quotes, undefined code-page bytes) go through the files too.
            const bool classic = round % 4 < 2;
            const QString text = classic ? printable(rng, 120) : randomText(rng, 120);
            const QString password = classic ? printable(rng, 6).remove(QLatin1String("\r\n"))
                                             : randomText(rng, 6).remove(QLatin1String("\r\n"));
            if (password.isEmpty())
                continue;
            a.memo.SetText(text);
            const QString original = a.memo.Text(); // as the area keeps it
            a.target.setPlainText(EncryptText(a.target.plainText(), password));
            const QString &file = files[round % 2];
            a.memo.Lines().SaveToFile(file);
            TRxRichEdit reopened;
            reopened.Lines().LoadFromFile(file);
            TextToolsRichEdit target(reopened);
            const std::optional<QString> back = DecryptText(target.plainText(), password);
            QVERIFY2(back == original, qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void encryptCommandOverTheArea() {
        Area a;
        a.memo.SetText(QStringLiteral("Dear Ann,\r\nthe key is under the mat."));
        a.memo.SelectRange(0, 4, false);
        a.memo.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
        TCryptCommands crypt(a.target, a.prompts, nullptr);
        a.prompts.answerDialog(
            true, [](QDialog &d) { static_cast<TCryptForm &>(d).CancelBut()->click(); });
        crypt.Encrypt1Click();
        crypt.form()->Edit1()->setText(QStringLiteral("secret"));
        crypt.form()->CancelBut()->click();
        QCOMPARE(a.memo.Text(),
                 EncryptText(QStringLiteral("Dear Ann,\r\nthe key is under the mat."),
                             QStringLiteral("secret")));
        QVERIFY(a.memo.Modified());
        a.memo.SelectRange(0, 4, false);
        QVERIFY(!a.memo.SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
    }
};

QUILLET_TEST_MAIN(tst_TextToolsRichEdit)
#include "tst_texttoolsrichedit.moc"
