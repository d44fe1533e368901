#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// A zip container of an office document, read whole into memory: its entries by name. Damaged
// containers and entries are reported, never guessed at.
class ZipPackage {
public:
    // nullopt when the file is not a readable zip container; `error` says why.
    static std::optional<ZipPackage> read(const QString &fileName, QString *error);

    bool contains(const QString &name) const { return m_entries.contains(name); }
    // The entry's bytes; empty when it is missing.
    QByteArray entry(const QString &name) const { return m_entries.value(name); }

private:
    QHash<QString, QByteArray> m_entries;
};

// Builds a zip container in memory, entries in the order added.
class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // stored: kept uncompressed (as the ODF "mimetype" entry must be).
    bool add(const QString &name, const QByteArray &bytes, bool stored = false);
    // The finished container; nullopt when writing failed.
    std::optional<QByteArray> finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
