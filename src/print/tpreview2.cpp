#include "print/tpreview2.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

TPreview2::TPreview2(QWidget *preview)
    : QWidget(preview, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_preview(preview) {
    setObjectName(QStringLiteral("Preview2"));
    setWindowTitle(QStringLiteral("next page(s)"));
    auto *layout = new QVBoxLayout(this);
    UnitLabel = new QLabel(this);
    UnitLabel->setStyleSheet(QStringLiteral("color: red"));
    UnitLabel->setAccessibleName(QStringLiteral("Unit"));
    layout->addWidget(UnitLabel);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setAccessibleName(QStringLiteral("Page"));
    Image1 = new QLabel;
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);
    auto *panel = new QHBoxLayout;
    PageNumberLabel = new QLabel(QStringLiteral("Page number:"), this);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("color: teal; font-weight: bold"));
    Label2->setToolTip(QStringLiteral("Actual page number (second window)"));
    Label2->setAccessibleName(QStringLiteral("Actual page number"));
    panel->addWidget(PageNumberLabel);
    panel->addWidget(Label2);
    panel->addStretch();
    layout->addLayout(panel);
}

void TPreview2::setPageLabelsVisible(bool visible) {
    PageNumberLabel->setVisible(visible);
    Label2->setVisible(visible);
}

void TPreview2::clearImage() {
    Image1->clear();
}

void TPreview2::keyPressEvent(QKeyEvent *event) {
    m_preview->activateWindow();
    m_preview->setFocus();
    event->accept();
}
