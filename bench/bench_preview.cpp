// The print preview over 1,000 pages: the formatting phase with compressed page files (each page
// recorded, saved, compressed and painted as it comes), then page turns (PgUp) through the
// stored pages, one window and compact. Prints wall and CPU milliseconds and the resident memory
// as the pages pile up, to show that it does not grow with their number.
//
//   bench_preview            1,000 pages
//   bench_preview PAGES      another count

#include "benchsupport.h"
#include "print/trichpreviewform.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/tarrowbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace BenchSupport;

namespace {

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double rssMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// One page as the print engine draws it: 55 lines of prose, a bold word on each, a header and
// a footer line, on Letter paper at 600 dots per inch.
void drawPage(QPainter &painter, int page, const QStringList &lines) {
    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    painter.drawText(600, 500, QStringLiteral("Header line of the benchmark document"));
    for (int i = 0; i < 55; ++i) {
        const int y = 700 + i * 100;
        painter.setFont(bold);
        painter.drawText(600, y, QString::number(page * 55 + i));
        painter.setFont(plain);
        painter.drawText(1000, y, lines.at((page * 55 + i) % lines.size()));
    }
    painter.drawText(600, 6300, QStringLiteral("Page %1").arg(page + 1));
}

struct Turns {
    double medianMs = 0;
    double maxMs = 0;
    double cpuMedianMs = 0;
};

Turns turnPages(TRichPreviewForm &form, int turns) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < turns && form.ArrowButton2->isEnabled(); ++i) {
        const double c = cpuMs();
        wall.push_back(timed([&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
            QApplication::sendEvent(&form, &key);
            form.repaint();
        }));
        cpu.push_back(cpuMs() - c);
    }
    Turns t;
    if (wall.empty())
        return t;
    t.medianMs = median(wall);
    t.maxMs = *std::max_element(wall.begin(), wall.end());
    t.cpuMedianMs = median(cpu);
    return t;
}

} // namespace

int main(int argc, char *argv[]) {
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    QStringList lines;
    const QString text = prose(55 * 90);
    for (int i = 0; i + 90 <= text.size(); i += 90)
        lines << text.mid(i, 90).simplified();

    QTemporaryDir work;
    ScriptedPrompts prompts;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    const QSize paper(5100, 6600);
    const double rssStart = rssMb();
    {
        TRichPreviewForm form(prompts, true, 6600.0 / 5100.0, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        form.show();
        form.paperKnown(paper, 215.9, 279.4, false);
        std::printf("preview of %d pages, compressed page files\n", pages);
        std::printf("  rss before formatting: %.1f MB\n", rssStart);

        QElapsedTimer timer;
        timer.start();
        const double cpu0 = cpuMs();
        for (int p = 0; p < pages; ++p) {
            QPainter *painter = form.startPage(paper, &printer, QFont(QStringLiteral("Arial"), 11));
            drawPage(*painter, p, lines);
            form.finishPage();
            form.repaint();
            if ((p + 1) % (pages >= 10 ? pages / 10 : 1) == 0)
                std::printf("  after %4d pages: %7.0f ms wall, %7.0f ms cpu, rss %.1f MB\n", p + 1,
                            timer.nsecsElapsed() / 1e6, cpuMs() - cpu0, rssMb());
        }
        const double formatWall = timer.nsecsElapsed() / 1e6;
        const double formatCpu = cpuMs() - cpu0;
        std::printf("formatting: %.0f ms wall, %.0f ms cpu (%.2f ms wall per page)\n", formatWall,
                    formatCpu, formatWall / pages);

        const double enter = timed([&] {
            form.enterBrowsing();
            form.repaint();
        });
        std::printf("entering browsing: %.1f ms\n", enter);
        const Turns one = turnPages(form, 200);
        std::printf("page turn, %s: median %.1f ms wall (%.1f ms cpu), max %.1f ms\n",
                    form.companion() ? "two windows" : "one window", one.medianMs, one.cpuMedianMs,
                    one.maxMs);
        const double end = timed([&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
            QApplication::sendEvent(&form, &key);
            form.repaint();
        });
        std::printf("End: %.1f ms\n", end);
        form.CompactBox->setChecked(true);
        const Turns compact = turnPages(form, 100);
        std::printf("page turn, compact: median %.1f ms wall (%.1f ms cpu), max %.1f ms\n",
                    compact.medianMs, compact.cpuMedianMs, compact.maxMs);
        std::printf("  rss after browsing: %.1f MB\n", rssMb());
        const double closed = timed([&] { form.close(); });
        std::printf("closing (deleting the page files): %.0f ms\n", closed);
    }
    return 0;
}
