#pragma once

#include "journal/journalstore.h"

#include <QDialog>
#include <QList>

class QTreeWidget;

// Offers the journals of documents an ended editor left unsaved: one row each with the
// document's name, the time of the journal and its first line. "Restore" and "Discard" act on the
// selected rows (all at first); "Later" keeps every journal for the next start.
class TJournalRestoreDialog : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Restore, Discard, Later };

    explicit TJournalRestoreDialog(const QList<JournalStore::Found> &journals,
                                   QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    // The indexes of the selected journals, in the order listed.
    QList<int> selectedRows() const;
    QTreeWidget &list() const { return *m_list; }

    void choose(Choice choice);

    static QString caption();
    static QString question();

private:
    QTreeWidget *m_list = nullptr;
    Choice m_choice = Choice::Later;
};
