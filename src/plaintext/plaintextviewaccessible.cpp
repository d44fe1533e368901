#include "plaintext/plaintextviewaccessible.h"

#include "plaintext/plaintextview.h"
#include "widgets/accessibletextboundaries.h"

namespace {

QAccessibleInterface *plainTextViewFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("PlainTextView") && object && object->isWidgetType())
        return new PlainTextViewAccessible(static_cast<PlainTextView *>(object));
    return nullptr;
}

} // namespace

PlainTextViewAccessible::PlainTextViewAccessible(PlainTextView *view)
    : QAccessibleWidget(view, QAccessible::EditableText) {}

void PlainTextViewAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(plainTextViewFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

PlainTextView *PlainTextViewAccessible::view() const {
    return static_cast<PlainTextView *>(widget());
}

void *PlainTextViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State PlainTextViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString PlainTextViewAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return view()->text();
    return QAccessibleWidget::text(type);
}

void PlainTextViewAccessible::selection(int selectionIndex, int *startOffset,
                                        int *endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || view()->selectionStart() == view()->selectionEnd())
        return;
    *startOffset = view()->selectionStart();
    *endOffset = view()->selectionEnd();
}

int PlainTextViewAccessible::selectionCount() const {
    return view()->selectionStart() == view()->selectionEnd() ? 0 : 1;
}

void PlainTextViewAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void PlainTextViewAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        view()->select(view()->position(), view()->position(), false);
}

void PlainTextViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        view()->select(startOffset, endOffset);
}

int PlainTextViewAccessible::cursorPosition() const {
    return view()->position();
}

void PlainTextViewAccessible::setCursorPosition(int position) {
    view()->select(position, position);
}

QString PlainTextViewAccessible::text(int startOffset, int endOffset) const {
    const int length = view()->length();
    const int start = qBound(0, qMin(startOffset, endOffset), length);
    const int end = qBound(0, qMax(startOffset, endOffset), length);
    return view()->buffer().text(start, end);
}

int PlainTextViewAccessible::characterCount() const {
    return view()->length();
}

QRect PlainTextViewAccessible::characterRect(int offset) const {
    // The view lays out only the lines it shows and keeps no places of characters.
    Q_UNUSED(offset);
    return {};
}

int PlainTextViewAccessible::offsetAtPoint(const QPoint &point) const {
    Q_UNUSED(point);
    return -1;
}

void PlainTextViewAccessible::scrollToSubstring(int startIndex, int endIndex) {
    Q_UNUSED(endIndex);
    // Scrolling follows the caret, so the substring's start becomes the caret.
    view()->select(startIndex, startIndex);
}

QString PlainTextViewAccessible::attributes(int offset, int *startOffset, int *endOffset) const {
    Q_UNUSED(offset);
    // Plain text has one format throughout.
    *startOffset = 0;
    *endOffset = view()->length();
    return {};
}

void PlainTextViewAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void PlainTextViewAccessible::insertText(int offset, const QString &text) {
    replaceText(offset, offset, text);
}

void PlainTextViewAccessible::replaceText(int startOffset, int endOffset, const QString &text) {
    const int length = view()->length();
    view()->replaceRange(qBound(0, qMin(startOffset, endOffset), length),
                         qBound(0, qMax(startOffset, endOffset), length), text);
}

QString PlainTextViewAccessible::textAtOffset(int offset,
                                              QAccessible::TextBoundaryType boundaryType,
                                              int *startOffset, int *endOffset) const {
    return AccessibleTextBoundaries::textAtOffset(*this, offset, boundaryType, startOffset,
                                                  endOffset);
}
