#pragma once

#include <QList>
#include <QString>

// One number or tick of the ruler's scale.
struct RulerScaleMark {
    enum Kind { Number, LargeTick, SmallTick };

    int x = 0;
    Kind kind = SmallTick;
    // The number's text; empty for ticks.
    QString text;

    bool operator==(const RulerScaleMark &) const = default;
};

// What the scale is drawn from: the pixel range it covers (both ends included), the x of the
// left margin line it counts from, the unit and multiplier of the numbers and which parts show.
struct RulerScaleLayout {
    int from = 0;
    int to = 0;
    int zero = 0;
    int tabDist = 10;
    int factor = 1;
    bool numbers = true;
    bool largeLines = true;
    bool smallLines = true;
};

// The scale counts outward from the margin line to both sides: a number every 4 units (none at
// the line itself, where it would read "0"), a large tick half-way between, small ticks at the
// quarters. Without numbers a large tick stands in their place.
QList<RulerScaleMark> RulerScaleMarks(const RulerScaleLayout &layout);
