#include "ruler/rulerscale.h"

#include <cstdlib>

QList<RulerScaleMark> RulerScaleMarks(const RulerScaleLayout &layout) {
    QList<RulerScaleMark> marks;
    const int f = layout.tabDist;
    if (f < 1)
        return marks;
    for (int x = layout.from; x <= layout.to; ++x) {
        const int d = std::abs(x - layout.zero);
        if (d % (4 * f) == 0) {
            if (layout.numbers) {
                const qint64 number = qint64(d / (4 * f)) * layout.factor;
                if (number != 0)
                    marks.append({x, RulerScaleMark::Number, QString::number(number)});
            } else if (layout.largeLines) {
                marks.append({x, RulerScaleMark::LargeTick, {}});
            }
        }
        if (layout.largeLines && d % (4 * f) == 2 * f)
            marks.append({x, RulerScaleMark::LargeTick, {}});
        if (layout.smallLines && d % (2 * f) == f)
            marks.append({x, RulerScaleMark::SmallTick, {}});
    }
    return marks;
}
