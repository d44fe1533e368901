// The selection tracker on a 10 MB document of formatted prose: MemoSelectionChange after a caret
// move near the start, in the middle and at the end, in RTF mode and in text mode, with word
// wrap off and on. Prints the median and the worst of 200 moves in milliseconds; the target is
// under 5 ms per move.
#include "benchsupport.h"
#include "editor/format/selectiontracker.h"
#include "editor/frame/editoractions.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace BenchSupport;

namespace {

// Caret moves around `centre` (one character each, as arrow keys do), each followed by the
// tracker; answers the median and the worst time of the tracker alone.
std::pair<double, double> moves(TMainForm &form, int centre) {
    TRxRichEdit &memo = form.Memo();
    TSelectionTracker &tracker = form.selectionTracker();
    // The control runs the tracker itself on every move; measure it apart from the move.
    QObject::disconnect(&memo, &TRxRichEdit::OnSelectionChange, &tracker, nullptr);
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        const int position = centre + (i % 20) - 10;
        memo.SelectRange(position, position, true);
        QElapsedTimer timer;
        timer.start();
        tracker.MemoSelectionChange();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    QObject::connect(&memo, &TRxRichEdit::OnSelectionChange, &tracker,
                     &TSelectionTracker::MemoSelectionChange);
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void report(TMainForm &form, const char *setting) {
    const int length = form.Memo().TextLength();
    for (const auto &[name, position] : {std::pair{"start", 100}, std::pair{"middle", length / 2},
                                         std::pair{"end", length - 100}}) {
        const auto [median, worst] = moves(form, position);
        std::printf("%-22s %-7s median %7.3f ms  worst %7.3f ms\n", setting, name, median, worst);
    }
}

} // namespace

int main(int argc, char *argv[]) {
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    EditorServices services;
    TMainForm form(services.context(prompts));
    form.show();
    form.Memo().SetText(prose(10 * 1024 * 1024));
    // Some formatting, so that runs of characters differ.
    for (int i = 0; i < 2000; ++i) {
        form.Memo().SelectRange(i * 5000, i * 5000 + 40, false);
        form.Memo().SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    }
    QApplication::processEvents();
    report(form, "RTF, no wrap");
    form.actions().MenuPlainText->trigger();
    report(form, "text, no wrap");
    form.actions().WWAction->trigger();
    QApplication::processEvents();
    report(form, "text, word wrap");
    return 0;
}
