#include "viewer/atomicwrite.h"

#include <QFile>
#include <QSaveFile>

std::optional<TextFileError> writeFileAtomically(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TextFileError{path, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const TextFileError error{path, file.errorString()};
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return TextFileError{path, file.errorString()};
    return std::nullopt;
}

std::optional<QByteArray> readWholeFile(const QString &path, TextFileError *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = TextFileError{path, file.errorString()};
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        if (error)
            *error = TextFileError{path, file.errorString()};
        return std::nullopt;
    }
    return bytes;
}
