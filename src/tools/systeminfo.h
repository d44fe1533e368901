#pragma once

#include <QList>
#include <QString>

// What the about box reports about the machine: the operating system, its version, the memory
// and the free space of each mounted file system. Gathered from the system by gather(); the
// texts are made from those facts by plain functions, so that tests give fixed inputs.
struct SystemInfo {
    struct Volume {
        QString name; // the mount point
        qint64 freeBytes = -1;
    };

    QString osName;
    int major = 0;
    int minor = 0;
    int build = 0;
    qint64 totalKiB = 0;
    qint64 availableKiB = 0;
    QList<Volume> volumes;

    static SystemInfo gather();

    // The name from the text of "/etc/os-release" (its PRETTY_NAME, else NAME); empty if none.
    static QString osNameFromOsRelease(const QString &text);
    // Major, minor and build from a kernel release such as "6.1.0-18-amd64".
    static void parseRelease(const QString &release, int &major, int &minor, int &build);
    // MemTotal and MemAvailable (else MemFree) of "/proc/meminfo", in KiB.
    static void parseMeminfo(const QString &text, qint64 &totalKiB, qint64 &availableKiB);

    // "6.1   Build : 0"
    QString versionText() const;
    // "Tot: 16314004 KB     Avl: 9123456 KB"
    QString memoryText() const;
    // The free space per file system, "/: 1234 MB  " each: the first four in the first text,
    // the rest in the second.
    QString firstDiskText() const;
    QString secondDiskText() const;
    // The whole report of the about box's information button.
    QString report() const;

    static constexpr int FirstTextVolumes = 4;
};
