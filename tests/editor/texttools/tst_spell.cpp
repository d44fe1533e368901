#include "editor/texttools/spellchecker.h"
#include "editor/texttools/spellcommand.h"
#include "editor/texttools/spelldialog.h"
#include "editor/texttools/spellpersonalwords.h"
#include "editor/texttools/spellsession.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "texttoolsfakememo.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFirst = QStringLiteral(QUILLET_TEST_DATA "/editor/spell/first");
const QString kSecond = QStringLiteral(QUILLET_TEST_DATA "/editor/spell/second");

SpellDictionary fixtureDictionary() {
    return FindSpellDictionaries({kFirst}).value(0);
}

// What the dialog showed for one word, and the button pressed for it.
struct Step {
    QString word;
    QString context;
    QStringList suggestions;
};

// Answers the spell dialog by pressing, for each word it shows, the next of `presses`
// (a button, and for Change the text typed into "Change to" first, when given).
struct DialogDriver {
    QList<std::pair<QString, QString>> presses; // button name, change-to text ("" keeps it)
    QList<Step> steps;

    std::function<void(QDialog &)> script() {
        return [this](QDialog &d) {
            auto &dialog = static_cast<TSpellDialog &>(d);
            bool done = false;
            QObject::connect(&dialog, &QDialog::finished, &dialog, [&done] { done = true; });
            for (const auto &[name, changeTo] : presses) {
                if (done)
                    break;
                QStringList suggestions;
                for (int i = 0; i < dialog.suggestionList()->count(); ++i)
                    suggestions << dialog.suggestionList()->item(i)->text();
                const QString context = dialog.contextText();
                steps.append({currentWord(dialog), context, suggestions});
                if (!changeTo.isEmpty())
                    dialog.changeTo()->setText(changeTo);
                button(dialog, name)->click();
            }
        };
    }

    static QString currentWord(TSpellDialog &dialog) { return dialog.word(); }

    static QPushButton *button(TSpellDialog &dialog, const QString &name) {
        if (name == QLatin1String("Ignore"))
            return dialog.IgnoreBut();
        if (name == QLatin1String("Ignore All"))
            return dialog.IgnoreAllBut();
        if (name == QLatin1String("Change"))
            return dialog.ChangeBut();
        if (name == QLatin1String("Change All"))
            return dialog.ChangeAllBut();
        if (name == QLatin1String("Add"))
            return dialog.AddBut();
        return dialog.CancelBut();
    }
};

using Presses = QList<std::pair<QString, QString>>;

QStringList words(const QList<Step> &steps) {
    QStringList out;
    for (const Step &s : steps)
        out << s.word;
    return out;
}

} // namespace

class tst_Spell : public QObject {
    Q_OBJECT

private:
    QString personalPath() const {
        return TestEnvironment::root() + QStringLiteral("/data/quillet/personal-words.txt");
    }

private slots:
    void init() { QFile::remove(personalPath()); }

    void nextSpellWord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addRow("plain") << "the cat" << QStringList{"the", "cat"};
        QTest::addRow("apostrophes")
            << QStringLiteral("don't 'quoted' dogs' it’s")
            << QStringList{"don't", "quoted", "dogs", QStringLiteral("it’s")};
        QTest::addRow("hyphen joins letters")
            << "e-mail well- -known" << QStringList{"e-mail", "well", "known"};
        QTest::addRow("digits skip the word") << "abc123 3rd 42 ok" << QStringList{"ok"};
        QTest::addRow("addresses skipped")
            << "mail me@example.com or http://example.org/page or www.example.net now"
            << QStringList{"mail", "or", "or", "now"};
        QTest::addRow("accents and marks")
            << QStringLiteral("naïve cafe\u0301")
            << QStringList{QStringLiteral("naïve"), QStringLiteral("cafe\u0301")};
        QTest::addRow("paragraphs") << "one\ntwo" << QStringList{"one", "two"};
        QTest::addRow("nothing") << " ... 123 " << QStringList{};
    }
    void nextSpellWord() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QStringList got;
        int pos = 0;
        while (const auto range = NextSpellWord(text, pos)) {
            got << text.mid(range->start, range->end - range->start);
            pos = range->end;
        }
        QCOMPARE(got, words);
    }

    void contextIsTheParagraphAroundTheWord() {
        const QString text = QStringLiteral("first line\nthe word here\nlast");
        const SpellContext c = SpellWordContext(text, {15, 19});
        QCOMPARE(c.text, QStringLiteral("the word here"));
        QCOMPARE(c.offset, 4);
        const QString longLine = QString(200, u'x') + QStringLiteral(" word ") + QString(200, u'y');
        const SpellContext cut = SpellWordContext(longLine, {201, 205}, 10);
        QCOMPARE(cut.text, QString(9, u'x') + QStringLiteral(" word ") + QString(9, u'y'));
        QCOMPARE(cut.offset, 10);
    }

    void caretPositionCountsALineBreakAfterEveryLine() {
        QCOMPARE(SpellCaretPosition(QString()), 0);
        QCOMPARE(SpellCaretPosition(QStringLiteral("ab\r\ncd")), 8);
    }

    void dictionariesFound() {
        const QList<SpellDictionary> found = FindSpellDictionaries({kFirst, kSecond});
        QStringList names;
        for (const SpellDictionary &d : found)
            names << d.name;
        // A .dic without its .aff is no spelling dictionary; the first folder wins a name.
        QCOMPARE(names, (QStringList{"xx_AA", "xx_BB"}));
        QCOMPARE(found[0].dicPath, kFirst + QStringLiteral("/xx_AA.dic"));
        QVERIFY(FindSpellDictionaries({TestEnvironment::root()}).isEmpty());

        QCOMPARE(ChooseSpellDictionary(found, QStringLiteral("xx_BB")), 1);
        QCOMPARE(ChooseSpellDictionary(found, QStringLiteral("zz")), 0);
        QCOMPARE(ChooseSpellDictionary({}, QString()), -1);
    }

    void installedEnglishDictionaryIsOffered() {
        const QList<SpellDictionary> found = FindSpellDictionaries(DefaultDictionaryFolders());
        const int i = ChooseSpellDictionary(found, QStringLiteral("en_US"));
        if (i < 0 || found[i].name != QLatin1String("en_US"))
            QSKIP("hunspell-en-us is not installed");
        SpellChecker checker(found[i]);
        QVERIFY(checker.isValid());
        QVERIFY(checker.isCorrect(QStringLiteral("dictionary")));
        QVERIFY(checker.isCorrect(QStringLiteral("don't")));
        QVERIFY(!checker.isCorrect(QStringLiteral("dictionnary")));
        QVERIFY(checker.suggestions(QStringLiteral("dictionnary"))
                    .contains(QStringLiteral("dictionary")));
    }

    void checkerAnswersAndSuggests() {
        SpellChecker checker(fixtureDictionary());
        QVERIFY(checker.isValid());
        QVERIFY(checker.isCorrect(QStringLiteral("cat")));
        QVERIFY(checker.isCorrect(QStringLiteral("naïve")));
        QVERIFY(!checker.isCorrect(QStringLiteral("cta")));
        QVERIFY(checker.suggestions(QStringLiteral("cta")).contains(QStringLiteral("cat")));
        checker.addWord(QStringLiteral("cta"));
        QVERIFY(checker.isCorrect(QStringLiteral("cta")));

        SpellChecker missing({QStringLiteral("gone"), QStringLiteral("/nonexistent/gone.aff"),
                              QStringLiteral("/nonexistent/gone.dic")});
        QVERIFY(!missing.isValid());
    }

    void sessionCarriesOutTheDecisions() {
        FakeMemo memo;
        memo.setText(QStringLiteral("teh cat sat\non teh mat wiht teh dgo dgo"));
        SpellChecker checker(fixtureDictionary());
        SpellPersonalWords personal(personalPath());
        SpellSession session(memo, checker, personal);

        QVERIFY(session.findNext());
        QCOMPARE(session.word(), QStringLiteral("teh"));
        QCOMPARE(memo.selStart(), 0);
        QCOMPARE(memo.selLength(), 3);
        QVERIFY(session.suggestions().contains(QStringLiteral("the")));
        session.change(QStringLiteral("the"));

        QVERIFY(session.findNext());
        QCOMPARE(session.word(), QStringLiteral("teh"));
        QCOMPARE(session.context().text, QStringLiteral("on teh mat wiht teh dgo dgo"));
        QCOMPARE(session.context().offset, 3);
        session.changeAll(QStringLiteral("the"));

        QVERIFY(session.findNext());
        QCOMPARE(session.word(), QStringLiteral("wiht")); // the next "teh" changed on the way
        QCOMPARE(session.add(), QString());

        QVERIFY(session.findNext());
        QCOMPARE(session.word(), QStringLiteral("dgo"));
        session.ignoreAll();
        QVERIFY(!session.findNext());

        QCOMPARE(memo.chars, QStringLiteral("the cat sat\non the mat wiht the dgo dgo"));
        QCOMPARE(session.changes(), 3);

        // The added word is kept in the personal list for later checks.
        QFile file(personalPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("wiht\n"));
        SpellPersonalWords again(personalPath());
        again.load();
        SpellSession later(memo, checker, again);
        QVERIFY(later.findNext());
        QCOMPARE(later.word(), QStringLiteral("dgo"));
    }

    // Replacements are not checked again, and the words after them are found where they are now.
    void replacementsShiftTheWordsAfterThem() {
        FakeMemo memo;
        memo.setText(QStringLiteral("a cta a cta dgo"));
        SpellChecker checker(fixtureDictionary());
        SpellPersonalWords personal(personalPath());
        SpellSession session(memo, checker, personal);
        QVERIFY(session.findNext());
        session.changeAll(QStringLiteral("big cat"));
        QVERIFY(session.findNext());
        QCOMPARE(session.word(), QStringLiteral("dgo"));
        QCOMPARE(session.wordRange().start, 20);
        QCOMPARE(memo.selStart(), 20);
        QCOMPARE(memo.selLength(), 3);
        QCOMPARE(memo.chars, QStringLiteral("a big cat a big cat dgo"));
    }

    void commandWithoutDictionaryChangesNothing() {
        FakeMemo memo;
        memo.setText(QStringLiteral("teh cat"));
        memo.selectRange(2, 4, false);
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {TestEnvironment::root() + "/none"},
                             personalPath());
        prompts.answerButton(QMessageBox::Ok);
        command.SpellActionExecute();
        QCOMPARE(prompts.records().size(), 1);
        QCOMPARE(prompts.records()[0].text,
                 QStringLiteral("No spelling dictionary is installed, so the text cannot be "
                                "checked. Install a Hunspell dictionary (such as the package "
                                "\"hunspell-en-us\") and try again."));
        QCOMPARE(memo.chars, QStringLiteral("teh cat"));
        QCOMPARE(memo.selStart(), 2);
        QCOMPARE(memo.selLength(), 2);
        QVERIFY(!memo.modified);
    }

    // The whole command: the dialog walks the unknown words, then the caret goes to the position
    // counted before the check, which lies past the end.
    void commandChecksTheWholeText_data() {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("completed");
        QTest::addRow("change with the first suggestion, ignore the rest")
            << Presses{{"Change", ""}, {"Ignore", ""}, {"Ignore", ""}}
            << QStringList{"teh", "wiht", "dgo"} << "the cat\nsat wiht dgo" << true;
        QTest::addRow("typed replacement")
            << Presses{{"Change", "THE"}, {"Change", "with"}, {"Change", "dog"}}
            << QStringList{"teh", "wiht", "dgo"} << "THE cat\nsat with dog" << true;
        QTest::addRow("cancel keeps what was done")
            << Presses{{"Change", "the"}, {"Cancel", ""}} << QStringList{"teh", "wiht"}
            << "the cat\nsat wiht dgo" << false;
    }
    void commandChecksTheWholeText() {
        QFETCH(Presses, presses);
        QFETCH(QStringList, shown);
        QFETCH(QString, result);
        QFETCH(bool, completed);
        FakeMemo memo;
        memo.setText(QStringLiteral("teh cat\nsat wiht dgo"));
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {kFirst}, personalPath());
        DialogDriver driver;
        driver.presses = presses;
        prompts.answerDialog(completed, driver.script());
        if (completed)
            prompts.answerButton(QMessageBox::Ok);
        command.SpellActionExecute();

        QCOMPARE(prompts.unexpectedCount(), 0);
        QCOMPARE(words(driver.steps), shown);
        QCOMPARE(driver.steps[0].context, QStringLiteral("teh cat"));
        QCOMPARE(memo.chars, result);
        QCOMPARE(prompts.records().size(), completed ? 2 : 1);
        if (completed)
            QCOMPARE(prompts.records()[1].text, QStringLiteral("The spell check is complete."));
        QCOMPARE(memo.selStart(), int(memo.chars.size()));
        QCOMPARE(memo.selLength(), 0);
        QCOMPARE(command.dictionaryName(), QStringLiteral("xx_AA"));
    }

    void contextShowsTheWordMarkedAndTheRestAsText() {
        FakeMemo memo;
        memo.setText(QStringLiteral("the<cat> teh & a"));
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {kFirst}, personalPath());
        QString shown;
        prompts.answerDialog(false, [&](QDialog &d) {
            auto &dialog = static_cast<TSpellDialog &>(d);
            shown = dialog.contextView()->text();
            dialog.CancelBut()->click();
        });
        command.SpellActionExecute();
        QCOMPARE(shown, QStringLiteral("the&lt;cat&gt; <b><font color=\"red\">teh</font></b> "
                                       "&amp; a"));
    }

    void textWithoutUnknownWordsNeedsNoDialog() {
        FakeMemo memo;
        memo.setText(QStringLiteral("the cat sat on a mat"));
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {kFirst}, personalPath());
        prompts.answerButton(QMessageBox::Ok);
        command.SpellActionExecute();
        QCOMPARE(prompts.records().size(), 1);
        QCOMPARE(prompts.records()[0].kind, ScriptedPrompts::Kind::Message);
        QCOMPARE(memo.replacements, 0);
    }

    void anotherDictionaryChosenInTheDialog() {
        FakeMemo memo;
        memo.setText(QStringLiteral("teh gato dgo"));
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {kFirst, kSecond}, personalPath());
        QStringList shown;
        prompts.answerDialog(true, [&](QDialog &d) {
            auto &dialog = static_cast<TSpellDialog &>(d);
            QCOMPARE(dialog.dictionaryBox()->count(), 2);
            shown << DialogDriver::currentWord(dialog);
            // The second dictionary knows "teh" and "gato": the check moves on to "dgo".
            dialog.dictionaryBox()->setCurrentIndex(1);
            emit dialog.dictionaryBox()->activated(1);
            shown << DialogDriver::currentWord(dialog);
            dialog.IgnoreBut()->click();
        });
        prompts.answerButton(QMessageBox::Ok);
        command.SpellActionExecute();
        QCOMPARE(shown, (QStringList{"teh", "dgo"}));
        QCOMPARE(command.dictionaryName(), QStringLiteral("xx_BB"));
        QCOMPARE(prompts.unexpectedCount(), 0);
    }

    void personalListThatCannotBeSavedStillAcceptsTheWord() {
        QTemporaryDir dir;
        // A folder where the list file should be: it cannot be written.
        const QString blocked = dir.filePath(QStringLiteral("list"));
        QVERIFY(QDir().mkpath(blocked));
        FakeMemo memo;
        memo.setText(QStringLiteral("wiht a wiht"));
        ScriptedPrompts prompts;
        SpellCommand command(memo, prompts, nullptr, {kFirst}, blocked);
        DialogDriver driver;
        driver.presses = {{"Add", ""}};
        prompts.answerDialog(true, driver.script());
        prompts.answerButton(QMessageBox::Ok); // the warning
        prompts.answerButton(QMessageBox::Ok); // complete
        command.SpellActionExecute();
        QCOMPARE(words(driver.steps), QStringList{"wiht"});
        QCOMPARE(prompts.records().size(), 3);
        QVERIFY(prompts.records()[1].text.startsWith(
            QStringLiteral("The word is accepted for now, but the personal word list could not "
                           "be saved.\n")));
        QCOMPARE(prompts.records()[2].text, QStringLiteral("The spell check is complete."));
    }
};

QUILLET_TEST_MAIN(tst_Spell)
#include "tst_spell.moc"
