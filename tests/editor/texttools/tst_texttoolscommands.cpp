#include "editor/texttools/texttoolscommands.h"
#include "editor/texttools/texttoolsfinddialog.h"
#include "editor/texttools/texttoolstarget.h"
#include "platform/usererror.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "texttoolsfakememo.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A typed character: the key handler first, then the character in the insertion size.
void type(FakeMemo &memo, TextToolsCommands &commands, QChar key, bool letterStyleChecked) {
    commands.MemoKeyPress(key, letterStyleChecked);
    memo.chars.insert(memo.end, key);
    memo.sizes.insert(memo.end, memo.insertionSize);
    memo.start = memo.end = memo.end + 1;
}

struct Fixture {
    FakeMemo memo;
    ScriptedPrompts prompts;
    TextToolsCommands commands{memo, prompts, nullptr};
    int beeps = 0;
    int focused = 0;

    Fixture() {
        memo.notFound = [this](const QString &text) { commands.MemoTextNotFound(text); };
        commands.beep = [this] { ++beeps; };
        commands.focusMemo = [this] { ++focused; };
    }
};

} // namespace

class tst_TextToolsCommands : public QObject {
    Q_OBJECT

private slots:
    void letterStyleOnAndOffRestoresSizes() {
        Fixture f;
        f.memo.setText(QStringLiteral("Hello World\nABC def XY"));
        // Mixed sizes inside a run of capitals.
        f.memo.sizes[12] = 20;
        f.memo.sizes[14] = 8;
        const QList<int> before = f.memo.sizes;
        f.memo.selectRange(3, 3, false);

        f.commands.LetterStyle(true, QStringLiteral("12"));
        for (int i = 0; i < f.memo.chars.size(); ++i) {
            const bool capital = f.memo.chars[i] >= u'A' && f.memo.chars[i] <= u'Z';
            QCOMPARE(f.memo.sizes[i], before[i] + (capital ? 3 : 0));
        }
        QVERIFY(f.memo.modified);
        QCOMPARE(f.memo.updateDepth, 0);
        QCOMPARE(f.memo.maxUpdateDepth, 1);

        f.commands.LetterStyle(false, QStringLiteral("12"));
        QCOMPARE(f.memo.sizes, before);
    }

    void capitalsTypedWhileOnLoseTheirExtraPoints() {
        Fixture f;
        f.memo.setText(QStringLiteral("ab"));
        f.memo.selectRange(2, 2, false);
        f.commands.LetterStyle(true, QStringLiteral("10"));
        for (const QChar c : QStringLiteral("ABc"))
            type(f.memo, f.commands, c, true);
        // A and B three points larger than c.
        QCOMPARE(f.memo.sizes, (QList<int>{10, 10, 13, 13, 10}));
        QVERIFY(!f.commands.CapsEnlarged());
        f.commands.LetterStyle(false, QStringLiteral("10"));
        QCOMPARE(f.memo.sizes, (QList<int>{10, 10, 10, 10, 10}));
    }

    void typingWithoutLetterStyleChangesNothing() {
        Fixture f;
        f.memo.setText(QString());
        for (const QChar c : QStringLiteral("ABc"))
            type(f.memo, f.commands, c, false);
        QCOMPARE(f.memo.sizes, (QList<int>{10, 10, 10}));
        QVERIFY(!f.commands.CapsEnlarged());
    }

    // Neither the command nor switching the item off resets the typing state.
    void capsEnlargedSurvivesTheCommand() {
        Fixture f;
        f.memo.setText(QString());
        type(f.memo, f.commands, u'A', true);
        QVERIFY(f.commands.CapsEnlarged());
        f.commands.LetterStyle(false, QStringLiteral("10"));
        QVERIFY(f.commands.CapsEnlarged());
        type(f.memo, f.commands, u'b', true);
        QVERIFY(!f.commands.CapsEnlarged());
    }

    void letterStyleLeavesTheCaret_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("caret");
        QTest::addRow("no selection") << 4 << 0 << 4;
        QTest::addRow("start at least length") << 6 << 3 << 3;
        QTest::addRow("start below length") << 1 << 5 << 0;
    }
    void letterStyleLeavesTheCaret() {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, caret);
        Fixture f;
        f.memo.setText(QStringLiteral("One Two Three"));
        f.memo.selectRange(start, start + length, false);
        f.commands.LetterStyle(true, QStringLiteral("14"));
        QCOMPARE(f.memo.selStart(), caret);
        QCOMPARE(f.memo.selLength(), 0);
        QCOMPARE(f.memo.insertionSize, 14);
    }

    void letterStyleWithBadSizeBoxChangesNothing() {
        Fixture f;
        f.memo.setText(QStringLiteral("ABC"));
        f.memo.selectRange(1, 2, false);
        QVERIFY_THROWS_EXCEPTION(UserError, f.commands.LetterStyle(true, QStringLiteral("12pt")));
        QCOMPARE(f.memo.sizes, (QList<int>{10, 10, 10}));
        QCOMPARE(f.memo.selStart(), 1);
        QCOMPARE(f.memo.selLength(), 1);
        QVERIFY(!f.memo.modified);
        QCOMPARE(f.memo.maxUpdateDepth, 0);
    }

    void caseConversionReplacesTheSelection() {
        Fixture f;
        f.memo.setText(QStringLiteral("mixed Case\ntext"));
        f.memo.sizes[0] = 16; // the first character's format wins
        f.memo.selectRange(0, 13, false);
        f.commands.Uppercase1Click();
        QCOMPARE(f.memo.chars, QStringLiteral("MIXED CASE\nTExt"));
        QCOMPARE(f.memo.selStart(), 0);
        QCOMPARE(f.memo.selLength(), 13);
        QCOMPARE(f.memo.sizes.mid(0, 13), QList<int>(13, 16));
        f.commands.Lowercase1Click();
        QCOMPARE(f.memo.chars, QStringLiteral("mixed case\ntext"));
    }

    void wordCountOfTheWholeText() {
        Fixture f;
        f.memo.setText(QStringLiteral("It's 3.14 e-mail\nnaïve é"));
        QCOMPARE(f.commands.WordCount1Click(), QStringLiteral("7 words"));
        f.memo.setText(QString());
        QCOMPARE(f.commands.WordCount1Click(), QStringLiteral("0 words"));
    }

    void findDialogSeededFromTheSelection() {
        Fixture f;
        f.memo.setText(QStringLiteral("alpha beta\ngamma"));
        f.memo.selectRange(6, 13, false); // "beta", a break and "ga"
        f.commands.FindActionExecute();
        TextToolsFindDialog *find = f.commands.findDialog();
        QVERIFY(find && find->isVisible() && !find->isModal());
        QCOMPARE(find->findText(), QStringLiteral("beta"));

        // Nothing selected: the previous search text stays.
        f.memo.selectRange(0, 0, false);
        f.commands.FindActionExecute();
        QCOMPARE(f.commands.findDialog(), find);
        QCOMPARE(find->findText(), QStringLiteral("beta"));

        // The replace dialog, new, takes over the find dialog's text; its replacement stays.
        f.commands.ReplaceActionExecute();
        TextToolsFindDialog *replace = f.commands.replaceDialog();
        QCOMPARE(replace->findText(), QStringLiteral("beta"));
        replace->setReplaceText(QStringLiteral("delta"));
        f.memo.selectRange(0, 5, false);
        f.commands.ReplaceActionExecute();
        QCOMPARE(replace->findText(), QStringLiteral("alpha"));
        QCOMPARE(replace->replaceText(), QStringLiteral("delta"));
    }

    void findNextRepeatsTheLastDialogSearch() {
        Fixture f;
        f.memo.setText(QStringLiteral("one two one"));
        // Nothing searched yet: only a beep.
        f.commands.FindNextActionExecute();
        QCOMPARE(f.beeps, 1);
        QCOMPARE(f.focused, 1);
        QVERIFY(f.memo.searches.isEmpty());
        QVERIFY(f.prompts.records().isEmpty());

        f.commands.FindActionExecute();
        TextToolsFindDialog *find = f.commands.findDialog();
        find->setFindText(QStringLiteral("one"));
        find->setMatchCase(true);
        find->setDown(false);
        find->findNextButton()->click();
        f.commands.FindNextActionExecute();
        QCOMPARE(f.memo.searches,
                 (QStringList{QStringLiteral("find one c-u"), QStringLiteral("find one c-u")}));
        QCOMPARE(f.beeps, 1);

        // The replace dialog's search becomes the one repeated, always downward.
        f.commands.ReplaceActionExecute();
        TextToolsFindDialog *replace = f.commands.replaceDialog();
        replace->setFindText(QStringLiteral("two"));
        replace->setReplaceText(QStringLiteral("2"));
        replace->replaceButton()->click();
        f.memo.searches.clear();
        f.commands.FindNextActionExecute();
        QCOMPARE(f.memo.searches, QStringList{QStringLiteral("find two --d")});
    }

    void findNextThatFindsNothingShowsTheBoxThenBeeps() {
        Fixture f;
        f.commands.FindActionExecute();
        f.commands.findDialog()->setFindText(QStringLiteral("needle"));
        f.commands.findDialog()->findNextButton()->click();
        f.memo.findResult = false;
        f.prompts.answerButton(QMessageBox::Ok);
        f.commands.FindNextActionExecute();
        QCOMPARE(f.prompts.records().size(), 1);
        const auto &box = f.prompts.records().first();
        QCOMPARE(box.text, QStringLiteral("Text \"needle\" not found."));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(f.beeps, 1);
        QCOMPARE(f.focused, 1);
    }

    void dialogMovesOffTheMatch() {
        Fixture f;
        f.memo.setText(QStringLiteral("find the word here"));
        f.commands.FindActionExecute();
        TextToolsFindDialog *find = f.commands.findDialog();
        find->setFindText(QStringLiteral("word"));
        // The fake puts every character at y = 300, x = 8 per position; select the match.
        f.memo.selectRange(9, 13, false);
        find->move(40, 250);
        const QRect before = find->frameGeometry();
        QVERIFY(before.contains(QPoint(72, 300)));
        find->findNextButton()->click();
        QVERIFY(!find->frameGeometry().contains(QPoint(72, 300)));
        QCOMPARE(find->frameGeometry().left(), before.left());
    }

    void emptySearchTextSearchesNothing() {
        Fixture f;
        f.commands.ReplaceActionExecute();
        TextToolsFindDialog *replace = f.commands.replaceDialog();
        QVERIFY(!replace->replaceAllButton()->isEnabled());
        emit replace->replaceAllRequested();
        QVERIFY(f.memo.searches.isEmpty());
        f.commands.FindNextActionExecute();
        QCOMPARE(f.beeps, 1);
    }
};

QUILLET_TEST_MAIN(tst_TextToolsCommands)
#include "tst_texttoolscommands.moc"
