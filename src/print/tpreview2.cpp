#include "print/tpreview2.h"

#include "print/previewlayout.h"
#include "print/previewpageframe.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>

TPreview2::TPreview2(QWidget *preview)
    : QWidget(preview, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_preview(preview) {
    setObjectName(QStringLiteral("Preview2"));
    setWindowTitle(QStringLiteral("next page(s)"));
    Frame = new PreviewPageFrame(this);
    ScrollBox1 = Frame->ScrollBox1;
    Image1 = Frame->Image1;
    UnitLabel = Frame->UnitLabel;
    // Keys come to the window itself, which hands them to the preview.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setAccessibleName(QStringLiteral("Page number"));
    PageNumberLabel = new QLabel(QStringLiteral("Page number:"), m_panel);
    PageNumberLabel->move(5, 8);
    PreviewPageFrame::fitLabel(PageNumberLabel, 72);
    Label2 = new QLabel(m_panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("color: teal; font-weight: bold"));
    Label2->setToolTip(QStringLiteral("Actual page number (second window)"));
    Label2->setAccessibleName(QStringLiteral("Actual page number"));
    Label2->setGeometry(79, 8, 100, 16);
}

void TPreview2::applyLayout(const PreviewLayout &layout) {
    setFixedSize(layout.client);
    Frame->setGeometry(QRect(QPoint(0, 0), layout.client));
    Frame->setBox(layout.image);
    m_panel->setGeometry(layout.panel);
    m_panel->raise();
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
