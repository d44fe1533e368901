// Speed of the text viewer: how long the viewer takes from process start to its first paint of a
// 60 KB text file, beside the editor's start on the same file, and how long opening such a file
// takes once the Open dialog has closed. Prints medians; run by hand.

#include "platform/recordingshell.h"
#include "platform/scriptedprompts.h"
#include "viewer/textviewform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
    const int runs = 31;

    const std::vector<double> open = openAfterDialog(file, runs);
    std::printf("Open of a 60 KB text file after the dialog closed: median %.2f ms "
                "(min %.2f, max %.2f, %d runs; target < 20 ms)\n",
                median(open), *std::min_element(open.begin(), open.end()),
                *std::max_element(open.begin(), open.end()), runs);
    return 0;
}
