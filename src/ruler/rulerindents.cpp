#include "ruler/rulerindents.h"

#include <cmath>
#include <initializer_list>

namespace {

int pixels(double points) {
    return int(std::trunc(points * 4.0 / 3.0));
}

// The whole points whose pixels are px; when none is, px in points truncated toward zero.
int points(int px) {
    const int truncated = px * 3 / 4;
    const int next = px > 0 ? truncated + 1 : truncated - 1;
    for (int candidate : {truncated, next}) {
        if (pixels(candidate) == px)
            return candidate;
    }
    return truncated;
}

} // namespace

RulerIndentMarkers RulerMarkersForIndents(int firstPt, int leftPt, int rightPt, int marginLeftPx,
                                          int marginRightPx, int rulerClientWidth) {
    RulerIndentMarkers markers;
    markers.first = pixels(firstPt) + 2 + marginLeftPx;
    markers.left = pixels(double(leftPt) + firstPt) + 2 + marginLeftPx;
    markers.right =
        rulerClientWidth - 6 - int(std::trunc((double(rightPt) + 6) * 4.0 / 3.0 + marginRightPx));
    return markers;
}

RulerParagraphIndents RulerIndentsForMarkers(const RulerIndentMarkers &markers, int marginLeftPx,
                                             int marginRightPx, int rulerClientWidth) {
    RulerParagraphIndents indents;
    indents.first = points(markers.first - 2 - marginLeftPx);
    indents.leftFromEdge = points(markers.left - 2 - marginLeftPx);
    indents.right = points(rulerClientWidth - 6 - marginRightPx - markers.right) - 6;
    return indents;
}
