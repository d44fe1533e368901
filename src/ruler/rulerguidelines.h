#pragma once

#include <QList>
#include <QWidget>

// The ruler's guide lines over another control: a see-through layer on that control's client
// area that inverts the pixels under a dotted vertical line, as an exclusive-or pen would, and
// leaves the control's content alone. Drawing a line where one stands removes it. The layer is
// a child of the control (it goes with it) and shows only while it holds a line.
class RulerGuideLines : public QWidget {
    Q_OBJECT

public:
    explicit RulerGuideLines(QWidget &control);

    // Draws the line at x (client pixels of the control), or removes it when it is there.
    void toggle(int x);
    // The x of the lines now drawn, in the order they were drawn.
    const QList<int> &lines() const { return m_lines; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fitToClientArea();

    QWidget &m_control;
    QList<int> m_lines;
};
