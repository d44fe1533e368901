#include "ruler/rulerindents.h"

#include <cmath>

namespace {

int pixels(double points) {
    return int(std::trunc(points * 4.0 / 3.0));
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
