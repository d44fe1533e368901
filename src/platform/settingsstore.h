#pragma once

#include "platform/registrydata.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class SettingsKey;

// A settings store file: the per-user store ($XDG_CONFIG_HOME/quillet/user.reg) that the program
// reads and writes, or the read-only machine store ($QUILLET_MACHINE_STORE, else
// /etc/quillet/machine.reg). Reads answer from the contents loaded at construction (or at the last
// reload or write). Every write locks the file against other processes, reads the file afresh,
// applies the one change and replaces the file atomically, so writers in several processes never
// lose each other's values or leave a half-written file.
//
// A store file that cannot be read or parsed is reported once per process on stderr and treated as
// empty; it stays on disk untouched until the next successful write, which keeps it beside the new
// file as "<name>.unreadable-<date and time>".
//
// Errors: reading an integer or Boolean that is absent or of another type, reading a string or
// binary value of another type, and any failed write throw StoreError.
class SettingsStore {
public:
    enum class Access { ReadWrite, ReadOnly };

    SettingsStore(QString path, Access access);

    static QString userStorePath();
    static QString machineStorePath();

    const QString &path() const { return m_path; }
    // Loads the file again, picking up what other processes wrote.
    void reload();

    bool keyExists(const QString &key) const;
    // Opens a key by path ("Software\Fernlake\Quillet"). Without `create`, nullopt when the key
    // does not exist; with it, the key is created (a write) when missing.
    std::optional<SettingsKey> openKey(const QString &key, bool create);
    QStringList subKeyNames(const QString &key) const;

    bool valueExists(const QString &key, const QString &name) const;
    std::optional<RegistryValue::Type> valueType(const QString &key, const QString &name) const;
    QStringList valueNames(const QString &key) const;
    qint32 readInteger(const QString &key, const QString &name) const;
    bool readBool(const QString &key, const QString &name) const;      // integer, true when not 0
    QString readString(const QString &key, const QString &name) const; // absent: empty
    QByteArray readBinary(const QString &key, const QString &name) const; // absent: empty

    void createKey(const QString &key);
    void writeInteger(const QString &key, const QString &name, qint32 value);
    void writeBool(const QString &key, const QString &name, bool value); // 1 or 0
    void writeString(const QString &key, const QString &name, const QString &value);
    void writeBinary(const QString &key, const QString &name, const QByteArray &value);
    // Answers whether the value existed.
    bool deleteValue(const QString &key, const QString &name);

    // Runs `writes` (calls of the write functions above) and stores all of them in one write:
    // one lock, one file replacement, instead of one per value. Reads inside see the new values.
    // When `writes` throws, what it wrote before the error is stored, then the error goes on.
    void batch(const std::function<void()> &writes);

private:
    // One change of the contents; answers whether it changed anything.
    using Change = std::function<bool(RegistryData &)>;

    const RegistryValue *typed(const QString &key, const QString &name,
                               RegistryValue::Type type) const;
    bool write(const QString &key, const QString &name, const Change &change);
    bool commit(const std::vector<Change> &changes, const QString &what);

    QString m_path;
    Access m_access;
    RegistryData m_data;
    std::optional<std::vector<Change>> m_pending; // set while a batch runs
};
