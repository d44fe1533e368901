#include "widgets/tarrowbutton.h"

#include "widgets/arrowbuttonaccessible.h"

#include <QMouseEvent>
#include <QPainter>

TArrowButton::TArrowButton(QWidget *parent)
    : QWidget(parent) {
    resize(33, 33);
    ArrowButtonAccessible::install();
}

void TArrowButton::click() {
    if (isEnabled())
        emit clicked();
}

void TArrowButton::setDirection(TArrowDirection direction) {
    m_direction = direction;
    update();
}

void TArrowButton::setButtonColor(const QColor &color) {
    m_buttonColor = color;
    update();
}

QPolygon TArrowButton::outerTriangle() const {
    const int w = width();
    const int h = height();
    switch (m_direction) {
    case arwRIGHT:
        return QPolygon({QPoint(3, 3), QPoint(w - 3, h / 2), QPoint(3, h - 3)});
    case arwDOWN:
        return QPolygon({QPoint(w - 3, 3), QPoint(w / 2, h - 3), QPoint(3, 3)});
    case arwLEFT:
        return QPolygon({QPoint(w - 3, 3), QPoint(w - 3, h - 3), QPoint(3, h / 2)});
    case arwUP:
        break;
    }
    return QPolygon({QPoint(w / 2, 3), QPoint(w - 3, h - 3), QPoint(3, h - 3)});
}

QPolygon TArrowButton::innerTriangle() const {
    QPolygon p = outerTriangle();
    switch (m_direction) {
    case arwUP:
        p[0] += QPoint(0, 3);
        p[1] += QPoint(-4, -2);
        p[2] += QPoint(3, -2);
        break;
    case arwRIGHT:
        p[0] += QPoint(2, 3);
        p[1] += QPoint(-3, 0);
        p[2] += QPoint(2, -3);
        break;
    case arwDOWN:
        p[0] += QPoint(-3, 2);
        p[1] += QPoint(0, -3);
        p[2] += QPoint(2, 2);
        break;
    case arwLEFT:
        p[0] += QPoint(-2, 3);
        p[1] += QPoint(-2, -2);
        p[2] += QPoint(3, 0);
        break;
    }
    return p;
}

void TArrowButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outerTriangle());
    const QPolygon p = innerTriangle();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(isEnabled() ? m_buttonColor : palette().color(QPalette::Mid));
    painter.drawPolygon(p);
    if (m_pressed) {
        painter.setPen(Qt::black);
        painter.drawLine(p[0], p[2]);
        painter.setPen(m_buttonColor);
        painter.drawLine(p[0], p[1]);
        painter.drawLine(p[1], p[2]);
    } else {
        painter.setPen(Qt::black);
        painter.drawLine(p[0], p[1]);
        painter.drawLine(p[1], p[2]);
        painter.setPen(Qt::white);
        painter.drawLine(p[2], p[0]);
    }
}

void TArrowButton::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton ||
        !outerTriangle().containsPoint(event->position().toPoint(), Qt::OddEvenFill)) {
        event->ignore();
        return;
    }
    m_pressed = true;
    update();
}

void TArrowButton::mouseReleaseEvent(QMouseEvent *event) {
    if (!m_pressed || event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    update();
    emit clicked();
}
