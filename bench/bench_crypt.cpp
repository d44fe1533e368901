// Scrambling and unscrambling a 1 MB document, printable (the classic bytes) and with characters
// beyond the code page (the extended form). Prints the best of five runs in milliseconds.
#include "crypt/cryptpswdu.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>
#include <functional>

namespace {

double bestOfFive(const std::function<void()> &work) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

QString prose(qsizetype size, bool wide) {
    static const char *const words[] = {"the",  "quick", "brown", "fox",  "jumps", "over",
                                        "lazy", "dog",   "and",   "runs", "away",  "again"};
    QRandomGenerator rng(1);
    QString s;
    s.reserve(size + 16);
    while (s.size() < size) {
        s += QLatin1String(words[rng.bounded(12)]);
        s += rng.bounded(12) == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
        if (wide && rng.bounded(50) == 0)
            s += QStringLiteral("Grüße → ");
    }
    s.truncate(size);
    return s;
}

} // namespace

int main() {
    for (const bool wide : {false, true}) {
        const QString text = prose(1 << 20, wide);
        const QString password = QStringLiteral("correct horse");
        QString scrambled;
        const double enc = bestOfFive([&] { scrambled = EncryptText(text, password); });
        std::optional<QString> back;
        const double dec = bestOfFive([&] { back = DecryptText(scrambled, password); });
        std::printf("%s 1 MB: encrypt %.1f ms, decrypt %.1f ms (target < 200 ms)%s\n",
                    wide ? "unicode  " : "printable", enc, dec,
                    back == text ? "" : "  ROUND TRIP FAILED");
    }
    return 0;
}
