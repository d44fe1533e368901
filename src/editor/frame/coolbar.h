#pragma once

#include <QPixmap>
#include <QWidget>

class QVBoxLayout;
class QHBoxLayout;

// The tool-bar area `CoolBar1`: two rows of tool bars and boxes, sized to its contents, with an
// optional bitmap tiled behind them.
class TCoolBar : public QWidget {
    Q_OBJECT

public:
    explicit TCoolBar(QWidget *parent);

    QHBoxLayout *row(int index) const;

    void setBackgroundBitmap(const QPixmap &bitmap);
    const QPixmap &backgroundBitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QHBoxLayout *m_rows[2];
    QPixmap m_bitmap;
};
