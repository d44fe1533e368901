#include "tools/systeminfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QStorageInfo>
#include <sys/utsname.h>

namespace {

QString readSmallFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // These files are a few kilobytes; a cap keeps a strange one from being read whole.
    return QString::fromUtf8(file.read(1 << 16));
}

QString unquote(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QString diskEntry(const SystemInfo::Volume &volume) {
    return QStringLiteral("%1: %2 MB  ").arg(volume.name).arg(volume.freeBytes / 1024 / 1024);
}

// Pseudo and container file systems hold no user files and would only lengthen the list.
bool isUserVolume(const QStorageInfo &storage) {
    static const QStringList skipped{
        QStringLiteral("tmpfs"),    QStringLiteral("devtmpfs"), QStringLiteral("overlay"),
        QStringLiteral("squashfs"), QStringLiteral("proc"),     QStringLiteral("sysfs"),
        QStringLiteral("devpts"),   QStringLiteral("cgroup"),   QStringLiteral("cgroup2"),
        QStringLiteral("ramfs"),    QStringLiteral("efivarfs"), QStringLiteral("autofs")};
    return storage.isValid() && storage.isReady() &&
           !skipped.contains(QString::fromLatin1(storage.fileSystemType()));
}

} // namespace

QString SystemInfo::osNameFromOsRelease(const QString &text) {
    QString name;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("PRETTY_NAME=")))
            return unquote(line.mid(12));
        if (line.startsWith(QLatin1String("NAME=")))
            name = unquote(line.mid(5));
    }
    return name;
}

void SystemInfo::parseRelease(const QString &release, int &major, int &minor, int &build) {
    static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const auto match = numbers.match(release);
    major = match.captured(1).toInt();
    minor = match.captured(2).toInt();
    // Only the low 16 bits of a build number are shown.
    build = match.captured(3).toInt() & 0xFFFF;
}

void SystemInfo::parseMeminfo(const QString &text, qint64 &totalKiB, qint64 &availableKiB) {
    totalKiB = 0;
    availableKiB = 0;
    qint64 freeKiB = -1;
    bool haveAvailable = false;
    static const QRegularExpression field(QStringLiteral("^(\\w+):\\s+(\\d+)"));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const auto match = field.match(line);
        if (!match.hasMatch())
            continue;
        const qint64 value = match.captured(2).toLongLong();
        const QString key = match.captured(1);
        if (key == QLatin1String("MemTotal"))
            totalKiB = value;
        else if (key == QLatin1String("MemAvailable")) {
            availableKiB = value;
            haveAvailable = true;
        } else if (key == QLatin1String("MemFree"))
            freeKiB = value;
    }
    if (!haveAvailable && freeKiB >= 0)
        availableKiB = freeKiB;
}

SystemInfo SystemInfo::gather() {
    SystemInfo info;
    utsname names{};
    const bool haveUname = uname(&names) == 0;
    info.osName = osNameFromOsRelease(readSmallFile(QStringLiteral("/etc/os-release")));
    if (info.osName.isEmpty())
        info.osName = osNameFromOsRelease(readSmallFile(QStringLiteral("/usr/lib/os-release")));
    if (info.osName.isEmpty() && haveUname)
        info.osName = QString::fromLocal8Bit(names.sysname);
    if (haveUname)
        parseRelease(QString::fromLocal8Bit(names.release), info.major, info.minor, info.build);
    parseMeminfo(readSmallFile(QStringLiteral("/proc/meminfo")), info.totalKiB, info.availableKiB);
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!isUserVolume(storage))
            continue;
        const qint64 free = storage.bytesAvailable();
        // A file system whose free space cannot be read is left out.
        if (free < 0)
            continue;
        info.volumes.append(Volume{storage.rootPath(), free});
    }
    return info;
}

QString SystemInfo::versionText() const {
    return QStringLiteral("%1.%2   Build : %3").arg(major).arg(minor).arg(build);
}

QString SystemInfo::memoryText() const {
    return QStringLiteral("Tot: %1 KB     Avl: %2 KB").arg(totalKiB).arg(availableKiB);
}

QString SystemInfo::firstDiskText() const {
    QString text;
    for (qsizetype i = 0; i < volumes.size() && i < FirstTextVolumes; ++i)
        text += diskEntry(volumes.at(i));
    return text;
}

QString SystemInfo::secondDiskText() const {
    QString text;
    for (qsizetype i = FirstTextVolumes; i < volumes.size(); ++i)
        text += diskEntry(volumes.at(i));
    return text;
}

QString SystemInfo::report() const {
    const QString lfcr = QStringLiteral("\n\r");
    return QStringLiteral("You are probably Running ") + osName + lfcr +
           QStringLiteral("Version Info: ") + versionText() + lfcr +
           QStringLiteral("Free Memory: ") + memoryText() + lfcr +
           QStringLiteral("Free Hard disk Space: ") + lfcr + firstDiskText() + lfcr +
           secondDiskText();
}
