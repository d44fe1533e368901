#pragma once

#include <QRect>

class QPainter;
class QPaintDevice;

// A request to draw or measure one page of a rich text control's text (format-range). The
// rectangles are in twips from the device's origin; positions are the control's (a paragraph
// break counts one), cpMax -1 meaning the end of the text.
struct TFormatRange {
    // Where to draw, in the device's own units (one unit per device dot); may be null when only
    // measuring.
    QPainter *painter = nullptr;
    // The device whose resolution lays the text out (the printer or the page picture's
    // reference); when null, the painter's device.
    QPaintDevice *target = nullptr;
    QRect rc;
    QRect rcPage;
    int cpMin = 0;
    int cpMax = -1;
};
