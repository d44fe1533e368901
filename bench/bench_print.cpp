// Printing to PDF as a user would in batch: whole "quillet-convert IN.rtf OUT.pdf" processes on
// generated formatted documents of 1 and 10 MB (bench_rtf's generator), timed from outside with
// their CPU time and peak memory, and the pages each produced.
//
//   bench_print            1 and 10 MB, three runs each, medians
//   bench_print MB...      other sizes

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMb = 0;
    bool ok = false;
};

// One child process, waited for with its resource use.
Run runProcess(const QByteArray &program, const QList<QByteArray> &arguments) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.constData()));
    for (const QByteArray &a : arguments)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(program.constData(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.wallMs = timer.nsecsElapsed() / 1e6;
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int pages(const QString &pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(60000))
        return -1;
    const QRegularExpression count(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    return count.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).toInt();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (const QString &arg : app.arguments().mid(1))
        sizes << arg.toInt();
    if (sizes.isEmpty())
        sizes = {1, 10};
    QTemporaryDir dir;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("%8s %8s %10s %10s %10s %12s\n", "size MB", "pages", "wall ms", "cpu ms", "peak MB",
                "cpu ms/page");
    for (int size : sizes) {
        const QString rtf = dir.filePath(QStringLiteral("doc%1.rtf").arg(size));
        const QString pdf = dir.filePath(QStringLiteral("doc%1.pdf").arg(size));
        if (!runProcess(QByteArray(QUILLET_BENCH_RTF),
                        {"--generate", QByteArray::number(size), rtf.toUtf8()})
                 .ok) {
            std::fprintf(stderr, "cannot generate %d MB\n", size);
            return 1;
        }
        std::vector<double> wall, cpu, peak;
        for (int i = 0; i < 3; ++i) {
            const Run run = runProcess(QByteArray(QUILLET_CONVERT), {rtf.toUtf8(), pdf.toUtf8()});
            if (!run.ok) {
                std::fprintf(stderr, "quillet-convert failed on %d MB\n", size);
                return 1;
            }
            wall.push_back(run.wallMs);
            cpu.push_back(run.cpuMs);
            peak.push_back(run.peakMb);
        }
        const int n = pages(pdf);
        std::printf("%8d %8d %10.0f %10.0f %10.1f %12.2f\n", size, n, median(wall), median(cpu),
                    median(peak), n > 0 ? median(cpu) / n : 0.0);
    }
    return 0;
}
