#include "platform/filenames.h"

#include <QFile>

bool IsUsableFileName(const QByteArray &name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QString UnusableFileNameText(const QString &shown) {
    return QStringLiteral("The file name \"%1\" is not valid UTF-8, so it cannot be opened. "
                          "Rename the file and open it again.")
        .arg(shown);
}
