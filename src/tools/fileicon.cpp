#include "tools/fileicon.h"

#include "platform/desktopentry.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QStyle>

namespace {

// The application entries of the desktop by the program their Exec line starts, read once.
const QHash<QString, QString> &entryIconsByProgram() {
    static const QHash<QString, QString> icons = [] {
        QHash<QString, QString> result;
        const QStringList folders =
            QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
        for (const QString &folder : folders) {
            QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const auto entry = DesktopEntry::read(it.next());
                if (!entry || entry->icon.isEmpty())
                    continue;
                const auto command = DesktopEntry::splitExec(entry->exec);
                if (!command || command->isEmpty())
                    continue;
                const QString program = command->first();
                // Earlier folders take precedence, as the desktop reads them.
                if (!result.contains(program))
                    result.insert(program, entry->icon);
                const QString name = QFileInfo(program).fileName();
                if (!result.contains(name))
                    result.insert(name, entry->icon);
            }
        }
        return result;
    }();
    return icons;
}

QIcon programIcon(const QFileInfo &info) {
    const auto &icons = entryIconsByProgram();
    QString value = icons.value(info.absoluteFilePath());
    if (value.isEmpty())
        value = icons.value(info.fileName());
    QIcon icon = value.isEmpty() ? QIcon() : FileIcon::fromIconValue(value);
    if (icon.isNull())
        icon = QIcon::fromTheme(info.completeBaseName());
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    return icon;
}

QIcon mimeIcon(const QString &path) {
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(path);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon;
}

} // namespace

QIcon FileIcon::fromIconValue(const QString &value) {
    if (QDir::isAbsolutePath(value))
        return QFileInfo(value).isFile() ? QIcon(value) : QIcon();
    return QIcon::fromTheme(value);
}

QIcon FileIcon::forFile(const QString &path) {
    const QFileInfo info(path);
    QIcon icon;
    if (info.isFile() &&
        info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0) {
        if (const auto entry = DesktopEntry::read(path))
            icon = fromIconValue(entry->icon);
    } else if (info.isFile() && info.isExecutable()) {
        icon = programIcon(info);
    }
    if (icon.isNull())
        icon = mimeIcon(path);
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(info.isDir() ? QStyle::SP_DirIcon
                                                                : QStyle::SP_FileIcon);
    return icon;
}
