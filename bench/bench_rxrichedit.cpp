// The rich text control on a 10 MB document: loading it, typing a character at its end (the
// key's handling, the caret's line and column as the status bar asks for them, and the repaint),
// scrolling through it page by page with every underline type in view, reading the character
// format's uniformity over all of it, and switching plain text on and off again. Prints
// milliseconds.
#include "richtext/rxrichedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

double cpuMillis() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall-clock milliseconds; the processor time of the same work goes to `cpu` when given, since
// on a busy machine the wall clock also counts other programs' turns.
double millis(const std::function<void()> &work, double *cpu = nullptr) {
    QElapsedTimer timer;
    const double cpuStart = cpuMillis();
    timer.start();
    work();
    if (cpu)
        *cpu = cpuMillis() - cpuStart;
    return timer.nsecsElapsed() / 1e6;
}

void report(const char *label, const std::function<void()> &work) {
    double cpu = 0;
    const double wall = millis(work, &cpu);
    std::printf("%-44s %8.1f ms wall, %8.1f ms processor\n", label, wall, cpu);
}

QString document(qsizetype bytes) {
    static const char *const words[] = {"the",  "quick", "brown", "fox",  "jumps", "over",
                                        "lazy", "dog",   "and",   "runs", "away",  "again"};
    QRandomGenerator rng(7);
    QString text;
    text.reserve(bytes + 100);
    qsizetype lineStart = 0;
    while (text.size() < bytes) {
        text += QLatin1String(words[rng.bounded(int(std::size(words)))]);
        if (text.size() - lineStart > 70) {
            text += QLatin1String("\r\n");
            lineStart = text.size();
        } else {
            text += QLatin1Char(' ');
        }
    }
    return text;
}

struct Keystroke {
    double key = 0;
    double caret = 0;
    double paint = 0;
    double total() const { return key + caret + paint; }
};

// One keystroke as the window sees it: the key's handling, the status bar's caret position and
// the repaint that shows the character.
Keystroke typeOneCharacter(TRxRichEdit &edit, QChar c) {
    Keystroke k;
    k.key = millis([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &release);
    });
    k.caret = millis([&] {
        volatile int line = edit.CaretLine();
        volatile int column = edit.CaretColumn();
        (void)line;
        (void)column;
    });
    k.paint = millis([&] { edit.viewport()->repaint(); });
    return k;
}

void reportTyping(TRxRichEdit &edit, const char *label, bool middle = false) {
    double reachCpu = 0;
    const int at = middle ? edit.TextLength() / 2 : edit.TextLength();
    const double reach = millis(
        [&] {
            edit.SelectRange(at, at, true);
            QApplication::processEvents();
        },
        &reachCpu);
    std::vector<Keystroke> strokes;
    for (int i = 0; i < 31; ++i)
        strokes.push_back(typeOneCharacter(edit, QChar(u'a' + i % 26)));
    std::sort(strokes.begin(), strokes.end(),
              [](const Keystroke &a, const Keystroke &b) { return a.total() < b.total(); });
    const Keystroke &median = strokes[15];
    std::printf(
        "%-44s %8.1f ms wall, %8.1f ms processor\n",
        (std::string(middle ? "caret to the middle first, " : "caret to the end first, ") + label)
            .c_str(),
        reach, reachCpu);
    std::printf(
        "%-44s median %6.2f ms (key %5.2f, caret %5.2f, paint %5.2f), worst %6.2f ms\n",
        (std::string(middle ? "typing in the middle, " : "typing at the end, ") + label).c_str(),
        median.total(), median.key, median.caret, median.paint, strokes.back().total());
}

// Pages down from the caret, repainting each page as the window would.
void reportScrolling(TRxRichEdit &edit, const char *label) {
    QScrollBar *bar = edit.verticalScrollBar();
    std::vector<double> pages;
    for (int i = 0; i < 41; ++i) {
        pages.push_back(millis([&] {
            bar->setValue(bar->value() + bar->pageStep());
            edit.viewport()->repaint();
        }));
    }
    std::sort(pages.begin(), pages.end());
    std::printf("%-44s median %6.2f ms, worst %6.2f ms per page\n",
                (std::string("scrolling, ") + label).c_str(), pages[20], pages.back());
}

// Every underline type on runs spread over the text, as a real document has them, and long
// stretches of words-only and double underline from the middle on and at the end, so that every
// page typed on or scrolled through there shows them.
void underlineSpread(TRxRichEdit &edit) {
    const int length = edit.TextLength();
    int type = 0;
    for (int at = 0; at < length; at += length / 200) {
        edit.SelectRange(at, at + 40, false);
        edit.SelAttributes().SetUnderlineType(1 + type++ % 5);
    }
    const int middle = length / 2;
    edit.SelectRange(middle - 5000, middle + 60000, false);
    edit.SelAttributes().SetUnderlineType(2);
    edit.SelectRange(middle + 60000, middle + 130000, false);
    edit.SelAttributes().SetUnderlineType(3);
    edit.SelectRange(length - 5000, length, false);
    edit.SelAttributes().SetUnderlineType(3);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString text = document(10 * 1024 * 1024);
    TRxRichEdit edit;
    edit.resize(900, 700);
    edit.show();
    QApplication::processEvents();

    std::printf("document: %lld characters\n", static_cast<long long>(text.size()));
    report("SetText (load)", [&] { edit.SetText(text); });
    reportTyping(edit, "rich");
    reportTyping(edit, "rich", true);
    reportScrolling(edit, "unformatted");

    report("plain text on, unformatted, caret at the end", [&] {
        edit.SetPlainText(true);
        edit.SelectRange(edit.TextLength(), edit.TextLength(), true);
        QApplication::processEvents();
    });
    report("plain text off, unformatted, caret at the end", [&] {
        edit.SetPlainText(false);
        edit.SelectRange(edit.TextLength(), edit.TextLength(), true);
        QApplication::processEvents();
    });

    // Some formatting spread over the text, as a real document has.
    for (int at = 0; at < edit.TextLength(); at += edit.TextLength() / 200) {
        edit.SelectRange(at, at + 40, false);
        edit.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    }
    edit.SelectAll();
    report("uniformity over all (formatted)", [&] {
        volatile bool bold = edit.SelAttributes().Consistent().testFlag(TRxTextAttributes::caBold);
        (void)bold;
    });
    // As the mode commands do: switch, then put the caret back where it was, here the end.
    report("plain text on, formatted, caret at the end", [&] {
        edit.SetPlainText(true);
        edit.SelectRange(edit.TextLength(), edit.TextLength(), true);
        QApplication::processEvents();
    });
    reportTyping(edit, "plain");
    report("plain text off, caret at the end", [&] {
        edit.SetPlainText(false);
        edit.SelectRange(edit.TextLength(), edit.TextLength(), true);
        QApplication::processEvents();
    });
    reportTyping(edit, "rich again");
    report("underline types spread over all", [&] { underlineSpread(edit); });
    reportTyping(edit, "underlined");
    reportTyping(edit, "underlined", true);
    reportScrolling(edit, "underlined");
    for (int at = 0; at < edit.TextLength(); at += edit.TextLength() / 200) {
        edit.SelectRange(at, at + 40, false);
        edit.SelAttributes().SetStyle(TRxTextAttributes::fsBold);
    }
    edit.SelectRange(0, 0, true);
    report("plain text on, formatted, caret at the start", [&] {
        edit.SetPlainText(true);
        QApplication::processEvents();
    });
    report("plain text off, caret at the start", [&] {
        edit.SetPlainText(false);
        QApplication::processEvents();
    });
    return 0;
}
