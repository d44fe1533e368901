#include "convert/office/zippackage.h"

#include <QBuffer>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace {
// Entries larger than this are taken for a damaged or hostile container.
constexpr qint64 MaxEntrySize = qint64(512) * 1024 * 1024;
} // namespace

std::optional<ZipPackage> ZipPackage::read(const QString &fileName, QString *error) {
    QuaZip zip(fileName);
    if (!zip.open(QuaZip::mdUnzip)) {
        if (error)
            *error = QStringLiteral("not a zip container (error %1)").arg(zip.getZipError());
        return std::nullopt;
    }
    ZipPackage package;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info) || qint64(info.uncompressedSize) > MaxEntrySize) {
            if (error)
                *error = QStringLiteral("damaged zip entry");
            return std::nullopt;
        }
        if (info.name.endsWith(QLatin1Char('/')))
            continue;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("damaged zip entry ") + info.name;
            return std::nullopt;
        }
        QByteArray bytes = file.readAll();
        file.close();
        if (file.getZipError() != UNZ_OK || bytes.size() != qint64(info.uncompressedSize)) {
            if (error)
                *error = QStringLiteral("damaged zip entry ") + info.name;
            return std::nullopt;
        }
        package.m_entries.insert(info.name, bytes);
    }
    if (zip.getZipError() != UNZ_OK) {
        if (error)
            *error = QStringLiteral("damaged zip container");
        return std::nullopt;
    }
    return package;
}

struct ZipWriter::Private {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QuaZip zip{&buffer};
    bool ok = true;
};

ZipWriter::ZipWriter()
    : d(std::make_unique<Private>()) {
    d->ok = d->zip.open(QuaZip::mdCreate);
}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::add(const QString &name, const QByteArray &bytes, bool stored) {
    if (!d->ok)
        return false;
    QuaZipFile file(&d->zip);
    const QuaZipNewInfo info(name);
    if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, stored ? 0 : Z_DEFLATED,
                   stored ? 0 : Z_DEFAULT_COMPRESSION)) {
        d->ok = false;
        return false;
    }
    d->ok = file.write(bytes) == bytes.size();
    file.close();
    d->ok = d->ok && file.getZipError() == ZIP_OK;
    return d->ok;
}

std::optional<QByteArray> ZipWriter::finish() {
    d->zip.close();
    if (!d->ok || d->zip.getZipError() != ZIP_OK)
        return std::nullopt;
    return d->bytes;
}
