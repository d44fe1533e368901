#include "editor/journal/journalrestoredialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TJournalRestoreDialog::TJournalRestoreDialog(const QList<JournalStore::Found> &journals,
                                             QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("JournalRestoreDialog"));
    setWindowTitle(caption());
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(question(), this);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("JournalList"));
    m_list->setAccessibleName(QStringLiteral("Unsaved Documents"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Time"), QStringLiteral("First Line")});
    for (const JournalStore::Found &found : journals) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, found.entry.documentName);
        item->setText(
            1, QLocale::system().toString(found.entry.time.toLocalTime(), QLocale::ShortFormat));
        item->setText(2, found.entry.firstLine);
        item->setToolTip(0, found.entry.documentName);
        item->setSelected(true);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox(this);
    const auto add = [this, buttons](const QString &text, Choice choice,
                                     QDialogButtonBox::ButtonRole role) {
        QPushButton *button = buttons->addButton(text, role);
        button->setAccessibleName(text);
        connect(button, &QPushButton::clicked, this, [this, choice] { choose(choice); });
        return button;
    };
    QPushButton *restore =
        add(QStringLiteral("Restore"), Choice::Restore, QDialogButtonBox::AcceptRole);
    add(QStringLiteral("Discard"), Choice::Discard, QDialogButtonBox::DestructiveRole);
    add(QStringLiteral("Later"), Choice::Later, QDialogButtonBox::RejectRole);
    restore->setDefault(true);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this, restore] { restore->setEnabled(!m_list->selectedItems().isEmpty()); });
    layout->addWidget(buttons);
    resize(560, 300);
}

QString TJournalRestoreDialog::caption() {
    return QStringLiteral("Restore Unsaved Documents");
}

QString TJournalRestoreDialog::question() {
    return QStringLiteral("Quillet Vado ended without saving these documents. Restore them?");
}

QList<int> TJournalRestoreDialog::selectedRows() const {
    QList<int> rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->isSelected())
            rows.append(i);
    }
    return rows;
}

void TJournalRestoreDialog::choose(Choice choice) {
    m_choice = choice;
    if (choice == Choice::Later)
        reject();
    else
        accept();
}
