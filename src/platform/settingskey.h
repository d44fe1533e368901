#pragma once

#include "platform/settingsstore.h"

// The program's own key in the per-user store, shared by the editor and the start-up.
inline const QString QuilletSettingsKey = QStringLiteral("Software\\Fernlake\\Quillet");

// An open key of a settings store: the store's value operations with the key path filled in.
// Refers to the store, which must outlive it.
class SettingsKey {
public:
    SettingsKey(SettingsStore &store, QString path)
        : m_store(&store)
        , m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    bool valueExists(const QString &name) const { return m_store->valueExists(m_path, name); }
    std::optional<RegistryValue::Type> valueType(const QString &name) const {
        return m_store->valueType(m_path, name);
    }
    QStringList valueNames() const { return m_store->valueNames(m_path); }
    qint32 readInteger(const QString &name) const { return m_store->readInteger(m_path, name); }
    bool readBool(const QString &name) const { return m_store->readBool(m_path, name); }
    QString readString(const QString &name) const { return m_store->readString(m_path, name); }
    QByteArray readBinary(const QString &name) const { return m_store->readBinary(m_path, name); }

    void writeInteger(const QString &name, qint32 v) { m_store->writeInteger(m_path, name, v); }
    void writeBool(const QString &name, bool v) { m_store->writeBool(m_path, name, v); }
    void writeString(const QString &name, const QString &v) {
        m_store->writeString(m_path, name, v);
    }
    void writeBinary(const QString &name, const QByteArray &v) {
        m_store->writeBinary(m_path, name, v);
    }
    bool deleteValue(const QString &name) { return m_store->deleteValue(m_path, name); }

private:
    SettingsStore *m_store;
    QString m_path;
};
