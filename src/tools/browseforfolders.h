#pragma once

#include <QString>

class Prompts;
class QWidget;

// The folder browser of the run-location dialog: title "Choose a Directory", folders of the file
// system only, owned by the given window.
class TBrowseForFolders {
public:
    static const QString Title;

    TBrowseForFolders(Prompts &prompts, QWidget *owner)
        : m_prompts(prompts)
        , m_owner(owner) {}

    // The chosen folder's path, or "Nothing selected" when the user cancelled.
    QString Execute(const QString &initial = QString());

private:
    Prompts &m_prompts;
    QWidget *m_owner;
};
