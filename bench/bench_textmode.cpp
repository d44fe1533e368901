// Large text files in text mode: one million short lines ("ab" LF), five million bare LF and five
// million bare CR line ends. Starts the real editor (headless, splash off) with each file on its
// command line and measures process start to the window's first paint, CPU time and peak
// resident memory, against the editor started without a file; then the converter on the same
// files, to plain text and to RTF. Run by hand:
//   bench_textmode [timeout seconds, default 120] [only: below|above|lines|lf|cr]
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
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
    bool finished = false;
    int exitCode = -1;
};

double seconds(const timeval &t) {
    return t.tv_sec + t.tv_usec / 1e6;
}

// Runs the program to its end or until `timeoutS` pass (then kills it).
Run runProgram(const QString &program, const QStringList &arguments, int timeoutS) {
    std::vector<QByteArray> storage{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) {
            run.finished = WIFEXITED(status);
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeoutS)) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        usleep(2000);
    }
    run.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.cpuMs = (seconds(usage.ru_utime) + seconds(usage.ru_stime)) * 1000;
    run.peakMb = usage.ru_maxrss / 1024.0;
    return run;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void print(const char *what, const Run &run, double baseMb, qint64 bytes) {
    if (!run.finished) {
        std::printf("%-34s no end within the timeout (%.0f ms, %.0f MB so far)\n", what, run.wallMs,
                    run.peakMb);
        return;
    }
    const double grown = run.peakMb - baseMb;
    std::printf("%-34s wall %8.0f ms  cpu %8.0f ms  peak %7.1f MB  grown %7.1f MB (%5.1f x "
                "file)%s\n",
                what, run.wallMs, run.cpuMs, run.peakMb, grown,
                bytes > 0 ? grown * 1024 * 1024 / double(bytes) : 0.0,
                run.exitCode == 0 ? "" : "  [exit code not 0]");
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int timeoutS = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    QTemporaryDir home;
    for (const char *sub : {"config/quillet", "data", "runtime", "files"})
        QDir(home.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The splash window and its pause off; the bounds make the window read its flags.
    writeFile(home, QStringLiteral("config/quillet/user.reg"),
              "Quillet Vado settings store 1\n[Software\\Fernlake\\Quillet]\n"
              "\"NOSplash\"=dword:00000001\n\"NoTV\"=dword:00000001\n"
              "\"Top\"=dword:00000064\n\"Left\"=dword:00000064\n"
              "\"Width\"=dword:0000033d\n\"Height\"=dword:000001ee\n");
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("QUILLET_MACHINE_STORE", home.filePath(QStringLiteral("machine.reg")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QUILLET_QUIT_AFTER_SHOW", "1");

    struct Case {
        const char *key;
        const char *name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        // Either side of the line count from which text mode holds text outside the document.
        {"below", "99,998 lines \"ab\" LF (300 KB), in the document",
         QByteArray("ab\n").repeated(99998)},
        {"above", "99,999 lines \"ab\" LF (300 KB), outside it",
         QByteArray("ab\n").repeated(99999)},
        {"lines", "1M lines \"ab\" LF (3 MB)", QByteArray("ab\n").repeated(1000000)},
        {"lf", "5M bare LF (5 MB)", QByteArray(5000000, '\n')},
        {"cr", "5M bare CR (5 MB)", QByteArray(5000000, '\r')},
    };

    const QString editor = QStringLiteral(QUILLET_EXECUTABLE);
    const QString converter = QStringLiteral(QUILLET_CONVERT_EXECUTABLE);
    const Run empty = runProgram(editor, {}, timeoutS);
    print("editor, no file", empty, 0, 0);
    const double baseMb = empty.peakMb;
    for (const Case &c : cases) {
        if (!only.isEmpty() && only != QLatin1String(c.key))
            continue;
        const QString path =
            writeFile(home, QStringLiteral("files/%1.txt").arg(QLatin1String(c.key)), c.bytes);
        std::printf("%s\n", c.name);
        print("  editor: start to first paint", runProgram(editor, {path}, timeoutS), baseMb,
              c.bytes.size());
        const Run toText =
            runProgram(converter, {path, home.filePath(QStringLiteral("files/out.txt"))}, timeoutS);
        print("  converter to .txt", toText, 0, c.bytes.size());
        if (QFile(home.filePath(QStringLiteral("files/out.txt"))).size() != c.bytes.size())
            std::printf("  (the .txt written differs in size from the original)\n");
        print(
            "  converter to .rtf",
            runProgram(converter, {path, home.filePath(QStringLiteral("files/out.rtf"))}, timeoutS),
            0, c.bytes.size());
    }
    return 0;
}
