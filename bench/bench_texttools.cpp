// The text tools on large documents: Word Count, Replace All of a word occurring 10,000 times,
// Letter Style and scrambling over 1 MB in a real editing area, and the spell check of a
// 10,000-word document reaching its first unknown word (placed at the very end), with the
// dictionary loaded by the check itself and with it already loaded. Prints milliseconds.
#include "crypt/cryptpswdu.h"
#include "editor/texttools/spellchecker.h"
#include "editor/texttools/spellpersonalwords.h"
#include "editor/texttools/spellsession.h"
#include "editor/texttools/texttools.h"
#include "editor/texttools/texttoolscommands.h"
#include "editor/texttools/texttoolsrichedit.h"
#include "editor/texttools/texttoolstarget.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

double bestOfFive(const std::function<void()> &work) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

const char *const kWords[] = {"the",   "quick",  "brown",   "fox",    "jumps",   "over",
                              "lazy",  "dog",    "and",     "runs",   "away",    "again",
                              "while", "other",  "animals", "watch",  "quietly", "nearby",
                              "don't", "houses", "e-mail",  "people", "write",   "letters"};

QString prose(int words) {
    QRandomGenerator rng(1);
    QString s;
    for (int i = 0; i < words; ++i) {
        s += QLatin1String(kWords[rng.bounded(int(std::size(kWords)))]);
        s += rng.bounded(15) == 0 ? QStringLiteral(".\r\n") : QStringLiteral(" ");
    }
    return s;
}

// A read-only editing area over a string: all the spell check's search needs.
class TextOnly : public TextToolsTarget {
public:
    explicit TextOnly(QString text)
        : m_text(std::move(text)) {}
    QString text() const override { return m_text; }
    int selStart() const override { return 0; }
    int selLength() const override { return 0; }
    QString selText() const override { return {}; }
    void setSelText(const QString &) override {}
    void selectRange(int, int, bool) override {}
    int selSize() const override { return 10; }
    bool selSizeUniform() const override { return true; }
    void setSelSize(int) override {}
    void beginUpdate() override {}
    void endUpdate() override {}
    void setModified(bool) override {}
    bool findNext(const QString &, bool, bool, bool) override { return false; }
    bool replaceNext(const QString &, const QString &, bool, bool) override { return false; }
    int replaceAll(const QString &, const QString &, bool, bool) override { return 0; }
    QPoint screenPointAt(int) const override { return {}; }

private:
    QString m_text;
};

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QString mb = prose(200000);
    mb.truncate(1 << 20);
    int count = 0;
    const double wc = bestOfFive([&] { count = WordCount(mb); });
    std::printf("Word Count, 1 MB (%d words): %.2f ms (target < 50 ms)\n", count, wc);

    {
        // A 1 MB document of short paragraphs with "needle" 10,000 times among its words.
        QString haystack;
        QRandomGenerator rng(5);
        for (int i = 0; haystack.size() < (1 << 20) - 16; ++i) {
            haystack += i % 16 == 0 && i / 16 < 10000
                            ? QStringLiteral("needle ")
                            : QLatin1String(kWords[rng.bounded(int(std::size(kWords)))]) +
                                  (i % 15 == 14 ? QLatin1String(".\r\n") : QLatin1String(" "));
        }
        TRxRichEdit memo;
        TextToolsRichEdit target(memo);
        ScriptedPrompts prompts;
        TextToolsCommands commands(target, prompts, nullptr);
        memo.SetText(haystack);
        memo.SelectRange(0, 0, false);
        QElapsedTimer timer;
        timer.start();
        const int replaced =
            target.replaceAll(QStringLiteral("needle"), QStringLiteral("pin"), false, true);
        std::printf("Replace All, 1 MB, %d replacements: %.1f ms (target < 1000 ms)\n", replaced,
                    timer.nsecsElapsed() / 1e6);

        // Letter Style over a 1 MB document whose sentences begin with capitals.
        QString capitals = mb;
        for (qsizetype i = 0; i + 1 < capitals.size(); ++i) {
            if (capitals[i] == u'\n')
                capitals[i + 1] = capitals[i + 1].toUpper();
        }
        memo.SetText(capitals);
        const int runs = int(CapitalRuns(capitals).size());
        timer.restart();
        commands.LetterStyle(true, QStringLiteral("10"));
        const double on = timer.nsecsElapsed() / 1e6;
        timer.restart();
        commands.LetterStyle(false, QStringLiteral("10"));
        std::printf("Letter Style, 1 MB, %d runs of capitals: on %.1f ms, off %.1f ms "
                    "(target < 2000 ms)\n",
                    runs, on, timer.nsecsElapsed() / 1e6);

        // Scrambling the whole area: reading it, scrambling, and setting it back.
        memo.SetText(mb);
        timer.restart();
        target.setPlainText(EncryptText(target.plainText(), QStringLiteral("secret")));
        const double enc = timer.nsecsElapsed() / 1e6;
        timer.restart();
        const std::optional<QString> back =
            DecryptText(target.plainText(), QStringLiteral("secret"));
        if (back)
            target.setPlainText(*back);
        std::printf("Encrypt and Decrypt in the area, 1 MB: %.1f ms and %.1f ms%s\n", enc,
                    timer.nsecsElapsed() / 1e6, back == mb ? "" : "  ROUND TRIP FAILED");
    }

    const QList<SpellDictionary> dictionaries = FindSpellDictionaries(DefaultDictionaryFolders());
    const int chosen = ChooseSpellDictionary(dictionaries, QStringLiteral("en_US"));
    if (chosen < 0) {
        std::printf("Spell check: no dictionary installed, skipped\n");
        return 0;
    }
    TextOnly memo(prose(10000) + QStringLiteral("misspeled"));
    SpellPersonalWords personal(home.filePath(QStringLiteral("words.txt")));
    QElapsedTimer timer;
    timer.start();
    SpellChecker checker(dictionaries[chosen]);
    const double load = timer.nsecsElapsed() / 1e6;
    SpellSession first(memo, checker, personal);
    const bool found = first.findNext();
    const double cold = timer.nsecsElapsed() / 1e6;
    std::printf("Spell check, 10,000 words, first unknown word at the end (%s, \"%s\"): "
                "%.1f ms with loading the dictionary (%.1f ms of it), target < 200 ms\n",
                qPrintable(dictionaries[chosen].name), found ? qPrintable(first.word()) : "none",
                cold, load);
    const double warm = bestOfFive([&] {
        SpellChecker again(dictionaries[chosen]);
        SpellSession session(memo, again, personal);
        session.findNext();
    });
    const double loaded = bestOfFive([&] {
        SpellSession session(memo, checker, personal);
        session.findNext();
    });
    std::printf("  best of five: %.1f ms with a fresh dictionary, %.1f ms with it loaded\n", warm,
                loaded);
    return 0;
}
