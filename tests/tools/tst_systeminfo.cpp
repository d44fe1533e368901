#include "testenvironment.h"
#include "tools/systeminfo.h"

#include <QtTest>

// The about box's system report, made from fixed facts.
class tst_SystemInfo : public QObject {
    Q_OBJECT

private slots:
    void readsTheOperatingSystemName_data() {
        QTest::addColumn<QString>("osRelease");
        QTest::addColumn<QString>("name");
        QTest::addRow("pretty name wins")
            << QStringLiteral("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                              "(bookworm)\"\nVERSION_ID=\"12\"\n")
            << QStringLiteral("Debian GNU/Linux 12 (bookworm)");
        QTest::addRow("name only, unquoted")
            << QStringLiteral("NAME=Gentoo\nID=gentoo\n") << QStringLiteral("Gentoo");
        QTest::addRow("single quotes") << QStringLiteral("PRETTY_NAME='Alpine Linux v3.19'\n")
                                       << QStringLiteral("Alpine Linux v3.19");
        QTest::addRow("nothing") << QString() << QString();
    }

    void readsTheOperatingSystemName() {
        QFETCH(QString, osRelease);
        QFETCH(QString, name);
        QCOMPARE(SystemInfo::osNameFromOsRelease(osRelease), name);
    }

    void readsTheVersion_data() {
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("text");
        QTest::addRow("distribution kernel")
            << QStringLiteral("6.1.0-18-amd64") << QStringLiteral("6.1   Build : 0");
        QTest::addRow("three numbers")
            << QStringLiteral("5.15.133+") << QStringLiteral("5.15   Build : 133");
        QTest::addRow("build keeps its low 16 bits")
            << QStringLiteral("4.4.65537") << QStringLiteral("4.4   Build : 1");
        QTest::addRow("unreadable")
            << QStringLiteral("unknown") << QStringLiteral("0.0   Build : 0");
    }

    void readsTheVersion() {
        QFETCH(QString, release);
        QFETCH(QString, text);
        SystemInfo info;
        SystemInfo::parseRelease(release, info.major, info.minor, info.build);
        QCOMPARE(info.versionText(), text);
    }

    void readsTheMemory_data() {
        QTest::addColumn<QString>("meminfo");
        QTest::addColumn<QString>("text");
        QTest::addRow("available")
            << QStringLiteral("MemTotal:       16314004 kB\nMemFree:         1200000 kB\n"
                              "MemAvailable:    9123456 kB\n")
            << QStringLiteral("Tot: 16314004 KB     Avl: 9123456 KB");
        QTest::addRow("old kernel: free") << QStringLiteral("MemTotal: 2048 kB\nMemFree: 512 kB\n")
                                          << QStringLiteral("Tot: 2048 KB     Avl: 512 KB");
        QTest::addRow("unreadable") << QString() << QStringLiteral("Tot: 0 KB     Avl: 0 KB");
    }

    void readsTheMemory() {
        QFETCH(QString, meminfo);
        QFETCH(QString, text);
        SystemInfo info;
        SystemInfo::parseMeminfo(meminfo, info.totalKiB, info.availableKiB);
        QCOMPARE(info.memoryText(), text);
    }

    void splitsTheDisksAfterFour() {
        SystemInfo info;
        constexpr qint64 MB = 1024 * 1024;
        info.volumes = {{QStringLiteral("/"), 2048 * MB + 5}, {QStringLiteral("/home"), 100 * MB}};
        QCOMPARE(info.firstDiskText(), QStringLiteral("/: 2048 MB  /home: 100 MB  "));
        QCOMPARE(info.secondDiskText(), QString());

        for (const char *name : {"/boot", "/srv", "/var", "/media/usb"})
            info.volumes.append({QString::fromLatin1(name), MB - 1});
        QCOMPARE(info.firstDiskText(),
                 QStringLiteral("/: 2048 MB  /home: 100 MB  /boot: 0 MB  /srv: 0 MB  "));
        QCOMPARE(info.secondDiskText(), QStringLiteral("/var: 0 MB  /media/usb: 0 MB  "));
    }

    void reportsEverythingInOneText() {
        SystemInfo info;
        info.osName = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
        info.major = 6;
        info.minor = 1;
        info.build = 0;
        info.totalKiB = 2048;
        info.availableKiB = 1024;
        info.volumes = {{QStringLiteral("/"), 3 * 1024 * 1024}};
        QCOMPARE(info.report(),
                 QStringLiteral("You are probably Running Debian GNU/Linux 12 (bookworm)\n\r"
                                "Version Info: 6.1   Build : 0\n\r"
                                "Free Memory: Tot: 2048 KB     Avl: 1024 KB\n\r"
                                "Free Hard disk Space: \n\r"
                                "/: 3 MB  \n\r"));
    }

    void gathersFromThisMachine() {
        const SystemInfo info = SystemInfo::gather();
        QVERIFY(!info.osName.isEmpty());
        QVERIFY(info.totalKiB > 0);
        QVERIFY(info.availableKiB <= info.totalKiB);
    }
};

QUILLET_TEST_MAIN(tst_SystemInfo)
#include "tst_systeminfo.moc"
