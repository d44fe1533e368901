#pragma once

#include <QColor>
#include <QToolButton>

// A flat button whose caption takes the hot-track colour while the mouse pointer is over it.
class TFernSBut : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(QColor HotTrackColor READ HotTrackColor WRITE setHotTrackColor)

public:
    explicit TFernSBut(QWidget *parent = nullptr);

    QColor HotTrackColor() const { return m_hotTrackColor; }
    void setHotTrackColor(const QColor &color);

    // True while the pointer is over the button.
    bool isHot() const { return m_hot; }

signals:
    void OnEnter();
    void OnExit();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setCaptionColor(const QColor &color);

    QColor m_hotTrackColor;
    QColor m_normalColor; // the caption colour the button was constructed with
    bool m_hot = false;
};
