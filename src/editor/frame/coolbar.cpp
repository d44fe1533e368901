#include "editor/frame/coolbar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

TCoolBar::TCoolBar(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("CoolBar1"));
    setAccessibleName(QStringLiteral("Tool Bars"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(1);
    for (QHBoxLayout *&row : m_rows) {
        row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        rows->addLayout(row);
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QHBoxLayout *TCoolBar::row(int index) const {
    return m_rows[index];
}

void TCoolBar::setBackgroundBitmap(const QPixmap &bitmap) {
    m_bitmap = bitmap;
    update();
}

void TCoolBar::paintEvent(QPaintEvent *event) {
    QWidget::paintEvent(event);
    if (m_bitmap.isNull())
        return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), m_bitmap);
}
