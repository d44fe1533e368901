#include "print/previewpageframe.h"

#include "print/previewruler.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

PreviewPageFrame::PreviewPageFrame(QWidget *parent)
    : QWidget(parent) {
    UnitLabel = new QLabel(this);
    UnitLabel->setObjectName(QStringLiteral("UnitLabel"));
    UnitLabel->setStyleSheet(QStringLiteral("color: red"));
    QFont small = UnitLabel->font();
    small.setPointSize(7);
    UnitLabel->setFont(small);
    UnitLabel->setAccessibleName(QStringLiteral("Unit"));
    UnitLabel->move(1, 1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAccessibleName(QStringLiteral("Page"));
    // No frame: at a zoom of one the image is exactly the box.
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Page image"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidget(Image1);
    const auto follow = [this] {
        if (m_rulersShown)
            update();
    };
    connect(ScrollBox1->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(ScrollBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
}

void PreviewPageFrame::setBox(const QRect &box) {
    ScrollBox1->setGeometry(box);
    update();
}

QRect PreviewPageFrame::box() const {
    return ScrollBox1->geometry();
}

void PreviewPageFrame::fitImage(QSize boxSize, double zoom) {
    if (zoom <= 1.00001) {
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        Image1->resize(boxSize);
    } else {
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        Image1->resize(qRound(boxSize.width() * zoom), qRound(boxSize.height() * zoom));
    }
    update();
}

void PreviewPageFrame::setPaper(double widthUnits, double heightUnits, bool unitIsInch) {
    m_widthUnits = widthUnits;
    m_heightUnits = heightUnits;
    m_unitIsInch = unitIsInch;
    UnitLabel->setText(unitIsInch ? QStringLiteral("inch") : QStringLiteral("mm"));
    UnitLabel->adjustSize();
    update();
}

void PreviewPageFrame::setRulersShown(bool shown) {
    m_rulersShown = shown;
    update();
}

QRect PreviewPageFrame::verticalRuler() const {
    return m_rulersShown ? PreviewRuler::verticalBand(box(), Image1->size()) : QRect();
}

QRect PreviewPageFrame::horizontalRuler() const {
    return m_rulersShown ? PreviewRuler::horizontalBand(box(), Image1->size()) : QRect();
}

void PreviewPageFrame::fitLabel(QLabel *label, int width) {
    QFont font = label->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(label->text()) > width)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    label->resize(width, label->sizeHint().height());
}

void PreviewPageFrame::paintEvent(QPaintEvent *) {
    if (!m_rulersShown)
        return;
    QPainter painter(this);
    const QPoint scroll(ScrollBox1->horizontalScrollBar()->value(),
                        ScrollBox1->verticalScrollBar()->value());
    PreviewRuler::paint(painter, box(), Image1->size(), scroll, m_widthUnits, m_heightUnits,
                        m_unitIsInch);
}
