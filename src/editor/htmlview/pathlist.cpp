#include "editor/htmlview/pathlist.h"

void PathList::rebuild(const QString &folder, const QStringList &entries) {
    m_paths.clear();
    m_paths.reserve(entries.size());
    for (const QString &entry : entries)
        m_paths.append(folder + entry);
}

int PathList::indexOf(const QString &documentName) const {
    const int exact = int(m_paths.indexOf(documentName));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < m_paths.size(); ++i)
        if (m_paths[i].compare(documentName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<QString> PathList::lastTarget(const QString &documentName) const {
    if (m_paths.isEmpty())
        return std::nullopt;
    const int i = indexOf(documentName);
    return i > 0 ? m_paths[i - 1] : m_paths.last();
}

std::optional<QString> PathList::nextTarget(const QString &documentName) const {
    if (m_paths.isEmpty())
        return std::nullopt;
    const int i = indexOf(documentName);
    return i >= 0 && i < m_paths.size() - 1 ? m_paths[i + 1] : m_paths.first();
}
