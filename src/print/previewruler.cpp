#include "print/previewruler.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Thickness = 22;
constexpr int Middle = 11;
constexpr int TickFrom = 5;
constexpr int TickTo = 17;

} // namespace

QList<PreviewRuler::Tick> PreviewRuler::ticks(double paperUnits, bool unitIsInch, int imageLength) {
    QList<Tick> result;
    if (!(paperUnits > 0) || imageLength <= 0)
        return result;
    const int unit = unitIsInch ? 1 : 10;
    const int count = std::max(1, int(paperUnits / unit));
    const int spacingUnits = qRound(paperUnits / count);
    const int spacing = qRound(imageLength * (count * spacingUnits / paperUnits) / count);
    for (int i = 0; i <= count + 1; ++i) {
        const bool labelled = i > 0 && (unitIsInch || i % 2 == 0);
        result.append({i * spacing, labelled ? QString::number(i * spacingUnits) : QString()});
    }
    return result;
}

QRect PreviewRuler::verticalBand(const QRect &box, QSize imageSize) {
    return QRect(0, box.top(), Thickness, std::min(imageSize.height(), box.height()) + 7);
}

QRect PreviewRuler::horizontalBand(const QRect &box, QSize imageSize) {
    return QRect(box.left(), 0, std::min(imageSize.width(), box.width()) + 7, Thickness);
}

void PreviewRuler::paint(QPainter &painter, const QRect &box, QSize imageSize, QPoint scroll,
                         double widthUnits, double heightUnits, bool unitIsInch) {
    painter.save();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(7);
    painter.setFont(font);
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QPen grey(QColor(128, 128, 128));

    const QRect vertical = verticalBand(box, imageSize);
    painter.setClipRect(vertical);
    painter.setPen(grey);
    painter.setBrush(face);
    painter.drawRect(vertical.adjusted(0, 0, -1, -1));
    const int top = box.top() - scroll.y();
    painter.drawLine(Middle, top, Middle, top + imageSize.height());
    for (const Tick &tick : ticks(heightUnits, unitIsInch, imageSize.height())) {
        const int y = top + tick.offset;
        painter.setPen(grey);
        painter.drawLine(TickFrom, y, TickTo, y);
        if (!tick.label.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(QRect(TickFrom, y - 5, 40, 20), Qt::AlignLeft | Qt::AlignTop,
                             tick.label);
        }
    }

    const QRect horizontal = horizontalBand(box, imageSize);
    painter.setClipRect(horizontal);
    painter.setPen(grey);
    painter.drawRect(horizontal.adjusted(0, 0, -1, -1));
    const int left = box.left() - scroll.x();
    painter.drawLine(left, Middle, left + imageSize.width(), Middle);
    for (const Tick &tick : ticks(widthUnits, unitIsInch, imageSize.width())) {
        const int x = left + tick.offset;
        painter.setPen(grey);
        painter.drawLine(x, TickFrom, x, TickTo);
        if (!tick.label.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(QRect(x - 5, 0, 40, 20), Qt::AlignLeft | Qt::AlignTop, tick.label);
        }
    }
    painter.restore();
}
