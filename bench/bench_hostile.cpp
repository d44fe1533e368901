// Hostile documents: HTML pages of deeply nested tables in the viewer, and RTFs of one million
// empty or formatted paragraphs in a shown editing area (the load, the focus coming back with
// the first character selected, and the longest wait of the event loop while the rest is laid
// out). Prints milliseconds.
#include "benchsupport.h"
#include "editor/htmlview/htmlview.h"
#include "richtext/rxdocumentlayout.h"
#include "richtext/rxrichedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

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

// As the editor window does: load, select the first character, show, take the focus; then the
// longest wait of the event loop while the rest is laid out, with the whole text selected
// halfway through, and the time until the layout is done.
void hugeRtf(const QString &path, int paragraphs, const char *kind) {
    TRxRichEdit memo;
    memo.resize(800, 600);
    const auto report = [&](const char *what, double ms) {
        std::printf("%d %s paragraphs: %s %10.1f ms\n", paragraphs, kind, what, ms);
    };
    report("load", BenchSupport::timed([&] { memo.Lines().LoadFromFile(path); }));
    QElapsedTimer sinceLoad;
    sinceLoad.start();
    report("first character selected", BenchSupport::timed([&] { memo.SelectRange(0, 1, true); }));
    report("show", BenchSupport::timed([&] {
               memo.show();
               QApplication::processEvents();
           }));
    report("focus in", BenchSupport::timed([&] {
               memo.activateWindow();
               memo.setFocus();
               QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
               QApplication::sendEvent(&memo, &in);
           }));
    report("longest event loop stall in 1 s", longestStall(1000));
    report("select all", BenchSupport::timed([&] { memo.SelectAll(); }));
    report("longest event loop stall in 2 s", longestStall(2000));
    auto *layout = static_cast<TRxDocumentLayout *>(memo.document()->documentLayout());
    while (!layout->LayoutFinished() && sinceLoad.elapsed() < 300000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    report("laid out (in the background) after", sinceLoad.elapsed());
}

// An RTF table of `rows` rows of `columns` cells, each row with its own cell borders.
QByteArray tableRtf(int rows, int columns) {
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 ";
    QByteArray row = "\\trowd";
    for (int c = 1; c <= columns; ++c)
        row += "\\cellx" + QByteArray::number(c * 100);
    for (int r = 0; r < rows; ++r) {
        rtf += row;
        for (int c = 0; c < columns; ++c)
            rtf += "\\intbl " + QByteArray::number(c) + "\\cell";
        rtf += "\\row\n";
    }
    return rtf + "}";
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;

    // Arguments: paragraphs of the RTF (1000000), deepest page tried (5000), and "load" to time
    // only the loading of the huge RTFs (no table, nothing shown).
    const bool loadOnly = argc > 3 && std::strcmp(argv[3], "load") == 0;
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
    QByteArray empty = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 ";
    QByteArray formatted = empty;
    for (int i = 0; i < paragraphs; ++i) {
        empty += "\\par\n";
        formatted += "\\b Bold\\b0  \\i it\\i0  text\\par\n";
    }
    empty += "}";
    formatted += "}";
    if (loadOnly) {
        for (const auto &[name, bytes] : {std::pair{"empty", empty}, {"formatted", formatted}}) {
            const QString path = writeFile(dir, QStringLiteral("huge.rtf"), bytes);
            TRxRichEdit memo;
            memo.resize(800, 600);
            std::printf("%d %s paragraphs: load %10.1f ms\n", paragraphs, name,
                        BenchSupport::timed([&] { memo.Lines().LoadFromFile(path); }));
        }
        return 0;
    }
    {
        const QString path = writeFile(dir, QStringLiteral("table.rtf"), tableRtf(200, 1000));
        TRxRichEdit memo;
        memo.resize(800, 600);
        std::printf("table of 200 rows of 1000 cells: load %10.1f ms\n",
                    BenchSupport::timed([&] { memo.Lines().LoadFromFile(path); }));
        std::printf("table of 200 rows of 1000 cells: show %10.1f ms\n", BenchSupport::timed([&] {
                        memo.SelectRange(0, 1, true);
                        memo.show();
                        QApplication::processEvents();
                    }));
        std::printf("table of 200 rows of 1000 cells: longest event loop stall in 2 s %10.1f ms\n",
                    longestStall(2000));
    }
    if (paragraphs == 0)
        return 0;
    hugeRtf(writeFile(dir, QStringLiteral("empty.rtf"), empty), paragraphs, "empty");
    hugeRtf(writeFile(dir, QStringLiteral("formatted.rtf"), formatted), paragraphs, "formatted");
    return 0;
}
