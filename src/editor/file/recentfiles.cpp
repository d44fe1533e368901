#include "editor/file/recentfiles.h"

bool TRecentFiles::AddRecentFile(const QString &path) {
    const QString entry = path.trimmed();
    if (entry.isEmpty())
        return false;
    for (const QString &listed : m_paths)
        if (listed == entry)
            return false;
    for (int slot = Count - 1; slot > 0; --slot)
        m_paths[slot] = m_paths[slot - 1];
    m_paths[0] = entry;
    return true;
}

bool TRecentFiles::anyUsed() const {
    for (const QString &listed : m_paths)
        if (!listed.isEmpty())
            return true;
    return false;
}

QString TRecentFiles::caption(int slot) const {
    const QString prefix = QLatin1Char('&') + QString::number(slot + 1) + QLatin1Char(' ');
    return prefix + (isUsed(slot) ? path(slot) : QStringLiteral("name"));
}

QString TRecentFiles::menuText(int slot) const {
    const QString prefix = QLatin1Char('&') + QString::number(slot + 1) + QLatin1Char(' ');
    QString shown = isUsed(slot) ? path(slot) : QStringLiteral("name");
    return prefix + shown.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString TRecentFiles::storedValue(int slot) const {
    return isUsed(slot) ? QLatin1Char(' ') + path(slot) : QString();
}

QString TRecentFiles::pathOfStoredValue(const QString &value) {
    return value.trimmed();
}
