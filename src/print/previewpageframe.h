#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;

// What both preview windows show above their panel: the page image in its scroll box, the red
// unit label in the corner and, once formatting is over, the rulers along the image.
class PreviewPageFrame : public QWidget {
    Q_OBJECT

public:
    explicit PreviewPageFrame(QWidget *parent);

    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QLabel *UnitLabel;

    // Where the scroll box stands in the frame.
    void setBox(const QRect &box);
    QRect box() const;
    // The image fitted to `zoom` over a scroll box of `boxSize` (the preview window's): the box
    // itself up to a zoom of one, else the box scaled and scrolled.
    void fitImage(QSize boxSize, double zoom);

    // The paper the rulers measure, in inches or millimetres; the unit label follows.
    void setPaper(double widthUnits, double heightUnits, bool unitIsInch);
    void setRulersShown(bool shown);
    bool rulersShown() const { return m_rulersShown; }
    QRect verticalRuler() const;
    QRect horizontalRuler() const;

    // The panels' places are fixed: a caption wider than its place gets a smaller font.
    static void fitLabel(QLabel *label, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_widthUnits = 0;
    double m_heightUnits = 0;
    bool m_unitIsInch = false;
    bool m_rulersShown = false;
};
