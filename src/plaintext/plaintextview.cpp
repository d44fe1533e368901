#include "plaintext/plaintextview.h"

#include "plaintext/plaintextviewaccessible.h"
#include "richtext/rtf/longwords.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLine>
#include <algorithm>

namespace {

// Space between the view's edge and the text.
constexpr int Margin = 4;

} // namespace

PlainTextView::PlainTextView(QWidget *parent)
    : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
    PlainTextViewAccessible::install();
    // A screen reader follows the caret, and reads the line it moved to.
    connect(this, &PlainTextView::selectionChanged, this, [this] {
        if (!QAccessible::isActive())
            return;
        QAccessibleTextCursorEvent event(this, m_caret);
        QAccessible::updateAccessibility(&event);
    });
}

PlainTextView::~PlainTextView() = default;

void PlainTextView::setText(QStringView text) {
    m_buffer.setText(text);
    m_history.clear();
    m_anchor = m_caret = 0;
    m_goalX = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
    setModified(false);
    emit textChanged();
    emit selectionChanged();
}

void PlainTextView::setModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modificationChanged(modified);
}

void PlainTextView::select(int anchor, int caret, bool scroll) {
    anchor = std::clamp(anchor, 0, length());
    caret = std::clamp(caret, 0, length());
    m_goalX = -1;
    const bool moved = anchor != m_anchor || caret != m_caret;
    m_anchor = anchor;
    m_caret = caret;
    if (scroll)
        ensureCaretVisible();
    restartBlink();
    viewport()->update();
    if (moved)
        emit selectionChanged();
}

void PlainTextView::replaceSelection(const QString &text, bool keepSelected) {
    const int start = selectionStart();
    const int end = selectionEnd();
    const int before = length();
    m_history.replace(m_buffer, start, end, text, m_anchor, m_caret);
    // What went in, measured in the buffer (which turns CR LF into one break).
    const int newEnd = start + (length() - before) + (end - start);
    edited(keepSelected ? start : newEnd, newEnd);
}

void PlainTextView::replaceRange(int start, int end, const QString &text) {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    const int before = length();
    m_history.replace(m_buffer, start, end, text, m_anchor, m_caret);
    const int delta = length() - before;
    const auto moved = [&](int position) {
        if (position >= end)
            return position + delta;
        return position > start ? start : position;
    };
    edited(moved(m_anchor), moved(m_caret));
}

void PlainTextView::edited(int anchor, int caret) {
    m_anchor = std::clamp(anchor, 0, length());
    m_caret = std::clamp(caret, 0, length());
    m_goalX = -1;
    updateScrollBars();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
    setModified(true);
    emit textChanged();
    emit selectionChanged();
}

void PlainTextView::undo() {
    if (!canUndo())
        return;
    const auto [anchor, caret] = m_history.undo(m_buffer);
    edited(anchor, caret);
}

void PlainTextView::redo() {
    if (!canRedo())
        return;
    const auto [anchor, caret] = m_history.redo(m_buffer);
    edited(anchor, caret);
}

void PlainTextView::cut() {
    if (selectionStart() == selectionEnd())
        return;
    copy();
    replaceSelection(QString());
}

void PlainTextView::copy() const {
    if (selectionStart() == selectionEnd())
        return;
    QString text = selectedText();
    QGuiApplication::clipboard()->setText(text);
}

void PlainTextView::paste() {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return;
    replaceSelection(data->text());
}

void PlainTextView::setWordWrap(bool on) {
    if (m_wordWrap == on)
        return;
    m_wordWrap = on;
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    ensureCaretVisible();
    viewport()->update();
}

int PlainTextView::caretLine() const {
    return m_buffer.lineOf(m_caret);
}

int PlainTextView::caretColumn() const {
    return m_caret - m_buffer.lineStart(caretLine());
}

int PlainTextView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

int PlainTextView::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int PlainTextView::wrapWidth() const {
    return std::max(20, viewport()->width() - 2 * Margin);
}

std::unique_ptr<QTextLayout> PlainTextView::layoutLine(int line) const {
    const QString text = m_buffer.lineText(line);
    auto layout = std::make_unique<QTextLayout>(text, font());
    QTextOption option;
    option.setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    if (!m_wordWrap)
        option.setWrapMode(QTextOption::NoWrap);
    else if (LongWords::hasLongWord(text))
        option.setWrapMode(QTextOption::WrapAnywhere);
    else
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine row = layout->createLine();
        if (!row.isValid())
            break;
        if (m_wordWrap)
            row.setLineWidth(wrapWidth());
        row.setPosition(QPointF(0, y));
        y += lineHeight();
    }
    layout->endLayout();
    return layout;
}

int PlainTextView::displayLines(int line) const {
    return m_wordWrap ? std::max(1, layoutLine(line)->lineCount()) : 1;
}

void PlainTextView::updateScrollBars() {
    const int rows = std::max(1, viewport()->height() / lineHeight());
    QScrollBar *vertical = verticalScrollBar();
    vertical->setPageStep(rows);
    vertical->setRange(0, std::max(0, m_buffer.lineCount() - rows));
    QScrollBar *horizontal = horizontalScrollBar();
    if (m_wordWrap) {
        horizontal->setRange(0, 0);
        return;
    }
    // The widest line is estimated from the longest one, so that no line needs measuring.
    const int widest = m_buffer.longestLine() * fontMetrics().averageCharWidth() + 2 * Margin +
                       fontMetrics().maxWidth();
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(fontMetrics().averageCharWidth() * 4);
    horizontal->setRange(0, std::max(0, widest - viewport()->width()));
}

void PlainTextView::ensureCaretVisible() {
    const int line = caretLine();
    QScrollBar *vertical = verticalScrollBar();
    const int height = viewport()->height();
    if (line < vertical->value()) {
        vertical->setValue(line);
    } else {
        // The caret's line and the lines above it fill the view from its bottom up.
        auto caretLayout = layoutLine(line);
        const int column = m_caret - m_buffer.lineStart(line);
        const QTextLine row = caretLayout->lineForTextPosition(column);
        int used = (row.isValid() ? row.lineNumber() + 1 : 1) * lineHeight();
        int top = line;
        while (top > vertical->value()) {
            const int above = displayLines(top - 1) * lineHeight();
            if (used + above > height)
                break;
            used += above;
            --top;
        }
        if (top > vertical->value())
            vertical->setValue(top);
    }
    if (m_wordWrap)
        return;
    QScrollBar *horizontal = horizontalScrollBar();
    const int x = int(caretX()) + Margin;
    const int width = viewport()->width();
    if (x < horizontal->value())
        horizontal->setValue(std::max(0, x - width / 3));
    else if (x > horizontal->value() + width - Margin) {
        if (x > horizontal->maximum())
            horizontal->setMaximum(x);
        horizontal->setValue(x - width + width / 3);
    }
}

qreal PlainTextView::caretX() const {
    const int line = caretLine();
    auto layout = layoutLine(line);
    const int column = m_caret - m_buffer.lineStart(line);
    const QTextLine row = layout->lineForTextPosition(column);
    return row.isValid() ? row.cursorToX(column) : 0;
}

int PlainTextView::positionRowsAway(int rows, qreal x) const {
    int line = caretLine();
    auto layout = layoutLine(line);
    int column = m_caret - m_buffer.lineStart(line);
    QTextLine row = layout->lineForTextPosition(column);
    int rowIndex = row.isValid() ? row.lineNumber() : 0;
    while (rows != 0) {
        if (rows > 0) {
            if (rowIndex + 1 < layout->lineCount()) {
                ++rowIndex;
            } else if (line + 1 < m_buffer.lineCount()) {
                layout = layoutLine(++line);
                rowIndex = 0;
            } else {
                return length();
            }
            --rows;
        } else {
            if (rowIndex > 0) {
                --rowIndex;
            } else if (line > 0) {
                layout = layoutLine(--line);
                rowIndex = std::max(0, layout->lineCount() - 1);
            } else {
                return 0;
            }
            ++rows;
        }
    }
    const QTextLine target = layout->lineAt(rowIndex);
    const int at = target.isValid() ? target.xToCursor(x) : 0;
    return m_buffer.lineStart(line) + at;
}

int PlainTextView::positionAt(const QPoint &point) const {
    int line = firstVisibleLine();
    int y = 0;
    const int x = point.x() - Margin + horizontalScrollBar()->value();
    if (point.y() < 0)
        return m_buffer.lineStart(std::max(0, line - 1));
    for (; line < m_buffer.lineCount(); ++line) {
        auto layout = layoutLine(line);
        const int height = std::max(1, layout->lineCount()) * lineHeight();
        if (point.y() < y + height || line + 1 == m_buffer.lineCount()) {
            const int rowIndex =
                std::clamp((point.y() - y) / lineHeight(), 0, std::max(0, layout->lineCount() - 1));
            const QTextLine row = layout->lineAt(rowIndex);
            return m_buffer.lineStart(line) + (row.isValid() ? row.xToCursor(x) : 0);
        }
        y += height;
    }
    return length();
}

void PlainTextView::paintEvent(QPaintEvent *) {
    QPainter painter(viewport());
    const QPalette &colors = palette();
    const int height = viewport()->height();
    const int selStart = selectionStart();
    const int selEnd = selectionEnd();
    const bool focused = hasFocus();
    const qreal left = Margin - horizontalScrollBar()->value();
    painter.setPen(colors.color(QPalette::Text));
    int y = 0;
    for (int line = firstVisibleLine(); line < m_buffer.lineCount() && y < height; ++line) {
        auto layout = layoutLine(line);
        const int start = m_buffer.lineStart(line);
        const int end = start + m_buffer.lineLength(line);
        QList<QTextLayout::FormatRange> selections;
        if (selStart < selEnd && selStart <= end && selEnd > start) {
            QTextLayout::FormatRange range;
            range.start = std::max(selStart, start) - start;
            range.length = std::min(selEnd, end) - start - range.start;
            range.format.setBackground(colors.brush(QPalette::Highlight));
            range.format.setForeground(colors.brush(QPalette::HighlightedText));
            selections.append(range);
        }
        layout->draw(&painter, QPointF(left, y), selections);
        // A selected line break shows as a small selected space after the line.
        if (selStart <= end && selEnd > end) {
            const QTextLine last = layout->lineAt(std::max(0, layout->lineCount() - 1));
            const qreal x = left + (last.isValid() ? last.naturalTextWidth() : 0);
            painter.fillRect(QRectF(x, y + (layout->lineCount() - 1) * lineHeight(),
                                    fontMetrics().averageCharWidth(), lineHeight()),
                             colors.brush(QPalette::Highlight));
        }
        if (focused && m_caretShown && m_caret >= start && m_caret <= end)
            layout->drawCursor(&painter, QPointF(left, y), m_caret - start, 1);
        y += std::max(1, layout->lineCount()) * lineHeight();
    }
}

void PlainTextView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PlainTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

void PlainTextView::changeEvent(QEvent *event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateScrollBars();
        viewport()->update();
    }
}

bool PlainTextView::focusNextPrevChild(bool) {
    // Tab is a character here.
    return false;
}

void PlainTextView::moveCaret(int position, bool extend) {
    const qreal goal = m_goalX;
    select(extend ? m_anchor : position, position);
    m_goalX = goal;
}

int PlainTextView::wordStart(int position) const {
    const auto word = [this](int at) {
        const QChar c = m_buffer.at(at);
        return c.isLetterOrNumber() || c == QLatin1Char('_');
    };
    while (position > 0 && !word(position - 1))
        --position;
    while (position > 0 && word(position - 1))
        --position;
    return position;
}

int PlainTextView::wordEnd(int position) const {
    const auto word = [this](int at) {
        const QChar c = m_buffer.at(at);
        return c.isLetterOrNumber() || c == QLatin1Char('_');
    };
    while (position < length() && !word(position))
        ++position;
    while (position < length() && word(position))
        ++position;
    return position;
}

void PlainTextView::keyPressEvent(QKeyEvent *event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int line = caretLine();
    const auto vertical = [&](int rows) {
        if (m_goalX < 0)
            m_goalX = caretX();
        moveCaret(positionRowsAway(rows, m_goalX), shift);
    };
    if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        paste();
    } else if (event == QKeySequence::Undo) {
        undo();
    } else if (event == QKeySequence::Redo) {
        redo();
    } else {
        switch (event->key()) {
        case Qt::Key_Left:
            if (!shift && selectionStart() != selectionEnd())
                moveCaret(selectionStart(), false);
            else
                moveCaret(control ? wordStart(m_caret) : std::max(0, m_caret - 1), shift);
            break;
        case Qt::Key_Right:
            if (!shift && selectionStart() != selectionEnd())
                moveCaret(selectionEnd(), false);
            else
                moveCaret(control ? wordEnd(m_caret) : std::min(length(), m_caret + 1), shift);
            break;
        case Qt::Key_Up:
            vertical(-1);
            break;
        case Qt::Key_Down:
            vertical(1);
            break;
        case Qt::Key_PageUp:
            vertical(-std::max(1, verticalScrollBar()->pageStep() - 1));
            break;
        case Qt::Key_PageDown:
            vertical(std::max(1, verticalScrollBar()->pageStep() - 1));
            break;
        case Qt::Key_Home:
            moveCaret(control ? 0 : m_buffer.lineStart(line), shift);
            break;
        case Qt::Key_End:
            moveCaret(control ? length() : m_buffer.lineStart(line) + m_buffer.lineLength(line),
                      shift);
            break;
        case Qt::Key_Backspace:
            if (selectionStart() != selectionEnd())
                replaceSelection(QString());
            else if (m_caret > 0)
                replaceRange(m_caret - 1, m_caret, QString());
            break;
        case Qt::Key_Delete:
            if (selectionStart() != selectionEnd())
                replaceSelection(QString());
            else if (m_caret < length())
                replaceRange(m_caret, m_caret + 1, QString());
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            replaceSelection(QStringLiteral("\n"));
            break;
        default: {
            const QString text = event->text();
            if (text.isEmpty() || control || !(text[0].isPrint() || text[0] == QLatin1Char('\t'))) {
                event->ignore();
                return;
            }
            m_history.replace(m_buffer, selectionStart(), selectionEnd(), text, m_anchor, m_caret,
                              true);
            const int caret = selectionStart() + int(text.size());
            edited(caret, caret);
            break;
        }
        }
    }
    event->accept();
}

void PlainTextView::inputMethodEvent(QInputMethodEvent *event) {
    if (!event->commitString().isEmpty())
        replaceSelection(event->commitString());
    event->accept();
}

QVariant PlainTextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImCursorPosition:
        return caretColumn();
    case Qt::ImSurroundingText:
        return m_buffer.lineText(caretLine());
    case Qt::ImCurrentSelection:
        return selectedText();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void PlainTextView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_selectingWords = false;
    const int position = positionAt(event->position().toPoint());
    select(event->modifiers() & Qt::ShiftModifier ? m_anchor : position, position);
}

void PlainTextView::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past the top or the bottom scrolls a line at a time.
    if (point.y() < 0)
        verticalScrollBar()->setValue(firstVisibleLine() - 1);
    else if (point.y() > viewport()->height())
        verticalScrollBar()->setValue(firstVisibleLine() + 1);
    int position = positionAt(point);
    if (m_selectingWords)
        position = position >= m_anchor ? wordEnd(position) : wordStart(position);
    select(m_anchor, position, false);
}

void PlainTextView::mouseReleaseEvent(QMouseEvent *event) {
    event->setAccepted(event->button() == Qt::LeftButton);
}

void PlainTextView::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int position = positionAt(event->position().toPoint());
    const QChar c = m_buffer.at(position);
    if (!(c.isLetterOrNumber() || c == QLatin1Char('_'))) {
        select(position, position);
        return;
    }
    m_selectingWords = true;
    select(wordStart(position + 1), wordEnd(position));
}

void PlainTextView::focusInEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void PlainTextView::focusOutEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (m_blinkTimer)
        killTimer(m_blinkTimer);
    m_blinkTimer = 0;
    viewport()->update();
}

void PlainTextView::restartBlink() {
    m_caretShown = true;
    if (m_blinkTimer)
        killTimer(m_blinkTimer);
    m_blinkTimer = 0;
    const int interval = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (hasFocus() && interval > 0)
        m_blinkTimer = startTimer(interval);
}

void PlainTextView::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_blinkTimer) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    m_caretShown = !m_caretShown;
    viewport()->update();
}
