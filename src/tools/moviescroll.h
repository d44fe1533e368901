#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// The credits scroller: lines with a small inline markup (see MovieMarkup) move upwards one pixel
// per timer step, drawn with an optional shadow on a plain background. Without Loop it ends with
// CompleteText in the middle; with Loop the text comes back from the bottom edge. Every step
// draws the whole text into an off-screen picture and copies that at once, so nothing flickers.
class TMovieScroll : public QWidget {
    Q_OBJECT

public:
    explicit TMovieScroll(QWidget *parent = nullptr);

    QStringList ScrollText() const { return m_scrollText; }
    void SetScrollText(const QStringList &lines) { m_scrollText = lines; }
    QColor BackColor() const { return m_backColor; }
    void SetBackColor(const QColor &color) { m_backColor = color; }
    QFont DefaultFont() const { return m_defaultFont; }
    QColor DefaultColor() const { return m_defaultColor; }
    void SetDefaultFont(const QFont &font, const QColor &color);
    bool Loop() const { return m_loop; }
    void SetLoop(bool loop) { m_loop = loop; }
    QString CompleteText() const { return m_completeText; }
    void SetCompleteText(const QString &text) { m_completeText = text; }
    int TimerInterval() const { return m_timer.interval(); }
    void SetTimerInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    bool Shadow() const { return m_shadow; }
    void SetShadow(bool shadow) { m_shadow = shadow; }
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(const QColor &color) { m_shadowColor = color; }
    int ShadowOffset() const { return m_shadowOffset; }
    void SetShadowOffset(int pixels) { m_shadowOffset = pixels; }

    // Pixels from the control's top to the top of the text block.
    int TopPosition() const { return m_top; }
    bool IsRunning() const { return m_timer.isActive(); }
    // True once the text has passed without Loop and CompleteText is shown.
    bool IsComplete() const { return m_complete; }

    // One timer step: the text moves up a pixel and is drawn at once.
    void Step();
    // Draws the current picture into the off-screen bitmap and answers it (what Paint copies).
    const QPixmap &Render();

    QSize sizeHint() const override { return {200, 100}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The text starts again from just below the bottom edge; the bitmap takes the control's size.
    void Resize();
    void drawLines(QPainter &painter);

    QStringList m_scrollText;
    QColor m_backColor = Qt::black;
    QFont m_defaultFont;
    QColor m_defaultColor = Qt::white;
    bool m_loop = false;
    QString m_completeText = QStringLiteral("The End");
    bool m_shadow = true;
    QColor m_shadowColor = QColor(128, 128, 128);
    int m_shadowOffset = 2;

    int m_top = 0;
    bool m_complete = false;
    QPixmap m_bitmap;
    QTimer m_timer;
};
