#pragma once

#include <QColor>
#include <QPolygon>
#include <QWidget>

enum TArrowDirection { arwUP, arwRIGHT, arwLEFT, arwDOWN };

// A triangular page button: only the triangle answers the mouse.
class TArrowButton : public QWidget {
    Q_OBJECT

public:
    explicit TArrowButton(QWidget *parent = nullptr);

    TArrowDirection Direction() const { return m_direction; }
    void setDirection(TArrowDirection direction);
    QColor ButtonColor() const { return m_buttonColor; }
    void setButtonColor(const QColor &color);
    bool isPressed() const { return m_pressed; }
    // What a click on the triangle does, for keyboard and assistive technology; nothing while
    // the button is disabled.
    void click();

    // The outer triangle (the click area) and the inner, filled one, for the current size.
    QPolygon outerTriangle() const;
    QPolygon innerTriangle() const;

    QSize sizeHint() const override { return QSize(33, 33); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TArrowDirection m_direction = arwUP;
    QColor m_buttonColor = QColor(0, 128, 128);
    bool m_pressed = false;
};
