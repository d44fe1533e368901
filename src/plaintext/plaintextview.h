#pragma once

#include "plaintext/plaintextbuffer.h"
#include "plaintext/plaintexthistory.h"

#include <QAbstractScrollArea>
#include <QTextLayout>
#include <memory>

// A plain-text editing area that lays out and paints only the lines in view, over a
// PlainTextBuffer: opening a file of millions of lines costs the buffer and its line index, never
// a layout of the whole text. Caret, selection by mouse and keys, typing, Backspace, Delete,
// Enter, undo and redo, the clipboard and word wrap. The vertical scroll bar counts lines (the
// top line of the view); with word wrap on, lines wrap at the view's width as they are shown.
// Positions count characters from 0, a line break as one.
class PlainTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit PlainTextView(QWidget *parent = nullptr);
    ~PlainTextView() override;

    const PlainTextBuffer &buffer() const { return m_buffer; }

    // Replaces everything: caret at 0, no undo history, unmodified.
    void setText(QStringView text);
    QString text() const { return m_buffer.toString(); }
    int length() const { return m_buffer.length(); }

    int anchor() const { return m_anchor; }
    int position() const { return m_caret; }
    int selectionStart() const { return std::min(m_anchor, m_caret); }
    int selectionEnd() const { return std::max(m_anchor, m_caret); }
    QString selectedText() const { return m_buffer.text(selectionStart(), selectionEnd()); }
    // Puts the anchor and the caret (clamped to the text); scrolls the caret into view when asked.
    void select(int anchor, int caret, bool scroll = true);
    void selectAll() { select(0, length(), false); }
    // Replaces the selection by `text` as one undo step; with `keepSelected` the new text is
    // left selected, otherwise the caret follows it.
    void replaceSelection(const QString &text, bool keepSelected = false);
    // Replaces [start, end) as one undo step, the selection moving with the text around it.
    void replaceRange(int start, int end, const QString &text);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    void undo();
    void redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    void setUndoLimit(int limit) { m_history.setLimit(limit); }
    // Every edit between the two is one undo step; calls nest.
    void beginUndoGroup() { m_history.beginGroup(); }
    void endUndoGroup() { m_history.endGroup(); }

    void cut();
    void copy() const;
    void paste();

    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);

    // The zero-based line and column of the caret in the text: a wrapped line counts as one, so
    // that finding the caret's line never needs the layout of the lines above it.
    int caretLine() const;
    int caretColumn() const;
    // The top line in view.
    int firstVisibleLine() const;
    void ensureCaretVisible();

signals:
    // After every change of the text.
    void textChanged();
    // After every move of the caret or the anchor.
    void selectionChanged();
    void modificationChanged(bool modified);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent *event) override;

private:
    // A line laid out as shown (wrapped at the view's width when word wrap is on).
    std::unique_ptr<QTextLayout> layoutLine(int line) const;
    int lineHeight() const;
    int wrapWidth() const;
    // Display lines of a logical line.
    int displayLines(int line) const;
    // The position under a point of the viewport.
    int positionAt(const QPoint &point) const;
    // The caret's x within its line's layout, and its display row within that layout.
    qreal caretX() const;
    // The position `rows` display rows below (negative: above) the caret, at x.
    int positionRowsAway(int rows, qreal x) const;
    int wordStart(int position) const;
    int wordEnd(int position) const;
    void moveCaret(int position, bool extend);
    void edited(int anchor, int caret);
    void updateScrollBars();
    void restartBlink();

    PlainTextBuffer m_buffer;
    PlainTextHistory m_history;
    int m_anchor = 0;
    int m_caret = 0;
    // The x the caret keeps while moving up and down, -1 when it is to be taken afresh.
    qreal m_goalX = -1;
    bool m_modified = false;
    bool m_wordWrap = false;
    bool m_caretShown = true;
    int m_blinkTimer = 0;
    bool m_selectingWords = false;
};
