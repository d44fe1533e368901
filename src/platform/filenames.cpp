#include "platform/filenames.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
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
        const char *raw = entry->d_name;
        // Plain ASCII names, nearly all of them, are UTF-8 without asking.
        if (raw[0] == '.' || std::all_of(raw, raw + std::strlen(raw), [](char c) {
                return static_cast<unsigned char>(c) < 0x80;
            }))
            continue;
        const QByteArray name(raw);
        if (IsUsableFileName(name))
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
