#include "editor/sidepanel/termlistbox.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace {

// Each item keeps its term exactly; the text shown has its line breaks made plain.
constexpr int TermRole = Qt::UserRole;

QString shownText(QString term) {
    term.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    term.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    term.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    term.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return term;
}

} // namespace

TermListBox::TermListBox(QWidget *parent)
    : QListWidget(parent) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    setFont(font);
    setFocusPolicy(Qt::ClickFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAccessibleName(QStringLiteral("Text Term Box"));
    setToolTip(QStringLiteral("Text Term Box"));
    setStatusTip(QStringLiteral("DblClk to bring copy you Text Term to the Memo"));
}

QStringList TermListBox::terms() const {
    QStringList all;
    all.reserve(count());
    for (int row = 0; row < count(); ++row)
        all << item(row)->data(TermRole).toString();
    return all;
}

void TermListBox::setTerms(const QStringList &terms) {
    clear();
    for (const QString &term : terms)
        addTerm(term);
}

void TermListBox::addTerm(const QString &term) {
    auto *entry = new QListWidgetItem(shownText(term));
    entry->setData(TermRole, term);
    addItem(entry);
}

std::optional<QString> TermListBox::selectedTerm() const {
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->data(TermRole).toString();
}

void TermListBox::deleteSelectedTerm() {
    const QList<QListWidgetItem *> selected = selectedItems();
    if (!selected.isEmpty())
        delete takeItem(row(selected.first()));
}

void TermListBox::clearTerms() {
    clear();
}

void TermListBox::focusOutEvent(QFocusEvent *event) {
    QListWidget::focusOutEvent(event);
    // Opening its popup menu or switching to another window does not leave the list.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit exited();
}

void TermListBox::mouseDoubleClickEvent(QMouseEvent *event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit termDoubleClicked();
}
