// Hostile documents: HTML pages of deeply nested tables in the viewer, and an RTF of one million
// empty paragraphs in a shown editing area (the load, the focus coming back with the first
// character selected, and the longest wait of the event loop while the rest is laid out).
// Prints milliseconds.
#include "benchsupport.h"
#include "editor/htmlview/htmlview.h"
#include "richtext/rxrichedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

QByteArray nestedPage(int depth) {
    QByteArray page = "<html><body>";
    for (int i = 0; i < depth; ++i)
        page += "<div><table><tr><td>";
    page += "x";
    for (int i = 0; i < depth; ++i)
        page += "</td></tr></table></div>";
    return page + "</body></html>";
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// The longest time the event loop stays away while `ms` milliseconds pass.
double longestStall(int ms) {
    QElapsedTimer clock;
    clock.start();
    double longest = 0;
    QElapsedTimer gap;
    gap.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, gap.nsecsElapsed() / 1e6);
        gap.restart();
    });
    tick.start(5);
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return longest;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;

    // Arguments: paragraphs of the RTF (1000000), deepest page tried (5000).
    const int deepest = argc > 2 ? std::atoi(argv[2]) : 5000;
    for (int depth : {8, 10, 12, 15, 18, 2000, 5000}) {
        if (depth > deepest)
            break;
        const QString path = writeFile(dir, QStringLiteral("nest.html"), nestedPage(depth));
        HtmlView view;
        view.resize(800, 600);
        view.show();
        const double ms = BenchSupport::timed([&] {
            view.loadPage(path);
            view.document()->documentLayout()->documentSize();
            QApplication::processEvents();
        });
        std::printf("nested page, %5d levels: load and lay out %10.1f ms\n", depth, ms);
    }

    const int paragraphs = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 ";
    for (int i = 0; i < paragraphs; ++i)
        rtf += "\\par\n";
    rtf += "}";
    const QString rtfPath = writeFile(dir, QStringLiteral("empty.rtf"), rtf);
    // As the editor window does: load, select the first character, show, take the focus.
    TRxRichEdit memo;
    memo.resize(800, 600);
    std::printf("%d empty paragraphs: load %10.1f ms\n", paragraphs,
                BenchSupport::timed([&] { memo.Lines().LoadFromFile(rtfPath); }));
    std::printf("%d empty paragraphs: first character selected %10.1f ms\n", paragraphs,
                BenchSupport::timed([&] { memo.SelectRange(0, 1, true); }));
    std::printf("%d empty paragraphs: show %10.1f ms\n", paragraphs, BenchSupport::timed([&] {
                    memo.show();
                    QApplication::processEvents();
                }));
    std::printf("%d empty paragraphs: focus in %10.1f ms\n", paragraphs, BenchSupport::timed([&] {
                    memo.activateWindow();
                    memo.setFocus();
                    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
                    QApplication::sendEvent(&memo, &in);
                }));
    std::printf("%d empty paragraphs: longest event loop stall in 5 s %10.1f ms\n", paragraphs,
                longestStall(5000));
    return 0;
}
