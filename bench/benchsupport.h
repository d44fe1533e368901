#pragma once

// Small pieces the benchmarks share: timing, medians and generated prose.

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <functional>
#include <vector>

namespace BenchSupport {

// Wall time of `work` in milliseconds.
inline double timed(const std::function<void()> &work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// `size` characters of plain words with a CR LF paragraph end about every 14 words; the same text
// on every run.
inline QString prose(qsizetype size) {
    static const char *const words[] = {"the",  "quick", "brown", "fox",  "jumps", "over",
                                        "lazy", "dog",   "and",   "runs", "away",  "again"};
    QRandomGenerator rng(7);
    QString s;
    s.reserve(size + 16);
    while (s.size() < size) {
        s += QLatin1String(words[rng.bounded(12)]);
        s += rng.bounded(14) == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    s.truncate(size);
    return s;
}

} // namespace BenchSupport
