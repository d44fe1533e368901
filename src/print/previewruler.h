#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// The rulers beside a preview page image: a vertical one left of it and a horizontal one above
// it, in inches or millimetres of the paper, with the image's scale.
class PreviewRuler {
public:
    struct Tick {
        int offset;    // pixels from the image's edge
        QString label; // empty: a tick without a value
        bool operator==(const Tick &other) const = default;
    };

    // The ticks along an image `imageLength` pixels long that shows `paperUnits` of paper. A
    // paper length of zero or less gives none.
    static QList<Tick> ticks(double paperUnits, bool unitIsInch, int imageLength);

    // The bands the rulers take beside `box` (the scroll box, in the window) for an image of
    // `imageSize` of which `box` shows at most its own size.
    static QRect verticalBand(const QRect &box, QSize imageSize);
    static QRect horizontalBand(const QRect &box, QSize imageSize);

    // Draws both rulers; `scroll` is how far the image is scrolled, so the ticks stay beside the
    // part of the page they measure.
    static void paint(QPainter &painter, const QRect &box, QSize imageSize, QPoint scroll,
                      double widthUnits, double heightUnits, bool unitIsInch);
};
