// The file commands on large files: opening a 10 MB plain text file in text mode and a 10 MB RTF
// file in RTF mode through the loader, saving each, and a keystroke handled right after each.
// Prints milliseconds, the best of three runs, as wall-clock time and as the process's processor
// time (which a machine shared with other work inflates less). The keystroke goes where the caret
// is after the open (the start) and, after the save, to the end of the text.
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "recordingshell.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

constexpr qsizetype TenMegabytes = 10 * 1024 * 1024;

struct Time {
    double wall = 1e9;
    double cpu = 1e9;
    void keepBest(const Time &other) {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

Time timed(const std::function<void()> &work) {
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    work();
    return {timer.nsecsElapsed() / 1e6, double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC};
}

const char *const Words[] = {"the",  "quick", "brown", "fox",  "jumps", "over",
                             "lazy", "dog",   "and",   "runs", "away",  "again"};

QByteArray plainText(qsizetype size) {
    QRandomGenerator rng(7);
    QByteArray s;
    s.reserve(size + 16);
    while (s.size() < size) {
        s += Words[rng.bounded(12)];
        s += rng.bounded(14) == 0 ? "\n" : " ";
    }
    s.truncate(size);
    return s;
}

// Paragraphs of prose with a bold or italic word now and then, as a word processor writes them.
QByteArray rtfText(qsizetype size) {
    QRandomGenerator rng(11);
    QByteArray s =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
        "{\\f1\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;}"
        "\\pard\\f0\\fs24 ";
    s.reserve(size + 64);
    while (s.size() < size) {
        const int pick = rng.bounded(40);
        if (pick == 0)
            s += "{\\b ";
        else if (pick == 1)
            s += "{\\i\\cf2 ";
        s += Words[rng.bounded(12)];
        if (pick <= 1)
            s += "}";
        s += rng.bounded(16) == 0 ? "\\par\n" : " ";
    }
    s += "\\par}";
    return s;
}

Time keystroke(TRxRichEdit &memo, bool atEnd) {
    if (atEnd)
        memo.SelectRange(memo.TextLength(), memo.TextLength(), true);
    return timed([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&memo, &press);
        QApplication::sendEvent(&memo, &release);
        memo.repaint();
    });
}

struct Result {
    Time open, keyAfterOpen, save, keyAfterSave;
};

void runOnce(const QString &file, Result &best) {
    ScriptedPrompts prompts;
    EditorServices services;
    TMainForm form(services.context(prompts));
    form.show();
    form.grab();
    const Time open = timed([&] {
        form.fileCommands().OpenFile(file);
        form.grab();
    });
    const Time keyAfterOpen = keystroke(form.Memo(), false);
    const Time save = timed([&] { form.actions().SaveAction->trigger(); });
    const Time keyAfterSave = keystroke(form.Memo(), true);
    if (prompts.unexpectedCount() != 0)
        std::fprintf(stderr, "unexpected question while saving %s\n", qPrintable(file));
    form.Memo().SetModified(false);
    best.open.keepBest(open);
    best.keyAfterOpen.keepBest(keyAfterOpen);
    best.save.keepBest(save);
    best.keyAfterSave.keepBest(keyAfterSave);
}

void print(const char *what, const Time &time) {
    std::printf("  %-22s %9.1f ms wall %9.1f ms cpu\n", what, time.wall, time.cpu);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("large.txt"));
    const QString rtf = dir.filePath(QStringLiteral("large.rtf"));
    writeFile(text, plainText(TenMegabytes));
    writeFile(rtf, rtfText(TenMegabytes));

    for (const QString &file : {text, rtf}) {
        Result best;
        for (int run = 0; run < 3; ++run)
            runOnce(file, best);
        std::printf("%s\n", qPrintable(QFileInfo(file).fileName()));
        print("open", best.open);
        print("keystroke after open", best.keyAfterOpen);
        print("save", best.save);
        print("keystroke after save", best.keyAfterSave);
    }
    return 0;
}
