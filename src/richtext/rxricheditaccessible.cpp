#include "richtext/rxricheditaccessible.h"

#include "richtext/rxrichedit.h"
#include "widgets/accessibletextboundaries.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QAccessibleInterface *richEditFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("TRxRichEdit") && object && object->isWidgetType())
        return new TRxRichEditAccessible(static_cast<TRxRichEdit *>(object));
    return nullptr;
}

// Offsets count characters as the document holds them, a paragraph break as one.
QTextCursor cursorOver(QTextDocument *document, int start, int end) {
    const int last = document->characterCount() - 1;
    QTextCursor cursor(document);
    cursor.setPosition(qBound(0, start, last));
    cursor.setPosition(qBound(0, end, last), QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace

TRxRichEditAccessible::TRxRichEditAccessible(TRxRichEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

void TRxRichEditAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(richEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

TRxRichEdit *TRxRichEditAccessible::edit() const {
    return static_cast<TRxRichEdit *>(widget());
}

void *TRxRichEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TRxRichEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !edit()->isReadOnly();
    state.readOnly = edit()->isReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    state.hasPopup = edit()->PopupMenu() != nullptr;
    return state;
}

QString TRxRichEditAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return edit()->toPlainText();
    return QAccessibleWidget::text(type);
}

QAccessibleInterface *TRxRichEditAccessible::shownMenu() const {
    QMenu *menu = edit()->PopupMenu();
    return menu && menu->isVisible() ? QAccessible::queryAccessibleInterface(menu) : nullptr;
}

int TRxRichEditAccessible::childCount() const {
    return QAccessibleWidget::childCount() + (shownMenu() ? 1 : 0);
}

QAccessibleInterface *TRxRichEditAccessible::child(int index) const {
    const int own = QAccessibleWidget::childCount();
    if (index == own)
        return shownMenu();
    return QAccessibleWidget::child(index);
}

int TRxRichEditAccessible::indexOfChild(const QAccessibleInterface *child) const {
    if (child && child == shownMenu())
        return QAccessibleWidget::childCount();
    return QAccessibleWidget::indexOfChild(child);
}

QStringList TRxRichEditAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (edit()->PopupMenu() && edit()->isEnabled())
        names << showMenuAction();
    return names;
}

void TRxRichEditAccessible::doAction(const QString &actionName) {
    if (actionName != showMenuAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // As the menu key does: the menu opens at the caret. Posted, so that the client's call
    // returns before the menu runs.
    const QPoint at = edit()->cursorRect().center();
    QCoreApplication::postEvent(
        edit(), new QContextMenuEvent(QContextMenuEvent::Keyboard, at, edit()->mapToGlobal(at)));
}

void TRxRichEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = edit()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int TRxRichEditAccessible::selectionCount() const {
    return edit()->textCursor().hasSelection() ? 1 : 0;
}

void TRxRichEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TRxRichEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = edit()->textCursor();
    cursor.clearSelection();
    edit()->setTextCursor(cursor);
}

void TRxRichEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        edit()->setTextCursor(cursorOver(edit()->document(), startOffset, endOffset));
}

int TRxRichEditAccessible::cursorPosition() const {
    return edit()->textCursor().position();
}

void TRxRichEditAccessible::setCursorPosition(int position) {
    setSelection(0, position, position);
}

QString TRxRichEditAccessible::text(int startOffset, int endOffset) const {
    QString text = cursorOver(edit()->document(), startOffset, endOffset).selectedText();
    // A client reads paragraph breaks as line ends.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

int TRxRichEditAccessible::characterCount() const {
    return edit()->document()->characterCount() - 1;
}

QRect TRxRichEditAccessible::characterRect(int offset) const {
    const QTextCursor cursor = cursorOver(edit()->document(), offset, offset);
    QRect rect = edit()->cursorRect(cursor);
    const QRect next = edit()->cursorRect(cursorOver(edit()->document(), offset + 1, offset + 1));
    if (next.top() == rect.top() && next.left() > rect.left())
        rect.setRight(next.left());
    return QRect(edit()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int TRxRichEditAccessible::offsetAtPoint(const QPoint &point) const {
    const QPoint local = edit()->viewport()->mapFromGlobal(point);
    return edit()->cursorForPosition(local).position();
}

void TRxRichEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    const QTextCursor saved = edit()->textCursor();
    edit()->setTextCursor(cursorOver(edit()->document(), endIndex, endIndex));
    edit()->ensureCursorVisible();
    edit()->setTextCursor(cursorOver(edit()->document(), startIndex, startIndex));
    edit()->ensureCursorVisible();
    edit()->setTextCursor(saved);
}

QString TRxRichEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const {
    // Reported run by run of equal format, as far as the paragraph goes.
    const QTextBlock block = edit()->document()->findBlock(offset);
    *startOffset = *endOffset = offset;
    if (!block.isValid())
        return {};
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (offset < fragment.position() || offset >= fragment.position() + fragment.length())
            continue;
        *startOffset = fragment.position();
        *endOffset = fragment.position() + fragment.length();
        const QTextCharFormat format = fragment.charFormat();
        QStringList attributes;
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            attributes << QStringLiteral("font-family:\"%1\"").arg(families.first());
        if (format.fontPointSize() > 0)
            attributes << QStringLiteral("font-size:%1pt").arg(format.fontPointSize());
        if (format.fontWeight() >= QFont::Bold)
            attributes << QStringLiteral("font-weight:bold");
        if (format.fontItalic())
            attributes << QStringLiteral("font-style:italic");
        if (format.fontUnderline())
            attributes << QStringLiteral("text-underline-style:solid");
        return attributes.join(QLatin1Char(';'));
    }
    return {};
}

void TRxRichEditAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void TRxRichEditAccessible::insertText(int offset, const QString &text) {
    replaceText(offset, offset, text);
}

void TRxRichEditAccessible::replaceText(int startOffset, int endOffset, const QString &text) {
    // Through the control's own replacement, so protected text stays protected.
    edit()->SelectRange(startOffset, endOffset, true);
    edit()->SetSelText(text);
}

QString TRxRichEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const {
    return AccessibleTextBoundaries::textAtOffset(*this, offset, boundaryType, startOffset,
                                                  endOffset);
}
