#pragma once

#include <QSize>

class QFont;
class QPaintDevice;
class QPainter;

// Where a preview's page pictures go (the preview window): the print component draws each page
// into a picture this side provides and hands it back when the page is complete.
class PreviewPages {
public:
    virtual ~PreviewPages() = default;

    // Before the first page: the paper in dots and in the component's unit.
    virtual void paperKnown(QSize paperDots, double widthUnits, double heightUnits,
                            bool unitIsInch) = 0;
    // A painter for a fresh page picture of paperDots, recorded against `reference` (the
    // printer), with `font` selected; one unit per dot, the origin at the paper's corner.
    virtual QPainter *startPage(QSize paperDots, QPaintDevice *reference, const QFont &font) = 0;
    // The page picture is complete (its painter is done with): store and show it.
    virtual void finishPage() = 0;
    // The preview failed: drop the pages stored so far.
    virtual void abandon() = 0;
};
