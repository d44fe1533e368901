// One step of the about box's credits scroller: the whole text drawn into the off-screen picture,
// as every 40 ms step does. The step must stay far below 40 ms for the text to move 25 pixels a
// second. Prints the median of 500 steps for the credits (16 lines) and for 200 marked-up lines.
#include "benchsupport.h"
#include "tools/moviescroll.h"

#include <QApplication>
#include <cstdio>

namespace {

double medianStep(TMovieScroll &scroll) {
    std::vector<double> times;
    for (int i = 0; i < 500; ++i)
        times.push_back(BenchSupport::timed([&] { scroll.Step(); }));
    return BenchSupport::median(times);
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TMovieScroll scroll;
    scroll.resize(282, 131);
    scroll.SetLoop(true);
    QStringList credits;
    for (int i = 0; i < 16; ++i)
        credits << QStringLiteral("A line of the credits text, number %1").arg(i);
    scroll.SetScrollText(credits);
    scroll.Render();
    std::printf("credits, 16 lines: %.3f ms a step (target < 40 ms)\n", medianStep(scroll));

    QStringList marked;
    for (int i = 0; i < 200; ++i)
        marked << QStringLiteral("[center][b][color=$%1]Line %2 [size=%3]with tags")
                      .arg(i * 997 % 0xFFFFFF, 0, 16)
                      .arg(i)
                      .arg(8 + i % 12);
    scroll.SetScrollText(marked);
    std::printf("200 marked-up lines: %.3f ms a step (target < 40 ms)\n", medianStep(scroll));
    return 0;
}
