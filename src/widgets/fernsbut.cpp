#include "widgets/fernsbut.h"

#include <QEnterEvent>

TFernSBut::TFernSBut(QWidget *parent)
    : QToolButton(parent)
    , m_hotTrackColor(Qt::blue)
    , m_normalColor(palette().color(QPalette::ButtonText)) {
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // A speed button: pressing it never takes the focus from the field being typed in.
    setFocusPolicy(Qt::NoFocus);
}

void TFernSBut::setHotTrackColor(const QColor &color) {
    m_hotTrackColor = color;
    if (m_hot)
        setCaptionColor(color);
}

void TFernSBut::enterEvent(QEnterEvent *event) {
    QToolButton::enterEvent(event);
    m_hot = true;
    emit OnEnter();
    setCaptionColor(m_hotTrackColor);
}

void TFernSBut::leaveEvent(QEvent *event) {
    QToolButton::leaveEvent(event);
    m_hot = false;
    emit OnExit();
    setCaptionColor(m_normalColor);
}

void TFernSBut::setCaptionColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}
