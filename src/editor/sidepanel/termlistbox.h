#pragma once

#include <QListWidget>
#include <QStringList>
#include <optional>

// The term box: reusable text snippets ("terms"), one per item, in the order they were added.
// The Tab key skips it. It tells when it loses the keyboard focus, which is when its owner saves
// the terms.
class TermListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TermListBox(QWidget *parent = nullptr);

    QStringList terms() const;
    void setTerms(const QStringList &terms);
    // Appends a term unchanged: it may be empty and may hold line breaks.
    void addTerm(const QString &term);
    // The selected term; nothing when none is selected.
    std::optional<QString> selectedTerm() const;
    // Deletes the selected term; with none selected, nothing.
    void deleteSelectedTerm();
    void clearTerms();

signals:
    // The list lost the keyboard focus to another control of its window.
    void exited();
    // A double click anywhere on the list.
    void termDoubleClicked();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
