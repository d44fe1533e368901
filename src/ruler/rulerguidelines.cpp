#include "ruler/rulerguidelines.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>

RulerGuideLines::RulerGuideLines(QWidget &control)
    : QWidget(&control)
    , m_control(control) {
    setObjectName(QStringLiteral("GuideLines"));
    setAccessibleName(QStringLiteral("Guide Line"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_control.installEventFilter(this);
    fitToClientArea();
}

void RulerGuideLines::toggle(int x) {
    if (!m_lines.removeOne(x))
        m_lines.append(x);
    if (m_lines.isEmpty()) {
        hide();
        return;
    }
    if (isHidden()) {
        fitToClientArea();
        raise();
        show();
        return;
    }
    // Only the strip of this line changes; the text under the rest is not painted again.
    update(QRect(x, 0, 1, height()));
}

bool RulerGuideLines::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &m_control && event->type() == QEvent::Resize)
        fitToClientArea();
    return QWidget::eventFilter(watched, event);
}

void RulerGuideLines::fitToClientArea() {
    // The client area: inside the frame, over the text and its margins.
    auto *frame = qobject_cast<QFrame *>(&m_control);
    setGeometry(frame ? frame->contentsRect() : m_control.rect());
}

void RulerGuideLines::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::black, 0, Qt::DotLine);
    painter.setPen(pen);
    for (int x : std::as_const(m_lines))
        painter.drawLine(x, 1, x, height() - 1);
}
