#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;

// The companion window beside the preview: the following page(s), no buttons. Keys pressed here
// hand the focus back to the preview.
class TPreview2 : public QWidget {
    Q_OBJECT

public:
    explicit TPreview2(QWidget *preview);

    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QLabel *PageNumberLabel;
    QLabel *Label2;
    QLabel *UnitLabel;

    // Page number labels shown while there is a page to show.
    void setPageLabelsVisible(bool visible);
    void clearImage();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *m_preview;
};
