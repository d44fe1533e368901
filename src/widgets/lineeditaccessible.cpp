#include "widgets/lineeditaccessible.h"

#include "widgets/accessibletextboundaries.h"
#include "widgets/spinboxaccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

QAccessibleInterface *lineEditFactory(const QString &className, QObject *object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("QLineEdit"))
        return new LineEditAccessible(static_cast<QLineEdit *>(object));
    if (className == QLatin1String("QSpinBox") || className == QLatin1String("QDoubleSpinBox"))
        return SpinBoxAccessible::create(static_cast<QAbstractSpinBox *>(object));
    return nullptr;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit *edit)
    : LineEditAccessible(edit, edit, QAccessible::EditableText) {}

LineEditAccessible::LineEditAccessible(QWidget *widget, QLineEdit *edit, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
    , m_edit(edit) {}

void LineEditAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(lineEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString LineEditAccessible::shownText() const {
    switch (edit()->echoMode()) {
    case QLineEdit::Normal:
        return edit()->text();
    case QLineEdit::NoEcho:
        return QString();
    default:
        return QString(edit()->text().size(), QLatin1Char('*'));
    }
}

void *LineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LineEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !edit()->isReadOnly();
    state.readOnly = edit()->isReadOnly();
    state.selectableText = true;
    state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
    if (edit()->hasSelectedText())
        state.selected = true;
    return state;
}

QString LineEditAccessible::text(QAccessible::Text type) const {
    QString text;
    if (type == QAccessible::Value)
        text = shownText();
    if (text.isEmpty())
        text = QAccessibleWidget::text(type);
    if (text.isEmpty() && type == QAccessible::Description)
        text = edit()->placeholderText();
    return text;
}

void LineEditAccessible::setText(QAccessible::Text type, const QString &text) {
    if (type != QAccessible::Value) {
        QAccessibleWidget::setText(type, text);
        return;
    }
    if (!edit()->isReadOnly())
        edit()->setText(text);
}

void LineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText())
        return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int LineEditAccessible::selectionCount() const {
    return edit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        edit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const int count = characterCount();
    startOffset = qBound(0, startOffset, count);
    endOffset = qBound(0, endOffset, count);
    edit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const {
    return edit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    edit()->setCursorPosition(qBound(0, position, characterCount()));
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    const QString all = shownText();
    startOffset = qBound(0, startOffset, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : qBound(startOffset, endOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const {
    return int(edit()->text().size());
}

QRect LineEditAccessible::characterRect(int offset) const {
    // Measured from where the text starts; a text scrolled sideways is not followed.
    const QString all = edit()->displayText();
    offset = qBound(0, offset, int(all.size()));
    QStyleOptionFrame option;
    option.initFrom(edit());
    const QRect area =
        edit()->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit()) -
        edit()->textMargins();
    const QFontMetrics metrics(edit()->font());
    const int x = area.left() + 2 + metrics.horizontalAdvance(all.left(offset));
    const int width = offset < all.size() ? metrics.horizontalAdvance(all.at(offset)) : 1;
    const int top = area.top() + (area.height() - metrics.height()) / 2;
    return QRect(edit()->mapToGlobal(QPoint(x, top)), QSize(width, metrics.height()));
}

int LineEditAccessible::offsetAtPoint(const QPoint &point) const {
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    Q_UNUSED(endIndex);
    setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const {
    *startOffset = *endOffset = offset;
    return QString();
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const {
    return AccessibleTextBoundaries::textAtOffset(*this, offset, boundaryType, startOffset,
                                                  endOffset);
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString &text) {
    replaceText(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text) {
    if (edit()->isReadOnly())
        return;
    // Through the box's own editing, so that its validator and limits apply.
    setSelection(0, startOffset, endOffset);
    edit()->insert(text);
}
