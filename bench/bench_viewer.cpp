// Speed of the text viewer: how long the viewer takes from process start to its first paint of a
// 60 KB text file, beside the editor's start on the same file, and how long opening such a file
// takes once the Open dialog has closed. Prints medians; run by hand: bench_viewer [runs]

#include "benchsupport.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"
#include "scriptedprompts.h"
#include "viewer/textviewform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace BenchSupport;

namespace {

// About 60 KB of ordinary prose lines.
QByteArray sixtyKilobytes() {
    QByteArray bytes;
    int line = 0;
    while (bytes.size() < 60 * 1024)
        bytes += QByteArray("Line ") + QByteArray::number(++line) +
                 " of a plain text file that the viewer shows quickly.\n";
    return bytes.left(60 * 1024);
}

QString writeFixture(const QTemporaryDir &dir) {
    const QString path = dir.filePath(QStringLiteral("sixty.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sixtyKilobytes()) != 60 * 1024)
        qFatal("cannot write the 60 KB fixture");
    return path;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The time stamp of the program's first-paint trace line.
std::optional<long long> firstPaintNs(const QByteArray &stderrText) {
    const QByteArray prefix = "quillet-startup: first-paint ";
    for (const QByteArray &line : stderrText.split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).split(' ').value(0).toLongLong();
    }
    return std::nullopt;
}

// Milliseconds from starting a process of the program on the file to its first paint. With
// "NoTV" stored as false the start-up chooses the viewer, otherwise the editor; the splash window
// is off in both, so only the windows are compared.
std::vector<double> startToFirstPaint(const QString &file, bool viewer, int runs) {
    SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
    const QString key = QStringLiteral("Software\\Fernlake\\Quillet");
    store.writeBool(key, QStringLiteral("NoTV"), !viewer);
    store.writeBool(key, QStringLiteral("NoSplash"), true);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLET_QUIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUILLET_STARTUP_TRACE"), QStringLiteral("1"));
    const QString window =
        viewer ? QStringLiteral("window=viewer") : QStringLiteral("window=editor");
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setProcessEnvironment(env);
        const long long start = nowNs();
        process.start(QStringLiteral(QUILLET_EXECUTABLE), {file});
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            qFatal("the program did not start and quit cleanly");
        const QByteArray err = process.readAllStandardError();
        if (!err.contains(window.toLatin1()))
            qFatal("the start-up chose the other window:\n%s", err.constData());
        const std::optional<long long> painted = firstPaintNs(err);
        if (!painted)
            qFatal("no first-paint trace from the program");
        times.push_back(double(*painted - start) / 1e6);
    }
    return times;
}

void printLine(const char *what, const std::vector<double> &times, const char *target) {
    std::printf("%-52s median %7.2f ms (min %.2f, max %.2f, %zu runs%s)\n", what, median(times),
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size(), target);
}

std::vector<double> openAfterDialog(const QString &file, int runs) {
    ScriptedPrompts prompts;
    RecordingShell shell;
    TTextViewForm form(prompts, shell);
    form.show();
    QCoreApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        form.NewMenuClick();
        QCoreApplication::processEvents();
        prompts.answerOpen({file});
        QElapsedTimer timer;
        timer.start();
        form.Open1Click();
        form.memo()->viewport()->repaint();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (form.memoText().size() != 60 * 1024)
            qFatal("the file did not open");
    }
    return times;
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir home;
    for (const char *sub : {"config", "data", "runtime"})
        QDir(home.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString file = writeFixture(home);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 31;

    std::printf("60 KB text file, %s platform\n", qPrintable(QGuiApplication::platformName()));
    printLine("viewer: process start to first paint", startToFirstPaint(file, true, runs),
              "; target < 150 ms");
    printLine("editor: process start to first paint", startToFirstPaint(file, false, runs), "");
    printLine("viewer: Open after the dialog closed, to repaint", openAfterDialog(file, runs),
              "; target < 20 ms");
    return 0;
}
