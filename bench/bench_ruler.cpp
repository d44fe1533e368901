// Dragging the ruler's markers and margins over a 10 MB document of formatted prose, the caret in
// the middle: the median and the worst time of one pointer move (the ruler, the guide line and
// what they uncover painted again), and the release that applies the paragraph's indents or lays
// the text out between the new margins. The target is under 5 ms per move.
#include "benchsupport.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "ruler/rulermarker.h"
#include "ruler/tanlruler.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QApplication>
#include <QMouseEvent>
#include <cstdio>
#include <vector>

using namespace BenchSupport;

namespace {

void send(QWidget *target, QEvent::Type type, int x) {
    const QPointF local(x, 3);
    QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// Presses `target`, moves the pointer 200 times between ruler x `from` and `to` (`at` gives the
// target's own x of a ruler x), each move followed by the repaint it causes, and releases.
void drag(const char *name, QWidget *target, const std::function<int(int)> &at, int from, int to) {
    send(target, QEvent::MouseButtonPress, at(from));
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        const int step = i % 40 < 20 ? i % 20 : 20 - i % 20;
        const int x = from + (to - from) * step / 20;
        times.push_back(timed([&] {
            send(target, QEvent::MouseMove, at(x));
            QApplication::processEvents();
        }));
    }
    const double release = timed([&] {
        send(target, QEvent::MouseButtonRelease, at(from));
        QApplication::processEvents();
    });
    std::printf("%-22s move median %7.3f ms  worst %7.3f ms  release %8.3f ms\n", name,
                median(times), *std::max_element(times.begin(), times.end()), release);
}

} // namespace

int main(int argc, char *argv[]) {
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    EditorServices services;
    TMainForm form(services.context(prompts));
    form.show();
    TRxRichEdit &memo = form.Memo();
    memo.SetText(prose(10 * 1024 * 1024));
    for (int i = 0; i < 2000; ++i) {
        memo.SelectRange(i * 5000, i * 5000 + 40, false);
        memo.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    }
    const int middle = memo.TextLength() / 2;
    memo.SelectRange(middle, middle, true);
    QApplication::processEvents();

    TanlRuler &ruler = form.ruler1();
    for (RulerMarker *marker : {ruler.FirstIndentMarker(), ruler.IndentBlock()}) {
        const int start = marker->x();
        drag(
            marker == ruler.IndentBlock() ? "indent block" : "first-line marker", marker,
            [marker](int x) { return x + 4 - marker->x(); }, start, start + 200);
    }
    // The ruler alone, without the guide line over the editing area.
    ruler.SetRichedit(nullptr);
    RulerMarker *first = ruler.FirstIndentMarker();
    drag(
        "marker, no guide line", first, [first](int x) { return x + 4 - first->x(); }, first->x(),
        first->x() + 200);
    ruler.SetRichedit(&memo);
    const int line = ruler.BorderLeft() + ruler.MarginLeft();
    drag(
        "left margin", &ruler, [](int x) { return x; }, line, line + 100);
    return 0;
}
