#pragma once

#include <QWidget>

class PreviewPageFrame;
class QLabel;
class QScrollArea;
struct PreviewLayout;

// The companion window beside the preview: the following page(s), no buttons. Keys pressed here
// hand the focus back to the preview.
class TPreview2 : public QWidget {
    Q_OBJECT

public:
    explicit TPreview2(QWidget *preview);

    PreviewPageFrame *Frame;
    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QLabel *PageNumberLabel;
    QLabel *Label2;
    QLabel *UnitLabel;

    // The preview window's size, image and panel width.
    void applyLayout(const PreviewLayout &layout);
    // Page number labels shown while there is a page to show.
    void setPageLabelsVisible(bool visible);
    void clearImage();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *m_preview;
    QWidget *m_panel;
};
