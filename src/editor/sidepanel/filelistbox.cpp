#include "editor/sidepanel/filelistbox.h"

#include "platform/filenames.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <algorithm>

namespace {

bool matchesEverything(const QString &pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*") || pattern.isEmpty();
}

} // namespace

FileListBox::FileListBox(QWidget *parent)
    : QListWidget(parent) {
    setAccessibleName(QStringLiteral("File List"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FileListBox::setMask(const QString &mask) {
    m_mask = mask;
}

QStringList FileListBox::listFolder(const QString &folder, const QString &mask) {
    if (folder.isEmpty())
        return {};
    QStringList patterns;
    for (const QString &pattern : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (matchesEverything(trimmed)) {
            patterns.clear();
            break;
        }
        patterns << trimmed;
    }
    QDir dir(folder);
    QStringList names =
        dir.entryList(patterns, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    // Listed all the same, so that opening one says why it cannot be opened.
    QStringList unreadable = UnreadableFileNames(folder);
    if (!patterns.isEmpty()) {
        unreadable.removeIf([&patterns](const QString &name) {
            return std::none_of(patterns.begin(), patterns.end(), [&name](const QString &pattern) {
                return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                          QRegularExpression::CaseInsensitiveOption)
                    .match(name)
                    .hasMatch();
            });
        });
    }
    if (unreadable.isEmpty())
        return names;
    names += unreadable;
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

void FileListBox::setFolder(const QString &folder) {
    // Listing the same folder again keeps the highlighted entry where it was.
    const QString highlighted =
        folder == m_folder && currentItem() ? currentItem()->text() : QString();
    m_folder = folder;
    const QStringList names = listFolder(folder, m_mask);
    setUpdatesEnabled(false);
    clear();
    addItems(names);
    if (!highlighted.isEmpty()) {
        const int row = int(names.indexOf(highlighted));
        if (row >= 0)
            setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    setUpdatesEnabled(true);
}

QStringList FileListBox::entries() const {
    QStringList names;
    names.reserve(count());
    for (int row = 0; row < count(); ++row)
        names << item(row)->text();
    return names;
}

QString FileListBox::selectedPath() const {
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty() || m_folder.isEmpty())
        return {};
    return QDir(m_folder).filePath(selected.first()->text());
}

void FileListBox::clearEntries() {
    clear();
}

void FileListBox::highlightEntry(int row) {
    setUpdatesEnabled(false);
    if (row >= 0 && row < count()) {
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(row));
    } else {
        clearSelection();
    }
    setUpdatesEnabled(true);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent *event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit fileDoubleClicked();
}

void FileListBox::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}
