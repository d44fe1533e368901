#include "tools/moviescroll.h"

#include "tools/moviemarkup.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

namespace {
constexpr int DefaultInterval = 40;
constexpr int CompletePointSize = 20;
} // namespace

TMovieScroll::TMovieScroll(QWidget *parent)
    : QWidget(parent) {
    // The whole area is painted every time; nothing behind shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Credits"));
    m_defaultFont = QFont(QStringLiteral("Courier New"));
    m_defaultFont.setPointSize(9);
    resize(sizeHint());
    Resize();
    m_timer.setInterval(DefaultInterval);
    connect(&m_timer, &QTimer::timeout, this, &TMovieScroll::Step);
    m_timer.start();
}

void TMovieScroll::SetDefaultFont(const QFont &font, const QColor &color) {
    m_defaultFont = font;
    m_defaultColor = color;
}

void TMovieScroll::Step() {
    --m_top;
    if (isVisible())
        repaint();
    else
        Render();
}

void TMovieScroll::Resize() {
    m_top = height() + 1;
    m_bitmap = QPixmap(size());
}

void TMovieScroll::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Resize();
}

void TMovieScroll::paintEvent(QPaintEvent *) {
    const QPixmap &picture = Render();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

const QPixmap &TMovieScroll::Render() {
    if (m_bitmap.size() != size())
        Resize();
    if (m_bitmap.isNull())
        return m_bitmap;
    m_bitmap.fill(m_backColor);
    QPainter painter(&m_bitmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawLines(painter);
    return m_bitmap;
}

void TMovieScroll::drawLines(QPainter &painter) {
    MovieMarkup markup;
    int h = 0;
    int lastHeight = 0;
    for (const QString &source : std::as_const(m_scrollText)) {
        const MovieLine line = markup.parseLine(source);
        const QFont font = line.font(m_defaultFont);
        const QColor color = line.textColor(m_defaultColor);
        const QFontMetrics metrics(font, &m_bitmap);
        painter.setFont(font);
        const int y = m_top + h;
        const int x = line.centered ? (width() - metrics.horizontalAdvance(line.text)) / 2 : 1;
        if (m_shadow) {
            painter.setPen(m_shadowColor);
            painter.drawText(x + m_shadowOffset, y + m_shadowOffset + metrics.ascent(), line.text);
        }
        painter.setPen(color);
        painter.drawText(x, y + metrics.ascent(), line.text);
        // An empty line advances by the height of "W", which is the font's line height.
        lastHeight = metrics.height();
        h += lastHeight;
    }
    if (lastHeight + m_top + h >= 0)
        return;
    if (m_loop) {
        m_top = height() + 1;
        return;
    }
    m_timer.stop();
    m_complete = true;
    QFont font = m_defaultFont;
    font.setPointSize(CompletePointSize);
    font.setBold(true);
    const QFontMetrics metrics(font, &m_bitmap);
    painter.setFont(font);
    painter.setPen(m_defaultColor);
    const int x = (width() - metrics.horizontalAdvance(m_completeText)) / 2;
    const int y = (height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), m_completeText);
}
