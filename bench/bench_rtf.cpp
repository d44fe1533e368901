// RTF reading and writing on large formatted documents (1, 10 and 50 MB).
//   bench_rtf                       every size, each in a process of its own, and the ratios
//   bench_rtf --size MB             one size: read time, write time, peak memory
//   bench_rtf --generate MB FILE    writes the generated document (for profiling)
// Targets: reading 10 MB in under 1.5 s and at most 10 times its size in peak memory, writing
// it back in under 0.5 s; time linear in size.
#include "richtext/rtf/documentio.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTextDocument>
#include <cstdio>
#include <ctime>

namespace {

// The process's resident memory and its peak so far, in kB, from /proc.
qint64 memoryKb(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Formatted RTF as word processors write it: several fonts, sizes and colours, bold, italic and
// underlined runs, accented and non-Latin text, numbered and bulleted lists, and now and then a
// table.
QByteArray generate(qint64 targetBytes) {
    constexpr int numberedLists = 200;
    QByteArray rtf;
    rtf.reserve(targetBytes + 65536);
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
           "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}"
           "{\\f2\\fmodern\\fcharset0 Courier New;}{\\f3\\fcharset204 Arial Cyr;}}\n"
           "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;\\red0\\green96\\blue0;"
           "\\red0\\green0\\blue160;\\red255\\green255\\blue0;}\n"
           "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}"
           "{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid1}{\\list\\listtemplateid2{\\listlevel"
           "\\levelnfc23{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}\\fi-360\\li720}\\listid2}}\n"
           "{\\*\\listoverridetable{\\listoverride\\listid2\\ls1}";
    // Numbered lists restart now and then, as separate lists in a long document do: each
    // restart is an override of its own.
    for (int ls = 2; ls <= numberedLists + 1; ++ls)
        rtf += "{\\listoverride\\listid1\\ls" + QByteArray::number(ls) + "}";
    rtf += "}\n";
    static const char *const words[] = {
        "lorem",       "ipsum",           "dolor",      "sit",      "amet",
        "consectetur", "adipiscing",      "elit",       "sed",      "do",
        "eiusmod",     "tempor",          "incididunt", "ut",       "labore",
        "et",          "dolore",          "magna",      "caf\\'e9", "na\\'efve",
        "\\u8364?",    "\\'93quoted\\'94"};
    constexpr int wordCount = sizeof(words) / sizeof(words[0]);
    quint32 seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<quint32>(range));
    };
    int paragraph = 0;
    int listItems = 0; // items left in the current list
    QByteArray listWords;
    int numberedList = 0;
    while (rtf.size() < targetBytes) {
        ++paragraph;
        if (paragraph % 400 == 0) {
            for (int row = 0; row < 6; ++row) {
                rtf += "\\trowd\\trgaph108\\cellx2000\\cellx4500\\cellx7000\\cellx9000\n";
                for (int cell = 0; cell < 4; ++cell) {
                    rtf += "\\pard\\intbl\\plain\\f1\\fs20 ";
                    rtf += row == 0 ? "{\\b Heading}" : words[next(wordCount)];
                    rtf += ' ';
                    rtf += QByteArray::number(row * 10 + cell);
                    rtf += "\\cell ";
                }
                rtf += "\\row\n";
            }
            continue;
        }
        const int kind = next(10);
        rtf += "\\pard\\plain";
        if (listItems == 0 && kind < 2) {
            // A list of a few items, numbered or bulleted.
            listItems = 3 + next(6);
            numberedList = numberedList % numberedLists + 1;
            listWords = kind == 0 ? "\\ls" + QByteArray::number(numberedList + 1) +
                                        "\\fi-360\\li720{\\listtext 1.\\tab}"
                                  : QByteArray("\\ls1\\fi-360\\li720{\\listtext \\'b7\\tab}");
        }
        if (listItems > 0) {
            --listItems;
            rtf += listWords;
        } else if (kind == 2)
            rtf += "\\qc\\sb120\\sa120";
        else if (kind == 3)
            rtf += "\\qj\\sl360\\slmult1";
        rtf += ' ';
        const int runs = 4 + next(8);
        for (int run = 0; run < runs; ++run) {
            rtf += "{\\f";
            rtf += QByteArray::number(next(3));
            rtf += "\\fs";
            rtf += QByteArray::number(18 + 2 * next(8));
            switch (next(8)) {
            case 0:
                rtf += "\\b";
                break;
            case 1:
                rtf += "\\i";
                break;
            case 2:
                rtf += "\\ul";
                break;
            case 3:
                rtf += "\\cf";
                rtf += QByteArray::number(2 + next(3));
                break;
            case 4:
                rtf += "\\highlight5";
                break;
            default:
                break;
            }
            rtf += ' ';
            const int length = 3 + next(12);
            for (int w = 0; w < length; ++w) {
                rtf += words[next(wordCount)];
                rtf += ' ';
            }
            rtf += '}';
            if (next(20) == 0)
                rtf += "{\\f3 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 }";
        }
        rtf += "\\par\n";
    }
    rtf += "}\n";
    return rtf;
}

// CPU time of this thread in ms: steadier than wall time on a busy machine.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Measure {
    double sizeMb = 0;
    double readMs = 0;
    double writeMs = 0;
    double peakMb = 0;
    double readCpuMs = 0;
    double writeCpuMs = 0;
};

Measure measure(int megabytes) {
    const QByteArray rtf = generate(static_cast<qint64>(megabytes) * 1024 * 1024);
    const qint64 before = memoryKb("VmRSS:");
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    double cpu = cpuMs();
    const RtfReadResult result = readRtf(rtf, document);
    Measure m;
    m.readMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    m.readCpuMs = cpuMs() - cpu;
    m.peakMb = static_cast<double>(memoryKb("VmHWM:") - before) / 1024.0;
    if (!result.ok())
        std::fprintf(stderr, "read failed\n");
    timer.restart();
    cpu = cpuMs();
    const QByteArray written = rtfFromDocument(document);
    m.writeMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    m.writeCpuMs = cpuMs() - cpu;
    m.sizeMb = static_cast<double>(rtf.size()) / (1024.0 * 1024.0);
    if (written.isEmpty())
        std::fprintf(stderr, "write failed\n");
    return m;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--generate")) {
        QFile file(args[3]);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(generate(args[2].toLongLong() * 1024 * 1024));
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--size")) {
        const Measure m = measure(args[2].toInt());
        std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", m.sizeMb, m.readMs, m.writeMs, m.peakMb,
                    m.readCpuMs, m.writeCpuMs);
        return 0;
    }
    std::printf("%8s %10s %10s %10s %10s %10s %8s\n", "size MB", "read ms", "read cpu", "write ms",
                "write cpu", "peak MB", "peak/size");
    QList<Measure> results;
    for (int size : {1, 10, 50}) {
        QProcess child;
        child.start(args[0], {QStringLiteral("--size"), QString::number(size)});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 6) {
            std::fprintf(stderr, "measuring %d MB failed\n", size);
            return 1;
        }
        Measure m{fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble(),
                  fields[3].toDouble(), fields[4].toDouble(), fields[5].toDouble()};
        results.append(m);
        std::printf("%8.1f %10.1f %10.1f %10.1f %10.1f %10.1f %8.1f\n", m.sizeMb, m.readMs,
                    m.readCpuMs, m.writeMs, m.writeCpuMs, m.peakMb, m.peakMb / m.sizeMb);
    }
    // Per-MB cost of the larger size over the smaller: 1.0 is linear.
    const auto ratio = [&results](double Measure::*field, int larger, int smaller) {
        return (results[larger].*field / results[larger].sizeMb) /
               (results[smaller].*field / results[smaller].sizeMb);
    };
    std::printf("read per MB, 10/1: %.2f (cpu %.2f), 50/10: %.2f (cpu %.2f)\n",
                ratio(&Measure::readMs, 1, 0), ratio(&Measure::readCpuMs, 1, 0),
                ratio(&Measure::readMs, 2, 1), ratio(&Measure::readCpuMs, 2, 1));
    std::printf("write per MB, 10/1: %.2f (cpu %.2f), 50/10: %.2f (cpu %.2f)\n",
                ratio(&Measure::writeMs, 1, 0), ratio(&Measure::writeCpuMs, 1, 0),
                ratio(&Measure::writeMs, 2, 1), ratio(&Measure::writeCpuMs, 2, 1));
    return 0;
}
