// Keystroke latency on a 10 MB document while its crash journal is written, against the same
// typing with journalling held off; in RTF and in text mode. Keystrokes come every 50 ms in the
// middle of the document; journals are forced every 1.5 s (300 ms after a pause) so that several
// are copied and written while typing goes on. Latency counts how late the keystroke was handled
// after it was due plus the handling itself. Prints milliseconds.
#include "benchsupport.h"
#include "editor/document/editormodes.h"
#include "editor/journal/documentjournal.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "journal/journalwriter.h"
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

constexpr int KeyIntervalMs = 50;
constexpr int RunSeconds = 12;

struct Run {
    std::vector<double> latencies;
    double longestStep = 0; // the longest the event loop went without turning
    int journals = 0;
};

void key(TRxRichEdit &memo) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&memo, &press);
    QApplication::sendEvent(&memo, &release);
}

Run typeFor(TMainForm &form, bool journalling) {
    TRxRichEdit &memo = form.Memo();
    JournalWriter &writer = form.documentJournal().writer();
    constexpr int Never = 1 << 30;
    writer.setDelays(journalling ? 300 : Never, journalling ? 1500 : Never);
    memo.SelectRange(memo.TextLength() / 2, memo.TextLength() / 2, true);
    Run run;
    const QMetaObject::Connection counted =
        QObject::connect(&writer, &JournalWriter::written, [&run] { ++run.journals; });

    QElapsedTimer clock;
    clock.start();
    qint64 lastTurn = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        run.longestStep = std::max(run.longestStep, (now - lastTurn) / 1e6);
        lastTurn = now;
    });
    qint64 due = qint64(KeyIntervalMs) * 1000000;
    QTimer keys;
    keys.setTimerType(Qt::PreciseTimer);
    keys.setInterval(1);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (clock.nsecsElapsed() < due)
            return;
        key(memo);
        run.latencies.push_back((clock.nsecsElapsed() - due) / 1e6);
        due += qint64(KeyIntervalMs) * 1000000;
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
    std::sort(run.latencies.begin(), run.latencies.end());
    const double p99 = run.latencies[size_t(run.latencies.size() * 0.99)];
    std::printf("%s, %s: %zu keystrokes, latency median %.2f ms, p99 %.2f ms, max %.2f ms; "
                "longest event-loop step %.2f ms; %d journals written\n",
                mode, what, run.latencies.size(), median(run.latencies), p99, run.latencies.back(),
                run.longestStep, run.journals);
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

    report("RTF", "journal off", typeFor(form, false));
    report("RTF", "journalling", typeFor(form, true));
    oneJournal(form, "RTF");

    form.modes().SetTextMode();
    memo.SetModified(true);
    waitForLayout(memo);
    report("text", "journal off", typeFor(form, false));
    report("text", "journalling", typeFor(form, true));
    oneJournal(form, "text");
    memo.SetModified(false);
    return 0;
}
