#include "platform/filenames.h"

#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <sys/stat.h>

bool IsUsableFileName(const QByteArray &name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

bool IsUnreadableFileName(const QString &path) {
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path);
}

QStringList UnreadableFileNames(const QString &folder) {
    QStringList names;
    const QByteArray path = QFile::encodeName(folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || IsUsableFileName(name))
            continue;
        struct stat status {};
        if (::stat((path + '/' + name).constData(), &status) == 0 && S_ISREG(status.st_mode))
            names << QString::fromUtf8(name);
    }
    ::closedir(dir);
    return names;
}

QString UnusableFileNameText(const QString &shown) {
    return QStringLiteral("The file name \"%1\" is not valid UTF-8, so it cannot be opened. "
                          "Rename the file and open it again.")
        .arg(shown);
}
