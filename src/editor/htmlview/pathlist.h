#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The full paths of the file list's entries, in the file list's order: what Last and Next step
// through. Rebuilt by every file open from the folder the file list then shows, emptied with the
// file list. Every entry of the file list has its place, the first one included, so that stepping
// reaches every file of the folder.
class PathList {
public:
    // `folder` is the document's folder with its closing separator; `entries` the file list's
    // names in its order.
    void rebuild(const QString &folder, const QStringList &entries);
    void clear() { m_paths.clear(); }

    const QStringList &paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }

    // The position of a document in the list, -1 when absent. A path spelled exactly so wins;
    // otherwise letter case is ignored (a dropped file's name arrives in lower case), so that two
    // files whose names differ only in case are both reachable.
    int indexOf(const QString &documentName) const;

    // Last: the path before the document's, or the last path when the document is the first or
    // not in the list. Nothing when the list is empty.
    std::optional<QString> lastTarget(const QString &documentName) const;

    // Next: the path after the document's, or the first path when the document is the last or
    // not in the list. Nothing when the list is empty.
    std::optional<QString> nextTarget(const QString &documentName) const;

private:
    QStringList m_paths;
};
