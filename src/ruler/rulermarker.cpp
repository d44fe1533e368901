#include "ruler/rulermarker.h"

#include "ruler/tanlruler.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int MarkerWidth = 9;

int pointerX(const QMouseEvent *event) {
    return int(event->position().x());
}
} // namespace

RulerMarker::RulerMarker(TanlRuler &ruler, Shape shape, int height)
    : QWidget(&ruler)
    , m_ruler(ruler)
    , m_shape(shape) {
    resize(MarkerWidth, height);
    setCursor(Qt::ArrowCursor);
}

QPolygon RulerMarker::outline(Shape shape) {
    switch (shape) {
    case FirstLine:
        return QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(8, 3), QPoint(4, 7), QPoint(0, 3)});
    case Indent:
        return QPolygon({QPoint(0, 7), QPoint(0, 4), QPoint(4, 0), QPoint(8, 4), QPoint(8, 7)});
    case Block:
        break;
    }
    return QPolygon({QPoint(0, 0), QPoint(0, 4), QPoint(8, 4), QPoint(8, 0)});
}

void RulerMarker::paintShape(QPainter &painter, Shape shape, const QPoint &origin,
                             const QPalette &palette) {
    painter.save();
    painter.translate(origin);
    const QColor highlight = palette.color(QPalette::Light);
    if (shape == Block) {
        painter.fillRect(QRect(0, 0, MarkerWidth, 7), palette.color(QPalette::Button));
        painter.setPen(Qt::black);
        painter.drawPolyline(
            QPolygon({QPoint(0, 0), QPoint(0, 4), QPoint(8, 4), QPoint(8, 0), QPoint(7, 0)}));
        painter.setPen(highlight);
        painter.drawPolyline(QPolygon({QPoint(1, 2), QPoint(1, 0), QPoint(7, 0)}));
    } else {
        painter.setPen(Qt::black);
        painter.setBrush(palette.color(QPalette::Button));
        painter.drawPolygon(outline(shape));
        painter.setPen(highlight);
        if (shape == FirstLine)
            painter.drawPolyline(
                QPolygon({QPoint(6, 1), QPoint(1, 1), QPoint(1, 3), QPoint(4, 6)}));
        else
            painter.drawPolyline(QPolygon({QPoint(1, 5), QPoint(1, 4), QPoint(5, 0)}));
    }
    painter.restore();
}

void RulerMarker::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintShape(painter, m_shape, QPoint(0, 0), palette());
}

void RulerMarker::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_ruler.markerPressed(this, pointerX(event));
}

void RulerMarker::mouseMoveEvent(QMouseEvent *event) {
    m_ruler.markerMoved(this, pointerX(event));
}

void RulerMarker::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_ruler.markerReleased(this);
}

void RulerMarker::mouseDoubleClickEvent(QMouseEvent *event) {
    // Qt sends the second press of a double click as this event alone; it starts no drag.
    if (event->button() == Qt::LeftButton)
        m_ruler.markerDoubleClicked(this);
}
