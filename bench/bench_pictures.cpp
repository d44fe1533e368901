// Stepping with Next through a folder of 4000 x 3000 JPEG photos in the editor window: each step
// is the Next command (the loader decodes and fits the picture in the viewer, the file list's
// highlight moves) and the viewer's paint. Prints the time per picture shown (target < 150 ms).
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/htmlview/htmlview.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "recordingshell.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// Something with the detail of a photo, so the file is as large as a camera's (a few MB).
QImage photo(int seed) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator rng{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(rng.bounded(48));
            line[x] = qRgb((x / 16 + noise + seed * 40) & 0xFF, (y / 12 + noise) & 0xFF,
                           ((x + y) / 24 + noise) & 0xFF);
        }
    }
    return image;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int count = 8;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        photo(i).save(path, "jpg", 92);
        bytes += QFileInfo(path).size();
    }
    std::printf("%d photos of 4000 x 3000, %.1f MB each on average\n", count,
                double(bytes) / count / (1024 * 1024));

    QTemporaryDir program; // the term file goes here, not beside the benchmark
    ScriptedPrompts prompts;
    EditorServices services;
    MainFormContext context = services.context(prompts);
    context.programFolder = program.path();
    TMainForm window(context);
    window.resize(1200, 800);
    window.show();
    window.fileCommands().OpenFile(dir.filePath(QStringLiteral("photo0.jpg")));
    HtmlView &view = window.htmlLite1();

    QList<double> times;
    QList<double> cpuTimes; // the machine may be shared: the process's own time shows the cost
    for (int step = 0; step < 3 * count; ++step) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        window.actions().Next->trigger();
        view.viewport()->repaint();
        times << timer.nsecsElapsed() / 1e6;
        cpuTimes << double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    if (view.shownFile() != dir.filePath(QStringLiteral("photo0.jpg")))
        std::printf("Next did not come round to the first photo: %s\n",
                    qPrintable(view.shownFile()));
    std::printf("Next through the photos: median %.1f ms, worst %.1f ms per picture shown "
                "(target < 150 ms); processor time median %.1f ms, worst %.1f ms; shown at "
                "%dx%d\n",
                times[times.size() / 2], times.last(), cpuTimes[cpuTimes.size() / 2],
                cpuTimes.last(), view.shownPictureSize().width(), view.shownPictureSize().height());
    return 0;
}
