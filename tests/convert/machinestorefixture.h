#pragma once

#include "convert/converterdiscovery.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Writes converter registrations into the test's machine store ($QUILLET_MACHINE_STORE), which
// each test starts empty.
class MachineStoreFixture {
public:
    MachineStoreFixture()
        : m_path(SettingsStore::machineStorePath()) {
        QFile::remove(m_path);
        QDir().mkpath(QFileInfo(m_path).absolutePath());
    }
    ~MachineStoreFixture() { QFile::remove(m_path); }

    const QString &path() const { return m_path; }
    SettingsStore read() const { return SettingsStore(m_path, SettingsStore::Access::ReadOnly); }

    void add(Convert::Direction direction, const QString &subKey, const QString &name,
             const QString &extensions, const QString &path = QString()) {
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        const QString key = Convert::directionKey(direction) + QLatin1Char('\\') + subKey;
        store.batch([&] {
            store.writeString(key, QStringLiteral("Name"), name);
            store.writeString(key, QStringLiteral("Extensions"), extensions);
            if (!path.isEmpty())
                store.writeString(key, QStringLiteral("Path"), path);
        });
    }

    void setWordPadProgram(const QString &program) {
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        store.writeString(Convert::WordPadKey, QString(), program);
    }

    void writeInteger(const QString &key, const QString &name, qint32 value) {
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        store.writeInteger(key, name, value);
    }

private:
    QString m_path;
};
