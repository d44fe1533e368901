#pragma once

#include <QPolygon>
#include <QWidget>

class TanlRuler;

// One of the ruler's four marker areas, 9 pixels wide: it paints its shape and hands its mouse
// events to the ruler, which does the dragging. Owned by the ruler.
class RulerMarker : public QWidget {
    Q_OBJECT

public:
    enum Shape { FirstLine, Indent, Block };

    RulerMarker(TanlRuler &ruler, Shape shape, int height);

    Shape shape() const { return m_shape; }
    // The outline of a shape in marker pixels, from its top-left corner.
    static QPolygon outline(Shape shape);
    // Paints a shape at `origin` in the ruler's button colours.
    static void paintShape(QPainter &painter, Shape shape, const QPoint &origin,
                           const QPalette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TanlRuler &m_ruler;
    Shape m_shape;
};
