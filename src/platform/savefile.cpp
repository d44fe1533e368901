#include "platform/savefile.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

std::optional<QString> saveFileAtomically(const QString &path, const QByteArray &bytes) {
    bool given = false;
    return saveFileAtomically(path, [&bytes, &given] {
        if (given)
            return QByteArray();
        given = true;
        return bytes;
    });
}

std::optional<QString> saveFileAtomically(const QString &path,
                                          const std::function<QByteArray()> &next) {
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system and a full disk shows at the write that
    // met it, not later at the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (QByteArray bytes = next(); !bytes.isEmpty(); bytes = next()) {
        qint64 written = 0;
        while (written < bytes.size()) {
            errno = 0;
            const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
            if (step <= 0) {
                // A short write on a full disk leaves the device without an error of its own;
                // the system's reason is in errno.
                const QString reason = file.error() != QFileDevice::NoError || errno == 0
                                           ? file.errorString()
                                           : QString::fromLocal8Bit(std::strerror(errno));
                file.cancelWriting();
                return reason;
            }
            written += step;
        }
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
