// The text tools on large documents: Word Count over 1 MB, and the spell check of a
// 10,000-word document reaching its first unknown word (placed at the very end), with the
// dictionary loaded by the check itself and with it already loaded. Prints milliseconds.
#include "editor/spellchecker.h"
#include "editor/spellpersonalwords.h"
#include "editor/spellsession.h"
#include "editor/texttools.h"
#include "editor/texttoolstarget.h"

#include <QCoreApplication>
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
    QCoreApplication app(argc, argv);

    QString mb = prose(200000);
    mb.truncate(1 << 20);
    int count = 0;
    const double wc = bestOfFive([&] { count = WordCount(mb); });
    std::printf("Word Count, 1 MB (%d words): %.2f ms (target < 50 ms)\n", count, wc);

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
