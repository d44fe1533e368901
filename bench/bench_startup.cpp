// Speed of the start-up: from the moment a process of the program is started to its decision
// between editor and viewer, and to the first paint of the editor window, with the splash window
// disabled. Starts the real program again and again (headless) and prints medians; run by hand:
//   bench_startup [runs]
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace BenchSupport;

namespace {

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The time stamp of a trace event in the program's stderr.
std::optional<long long> traced(const QByteArray &stderrText, const QByteArray &event) {
    for (const QByteArray &line : stderrText.split('\n')) {
        const QByteArray prefix = "quillet-startup: " + event + ' ';
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).split(' ').value(0).toLongLong();
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 30;

    QTemporaryDir home;
    for (const char *sub : {"config/quillet", "data", "runtime"})
        QDir(home.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile store(home.filePath(QStringLiteral("config/quillet/user.reg")));
    if (!store.open(QIODevice::WriteOnly) ||
        store.write("Quillet Vado settings store 1\n[Software\\Fernlake\\Quillet]\n"
                    "\"NOSplash\"=dword:00000001\n\"NoTV\"=dword:00000000\n"
                    // The window reads its flags only from a store that has its bounds, and
                    // writes them back at close: without these, the first run would turn the
                    // splash (and its deliberate pause) back on for every later run.
                    "\"Top\"=dword:00000064\n\"Left\"=dword:00000064\n"
                    "\"Width\"=dword:0000033d\n\"Height\"=dword:000001ee\n") <= 0)
        qFatal("cannot write the settings store");
    store.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUILLET_QUIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUILLET_STARTUP_TRACE"), QStringLiteral("1"));

    std::vector<double> toMain;
    std::vector<double> decision;
    std::vector<double> firstPaint;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setProcessEnvironment(env);
        const long long start = nowNs();
        process.start(QStringLiteral(QUILLET_EXECUTABLE), {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            qFatal("the program did not start and quit cleanly");
        const QByteArray err = process.readAllStandardError();
        const auto entered = traced(err, "main");
        const auto decided = traced(err, "decision");
        const auto painted = traced(err, "first-paint");
        if (!entered || !decided || !painted)
            qFatal("no start-up trace from the program");
        toMain.push_back(double(*entered - start) / 1e6);
        decision.push_back(double(*decided - start) / 1e6);
        firstPaint.push_back(double(*painted - start) / 1e6);
    }
    std::printf("start-up of the editor, splash disabled, %d runs (%s)\n", runs,
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"))));
    std::printf("  process start to main (loader): median %7.2f ms  (min %.2f, max %.2f)\n",
                median(toMain), *std::min_element(toMain.begin(), toMain.end()),
                *std::max_element(toMain.begin(), toMain.end()));
    std::printf("  process start to decision:      median %7.2f ms  (min %.2f, max %.2f)\n",
                median(decision), *std::min_element(decision.begin(), decision.end()),
                *std::max_element(decision.begin(), decision.end()));
    std::printf("  process start to first paint:   median %7.2f ms  (min %.2f, max %.2f)\n",
                median(firstPaint), *std::min_element(firstPaint.begin(), firstPaint.end()),
                *std::max_element(firstPaint.begin(), firstPaint.end()));
    return 0;
}
