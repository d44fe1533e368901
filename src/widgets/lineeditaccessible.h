#pragma once

#include <QAccessibleWidget>

class QLineEdit;

// What assistive technology sees of a one-line text box: editable text with its caret and
// selection, as Qt's own interface shows it, but with words and sentences found by a search that
// returns (Qt's own never does where no word ends before the end of the text, which froze the
// program when a screen reader asked for the word at the caret in the font size box).
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit *edit);

    // Registers the factory that gives every QLineEdit this interface, and spin boxes theirs
    // (SpinBoxAccessible); once is enough.
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    // For a widget whose text is that of a box inside it (a spin box).
    LineEditAccessible(QWidget *widget, QLineEdit *edit, QAccessible::Role role);
    QLineEdit *edit() const { return m_edit; }

private:
    // The text as a client may read it: none of a password.
    QString shownText() const;

    QLineEdit *m_edit;
};
