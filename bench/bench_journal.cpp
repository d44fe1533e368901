// Keystroke latency on a 10 MB document while its crash journal is written, against the same
// typing with journalling held off; in RTF and in text mode. The copy alone first: how long its
// slices hold the user-interface thread. Then a keystroke every 100 ms for 8 s, with journals
// due every 1.5 s (300 ms after a pause) so that several are copied and written while typing
// goes on: the handling of each keystroke, and the longest step of the event loop that held no
// keystroke (a slice of the copy, a paint). Prints milliseconds.
#include "benchsupport.h"
#include "editor/document/editormodes.h"
#include "editor/journal/documentjournal.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "journal/documentcopier.h"
#include "journal/journalwriter.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <cstdio>
#include <vector>

using namespace BenchSupport;

namespace {

constexpr int KeyIntervalMs = 100;
constexpr int RunSeconds = 8;

struct Run {
    std::vector<double> keystrokes; // handling of each keystroke
    double longestOther = 0;        // the longest event-loop step without a keystroke in it
    int journals = 0;
};

void key(TRxRichEdit &memo) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&memo, &press);
    QApplication::sendEvent(&memo, &release);
}

// Types for RunSeconds at `position` (-1: the end) while the event loop runs as usual.
Run typeFor(TMainForm &form, bool journalling, int position) {
    TRxRichEdit &memo = form.Memo();
    JournalWriter &writer = form.documentJournal().writer();
    constexpr int Never = 1 << 30;
    writer.setDelays(journalling ? 300 : Never, journalling ? 1500 : Never);
    const int at = position < 0 ? memo.TextLength() : position;
    memo.SelectRange(at, at, true);
    Run run;
    const QMetaObject::Connection counted =
        QObject::connect(&writer, &JournalWriter::written, [&run] { ++run.journals; });

    QElapsedTimer clock;
    clock.start();
    qint64 lastTurn = 0;
    bool keyInStep = false;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (!keyInStep)
            run.longestOther = std::max(run.longestOther, (now - lastTurn) / 1e6);
        keyInStep = false;
        lastTurn = now;
    });
    QTimer keys;
    keys.setInterval(KeyIntervalMs);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        run.keystrokes.push_back(timed([&] { key(memo); }));
        keyInStep = true;
    });
    QEventLoop loop;
    QTimer::singleShot(RunSeconds * 1000, &loop, &QEventLoop::quit);
    lastTurn = clock.nsecsElapsed();
    probe.start();
    keys.start();
    loop.exec();
    QObject::disconnect(counted);
    return run;
}

void report(const char *mode, const char *what, Run run) {
    std::sort(run.keystrokes.begin(), run.keystrokes.end());
    const auto over = std::count_if(run.keystrokes.begin(), run.keystrokes.end(),
                                    [](double ms) { return ms > 5; });
    std::printf("%s, %s: %zu keystrokes handled in median %.2f ms, max %.2f ms, %lld over 5 ms; "
                "longest other event-loop step %.2f ms; %d journals written\n",
                mode, what, run.keystrokes.size(), median(run.keystrokes), run.keystrokes.back(),
                static_cast<long long>(over), run.longestOther, run.journals);
}

// The copy alone: its wall time, its slices and the longest of them.
void copyAlone(QTextDocument &document, bool withFormats, const char *mode) {
    DocumentCopier copier(document);
    QElapsedTimer clock;
    clock.start();
    qint64 lastTurn = 0;
    double longest = 0;
    int turns = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, (now - lastTurn) / 1e6);
        lastTurn = now;
        ++turns;
    });
    QEventLoop loop;
    std::shared_ptr<const DocumentCopy> copy;
    lastTurn = clock.nsecsElapsed();
    probe.start();
    copier.start(withFormats, [&](std::shared_ptr<const DocumentCopy> done) {
        copy = std::move(done);
        loop.quit();
    });
    loop.exec();
    const double copied = clock.nsecsElapsed() / 1e6;
    std::unique_ptr<QTextDocument> rebuilt;
    const double rebuiltMs = timed([&] {
        if (withFormats)
            rebuilt = copy->toDocument();
    });
    const double serialized = timed([&] {
        const QByteArray bytes =
            withFormats ? rtfFromDocument(*rebuilt) : copy->plainText().toUtf8();
        Q_UNUSED(bytes);
    });
    std::printf("%s: copy of %lld paragraphs in %.0f ms: %d slices, the longest %.2f ms, over %d "
                "event-loop turns (the longest %.2f ms); then off the UI thread: document rebuilt "
                "in %.0f ms, journal content made in %.0f ms\n",
                mode, static_cast<long long>(copy->paragraphs.size()), copied, copier.slices(),
                copier.longestSlice(), turns, longest, rebuiltMs, serialized);
}

void waitForLayout(TRxRichEdit &memo) {
    const QTextBlock last = memo.document()->lastBlock();
    while (!last.layout() || last.layout()->lineCount() == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// One journal at rest: from the request to the file on disk.
void oneJournal(TMainForm &form, const char *mode) {
    JournalWriter &writer = form.documentJournal().writer();
    QEventLoop loop;
    QObject::connect(&writer, &JournalWriter::written, &loop, &QEventLoop::quit);
    const double ms = timed([&] {
        writer.writeNow();
        loop.exec();
    });
    std::printf("%s: one journal written in %.0f ms (copy in slices, then the worker), %.1f MB\n",
                mode, ms, QFileInfo(writer.path()).size() / 1048576.0);
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    EditorServices services;
    TMainForm form(services.context(prompts));
    form.show();
    TRxRichEdit &memo = form.Memo();
    memo.SetText(prose(10 << 20));
    memo.SelectRange(0, 3, false);
    memo.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    waitForLayout(memo);

    copyAlone(*memo.document(), true, "RTF");
    report("RTF, typing at the end", "journal off", typeFor(form, false, -1));
    report("RTF, typing at the end", "journalling", typeFor(form, true, -1));
    report("RTF, typing in the middle", "journal off", typeFor(form, false, memo.TextLength() / 2));
    report("RTF, typing in the middle", "journalling", typeFor(form, true, memo.TextLength() / 2));
    oneJournal(form, "RTF");

    form.modes().SetTextMode();
    memo.SetModified(true);
    waitForLayout(memo);
    copyAlone(*memo.document(), false, "text");
    report("text, typing at the end", "journal off", typeFor(form, false, -1));
    report("text, typing at the end", "journalling", typeFor(form, true, -1));
    oneJournal(form, "text");
    memo.SetModified(false);
    return 0;
}
