#include "platform/settingsstore.h"

#include "platform/savefile.h"
#include "platform/settingskey.h"
#include "platform/storeerror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// How long a writer waits for another process to finish its write before giving up.
constexpr int kLockWaitMs = 10000;

struct LoadedFile {
    enum class State { Missing, Ok, Unreadable } state = State::Missing;
    RegistryData data;
    QString reason;
};

LoadedFile loadFile(const QString &path) {
    LoadedFile result;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return result;
    result.state = LoadedFile::State::Unreadable;
    if (!info.isFile()) {
        result.reason = QStringLiteral("not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = file.errorString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.reason = file.errorString();
        return result;
    }
    std::optional<RegistryData> data = RegistryData::parse(bytes, &result.reason);
    if (!data)
        return result;
    result.state = LoadedFile::State::Ok;
    result.data = std::move(*data);
    return result;
}

QSet<QString> &reportedPaths() {
    static QSet<QString> paths;
    return paths;
}

void reportUnreadableOnce(const QString &path, const QString &reason) {
    if (reportedPaths().contains(path))
        return;
    reportedPaths().insert(path);
    std::fprintf(stderr,
                 "quillet: the settings store %s cannot be read (%s); it counts as empty and is "
                 "kept until settings are next saved\n",
                 qPrintable(QDir::toNativeSeparators(path)), qPrintable(reason));
}

// Holds an exclusive flock on "<store>.lock" for the life of the object.
class StoreLock {
public:
    explicit StoreLock(const QString &storePath) {
        const QByteArray lockPath = QFile::encodeName(storePath + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        for (int waited = 0;; waited += 5) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return;
            if (errno != EWOULDBLOCK && errno != EINTR) {
                m_error = QString::fromLocal8Bit(std::strerror(errno));
                break;
            }
            if (waited >= kLockWaitMs) {
                m_error = QStringLiteral("another process keeps it locked");
                break;
            }
            QThread::msleep(5);
        }
        ::close(m_fd);
        m_fd = -1;
    }
    ~StoreLock() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    bool locked() const { return m_fd >= 0; }
    const QString &error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};

// Keeps the unreadable store file beside the new one: a hard link needs no read permission, a copy
// is the fallback where links are not possible.
bool keepUnreadableCopy(const QString &path, QString *reason) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString backup = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(backup); ++n)
        backup =
            path + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(backup).constData()) == 0)
        return true;
    QFile source(path);
    if (source.copy(backup))
        return true;
    *reason = QStringLiteral("cannot keep a copy of the unreadable file: ") + source.errorString();
    return false;
}

QString quotedName(const QString &name) {
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

} // namespace

SettingsStore::SettingsStore(QString path, Access access)
    : m_path(std::move(path))
    , m_access(access) {
    reload();
}

QString SettingsStore::userStorePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/quillet/user.reg");
}

QString SettingsStore::machineStorePath() {
    const QString configured = qEnvironmentVariable("QUILLET_MACHINE_STORE");
    return configured.isEmpty() ? QStringLiteral("/etc/quillet/machine.reg") : configured;
}

void SettingsStore::reload() {
    LoadedFile loaded = loadFile(m_path);
    if (loaded.state == LoadedFile::State::Unreadable)
        reportUnreadableOnce(m_path, loaded.reason);
    m_data = std::move(loaded.data);
}

bool SettingsStore::keyExists(const QString &key) const {
    return m_data.keyExists(key);
}

std::optional<SettingsKey> SettingsStore::openKey(const QString &key, bool create) {
    if (!m_data.keyExists(key)) {
        if (!create)
            return std::nullopt;
        createKey(key);
    }
    return SettingsKey(*this, key);
}

QStringList SettingsStore::subKeyNames(const QString &key) const {
    return m_data.subKeyNames(key);
}

bool SettingsStore::valueExists(const QString &key, const QString &name) const {
    return m_data.value(key, name) != nullptr;
}

std::optional<RegistryValue::Type> SettingsStore::valueType(const QString &key,
                                                            const QString &name) const {
    const RegistryValue *v = m_data.value(key, name);
    if (!v)
        return std::nullopt;
    return v->type;
}

QStringList SettingsStore::valueNames(const QString &key) const {
    return m_data.valueNames(key);
}

const RegistryValue *SettingsStore::typed(const QString &key, const QString &name,
                                          RegistryValue::Type type) const {
    const RegistryValue *v = m_data.value(key, name);
    if (v && v->type != type)
        throw StoreError(QStringLiteral("Invalid data type for ") + quotedName(name));
    return v;
}

qint32 SettingsStore::readInteger(const QString &key, const QString &name) const {
    const RegistryValue *v = typed(key, name, RegistryValue::Type::Integer);
    if (!v)
        throw StoreError(QStringLiteral("Failed to get data for ") + quotedName(name));
    return v->integer;
}

bool SettingsStore::readBool(const QString &key, const QString &name) const {
    return readInteger(key, name) != 0;
}

QString SettingsStore::readString(const QString &key, const QString &name) const {
    const RegistryValue *v = typed(key, name, RegistryValue::Type::String);
    return v ? v->string : QString();
}

QByteArray SettingsStore::readBinary(const QString &key, const QString &name) const {
    const RegistryValue *v = typed(key, name, RegistryValue::Type::Binary);
    return v ? v->binary : QByteArray();
}

void SettingsStore::createKey(const QString &key) {
    write(key, QString(), [key](RegistryData &data) {
        if (data.keyExists(key))
            return false;
        data.createKey(key);
        return true;
    });
}

void SettingsStore::writeInteger(const QString &key, const QString &name, qint32 value) {
    write(key, name, [key, name, value](RegistryData &data) {
        data.setValue(key, name, RegistryValue::ofInteger(value));
        return true;
    });
}

void SettingsStore::writeBool(const QString &key, const QString &name, bool value) {
    writeInteger(key, name, value ? 1 : 0);
}

void SettingsStore::writeString(const QString &key, const QString &name, const QString &value) {
    write(key, name, [key, name, value](RegistryData &data) {
        data.setValue(key, name, RegistryValue::ofString(value));
        return true;
    });
}

void SettingsStore::writeBinary(const QString &key, const QString &name, const QByteArray &value) {
    write(key, name, [key, name, value](RegistryData &data) {
        data.setValue(key, name, RegistryValue::ofBinary(value));
        return true;
    });
}

bool SettingsStore::deleteValue(const QString &key, const QString &name) {
    return write(key, name,
                 [key, name](RegistryData &data) { return data.removeValue(key, name); });
}

void SettingsStore::batch(const std::function<void()> &writes) {
    if (m_pending) {
        writes(); // already inside a batch: joins it
        return;
    }
    m_pending.emplace();
    try {
        writes();
    } catch (...) {
        // What was written before the error stays written.
        std::vector<Change> changes = std::move(*m_pending);
        m_pending.reset();
        commit(changes, QStringLiteral("the settings"));
        throw;
    }
    std::vector<Change> changes = std::move(*m_pending);
    m_pending.reset();
    commit(changes, QStringLiteral("the settings"));
}

bool SettingsStore::write(const QString &key, const QString &name, const Change &change) {
    const QString what =
        name.isEmpty() ? quotedName(RegistryData::normalizedKey(key)) : quotedName(name);
    if (m_access == Access::ReadOnly)
        throw StoreError(QStringLiteral("Failed to set data for %1: the settings store %2 is "
                                        "read-only")
                             .arg(what, m_path));
    for (const QChar c : key) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('[') ||
            c == QLatin1Char(']'))
            throw StoreError(
                QStringLiteral("Failed to set data for %1: invalid key path").arg(what));
    }
    if (m_pending) {
        m_pending->push_back(change);
        return change(m_data);
    }
    return commit({change}, what);
}

bool SettingsStore::commit(const std::vector<Change> &changes, const QString &what) {
    auto fail = [&](const QString &reason) {
        throw StoreError(QStringLiteral("Failed to set data for ") + what + QStringLiteral(": ") +
                         reason);
    };
    if (changes.empty())
        return false;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("cannot create the folder %1").arg(folder));
    StoreLock lock(m_path);
    if (!lock.locked())
        fail(lock.error());

    // Start from what is on disk now, so that values other processes wrote since we loaded stay.
    LoadedFile current = loadFile(m_path);
    if (current.state == LoadedFile::State::Unreadable)
        reportUnreadableOnce(m_path, current.reason);
    bool changed = false;
    for (const Change &change : changes)
        changed = change(current.data) || changed;
    if (!changed) {
        m_data = std::move(current.data);
        return false;
    }
    QString reason;
    if (current.state == LoadedFile::State::Unreadable) {
        if (!keepUnreadableCopy(m_path, &reason))
            fail(reason);
        // The copy is kept; removing the original lets the new file take the store's usual
        // permissions instead of those that made it unreadable.
        QFile::remove(m_path);
    }

    if (const std::optional<QString> reason = saveFileAtomically(m_path, current.data.serialize()))
        fail(*reason);
    reportedPaths().remove(m_path);
    m_data = std::move(current.data);
    return true;
}
