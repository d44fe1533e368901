#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "platform/storeerror.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("Software\\Fernlake\\Quillet");
const QByteArray kHeader = "Quillet Vado settings store 1\n";

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList unreadableCopies(const QString &storePath) {
    const QFileInfo info(storePath);
    return QDir(info.absolutePath())
        .entryList({info.fileName() + QStringLiteral(".unreadable-*")}, QDir::Files);
}

} // namespace

// The per-user and machine settings stores as files shared by processes.
class tst_SettingsStore : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        m_path = m_dir->filePath(QStringLiteral("quillet/user.reg"));
    }

    void locationsFollowTheEnvironment() {
        QCOMPARE(SettingsStore::userStorePath(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quillet/user.reg"));
        QCOMPARE(SettingsStore::machineStorePath(), qEnvironmentVariable("QUILLET_MACHINE_STORE"));
    }

    void valuesPersistAcrossProcessesOfTheStore() {
        {
            SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
            QVERIFY(!store.keyExists(kKey));
            QVERIFY(!store.openKey(kKey, false));
            std::optional<SettingsKey> key = store.openKey(kKey, true);
            QVERIFY(key);
            key->writeBool(QStringLiteral("NOSplash"), true);
            key->writeInteger(QStringLiteral("Top"), -20);
            key->writeString(QStringLiteral("FontStyle"), QStringLiteral("Times New Roman"));
            key->writeBinary(QStringLiteral("Blob"), QByteArray("\0\1", 2));
        }
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        std::optional<SettingsKey> key =
            store.openKey(QStringLiteral("software\\FERNLAKE\\quillet"), false);
        QVERIFY(key);
        QVERIFY(key->valueExists(QStringLiteral("NoSplash")));
        QVERIFY(key->readBool(QStringLiteral("NoSplash")));
        QCOMPARE(key->readInteger(QStringLiteral("top")), -20);
        QCOMPARE(key->readString(QStringLiteral("FONTSTYLE")), QStringLiteral("Times New Roman"));
        QCOMPARE(key->readBinary(QStringLiteral("Blob")), QByteArray("\0\1", 2));
        QCOMPARE(key->valueNames(),
                 (QStringList{QStringLiteral("NOSplash"), QStringLiteral("Top"),
                              QStringLiteral("FontStyle"), QStringLiteral("Blob")}));
        // The file is readable text.
        QVERIFY(readBytes(m_path).contains("\"NOSplash\"=dword:00000001"));
    }

    void readErrors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // empty: no error
        QTest::addRow("absent integer") << "Top"
                                        << "integer"
                                        << "Failed to get data for 'Top'";
        QTest::addRow("absent Boolean") << "NoTV"
                                        << "bool"
                                        << "Failed to get data for 'NoTV'";
        QTest::addRow("string as integer") << "Text"
                                           << "integer"
                                           << "Invalid data type for 'Text'";
        QTest::addRow("string as Boolean") << "Text"
                                           << "bool"
                                           << "Invalid data type for 'Text'";
        QTest::addRow("binary as integer") << "Blob"
                                           << "integer"
                                           << "Invalid data type for 'Blob'";
        QTest::addRow("integer as string") << "Two"
                                           << "string"
                                           << "Invalid data type for 'Two'";
        QTest::addRow("integer as binary") << "Two"
                                           << "binary"
                                           << "Invalid data type for 'Two'";
        QTest::addRow("absent string") << "Nothing"
                                       << "string"
                                       << "";
        QTest::addRow("absent binary") << "Nothing"
                                       << "binary"
                                       << "";
        QTest::addRow("2 as Boolean") << "Two"
                                      << "bool"
                                      << "";
    }

    void readErrors() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        store.writeString(kKey, QStringLiteral("Text"), QStringLiteral("1"));
        store.writeBinary(kKey, QStringLiteral("Blob"), QByteArray("\1", 1));
        store.writeInteger(kKey, QStringLiteral("Two"), 2);
        auto read = [&] {
            if (kind == QLatin1String("integer"))
                store.readInteger(kKey, name);
            else if (kind == QLatin1String("bool"))
                QVERIFY(store.readBool(kKey, name));
            else if (kind == QLatin1String("string"))
                QCOMPARE(store.readString(kKey, name), QString());
            else
                QCOMPARE(store.readBinary(kKey, name), QByteArray());
        };
        if (message.isEmpty()) {
            read();
            return;
        }
        try {
            read();
            QFAIL("no error raised");
        } catch (const StoreError &e) {
            QCOMPARE(e.text(), message);
        }
    }

    void deleteValueAndSubKeys() {
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        store.createKey(QStringLiteral("RichPrint.Settings\\Marges"));
        store.createKey(QStringLiteral("RichPrint.Settings\\Compress"));
        QCOMPARE(store.subKeyNames(QStringLiteral("richprint.settings")),
                 (QStringList{QStringLiteral("Compress"), QStringLiteral("Marges")}));
        store.writeInteger(kKey, QStringLiteral("X"), 1);
        QVERIFY(store.deleteValue(kKey, QStringLiteral("x")));
        QVERIFY(!store.deleteValue(kKey, QStringLiteral("x")));
        QVERIFY(!SettingsStore(m_path, SettingsStore::Access::ReadOnly)
                     .valueExists(kKey, QStringLiteral("X")));
    }

    // A write merges into what other processes stored since this one loaded.
    void writesKeepOtherWritersValues() {
        SettingsStore first(m_path, SettingsStore::Access::ReadWrite);
        SettingsStore second(m_path, SettingsStore::Access::ReadWrite);
        first.writeInteger(kKey, QStringLiteral("A"), 1);
        second.writeInteger(kKey, QStringLiteral("B"), 2);
        QVERIFY(second.valueExists(kKey, QStringLiteral("A")));
        QVERIFY(!first.valueExists(kKey, QStringLiteral("B"))); // not reloaded yet
        first.reload();
        QCOMPARE(first.readInteger(kKey, QStringLiteral("B")), 2);
    }

    void batchWritesOnceAndKeepsWhatWasWrittenBeforeAnError() {
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        store.writeInteger(kKey, QStringLiteral("Before"), 1);
        const QByteArray before = readBytes(m_path);
        store.batch([&] {
            store.writeInteger(kKey, QStringLiteral("Top"), 10);
            store.writeString(kKey, QStringLiteral("FontStyle"), QStringLiteral("Courier"));
            QCOMPARE(store.readInteger(kKey, QStringLiteral("Top")), 10);
            QCOMPARE(readBytes(m_path), before); // nothing on disk yet
        });
        SettingsStore reread(m_path, SettingsStore::Access::ReadOnly);
        QCOMPARE(reread.readInteger(kKey, QStringLiteral("Top")), 10);
        QCOMPARE(reread.readString(kKey, QStringLiteral("fontstyle")), QStringLiteral("Courier"));

        try {
            store.batch([&] {
                store.writeInteger(kKey, QStringLiteral("Left"), 5);
                store.writeInteger(QStringLiteral("Bad]Key"), QStringLiteral("X"), 1);
                store.writeInteger(kKey, QStringLiteral("Width"), 7);
            });
            QFAIL("no error raised");
        } catch (const StoreError &) {
        }
        reread.reload();
        QCOMPARE(reread.readInteger(kKey, QStringLiteral("Left")), 5);
        QVERIFY(!reread.valueExists(kKey, QStringLiteral("Width")));
    }

    void machineStoreIsReadOnly() {
        const QString path = m_dir->filePath(QStringLiteral("machine.reg"));
        writeBytes(path, kHeader + "[SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Import\\"
                                   "MSWord6]\n\"Path\"=\"/opt/conv/word6.so\"\n");
        SettingsStore machine(path, SettingsStore::Access::ReadOnly);
        QCOMPARE(machine.subKeyNames(
                     QStringLiteral("Software\\Microsoft\\Shared Tools\\Text Converters\\Import")),
                 QStringList{QStringLiteral("MSWord6")});
        QCOMPARE(machine.readString(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\Text "
                                                   "Converters\\Import\\MSWord6"),
                                    QStringLiteral("path")),
                 QStringLiteral("/opt/conv/word6.so"));
        const QByteArray before = readBytes(path);
        QVERIFY_THROWS_EXCEPTION(StoreError, machine.writeInteger(kKey, QStringLiteral("X"), 1));
        QVERIFY_THROWS_EXCEPTION(StoreError, machine.openKey(kKey, true));
        QCOMPARE(readBytes(path), before);

        SettingsStore missing(m_dir->filePath(QStringLiteral("none.reg")),
                              SettingsStore::Access::ReadOnly);
        QVERIFY(!missing.keyExists(QStringLiteral("SOFTWARE")));
    }

    void writeFailureIsAStoreError() {
        // The store's folder is a file: nothing can be written there.
        writeBytes(m_dir->filePath(QStringLiteral("quillet")), "in the way");
        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        try {
            store.writeBool(kKey, QStringLiteral("NOSplash"), true);
            QFAIL("no error raised");
        } catch (const StoreError &e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Failed to set data for 'NOSplash': ")),
                     qPrintable(e.text()));
        }
        QVERIFY_THROWS_EXCEPTION(
            StoreError, store.writeInteger(QStringLiteral("Bad\nKey"), QStringLiteral("A"), 1));
    }

    // A damaged store is reported once, counts as empty, stays untouched until the next write,
    // and is then kept beside the new file.
    void damagedStoreIsKeptAndReplacedOnWrite_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("unreadable");
        QTest::addRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << false;
        QTest::addRow("half written")
            << kHeader + "[Software\\Fernlake\\Quillet]\n\"Top\"=dwo" << false;
        QTest::addRow("no read permission") << kHeader + "[K]\n" << true;
    }

    void damagedStoreIsKeptAndReplacedOnWrite() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, unreadable);
        QVERIFY(QDir().mkpath(QFileInfo(m_path).absolutePath()));
        writeBytes(m_path, bytes);
        if (unreadable) {
            QVERIFY(QFile::setPermissions(m_path, QFileDevice::WriteOwner));
            if (::access(QFile::encodeName(m_path).constData(), R_OK) == 0)
                QSKIP("running as root: file permissions do not block reading");
        }

        QProcess loader;
        loader.start(QStringLiteral(QUILLET_PLATFORM_HELPER),
                     {QStringLiteral("store-load"), m_path, QStringLiteral("3")});
        QVERIFY(loader.waitForFinished(10000));
        QCOMPARE(loader.exitCode(), 0);
        QCOMPARE(loader.readAllStandardOutput().trimmed(), QByteArray("0"));
        const QString report = QString::fromLocal8Bit(loader.readAllStandardError());
        QCOMPARE(report.count(QStringLiteral("cannot be read")), 1);
        QVERIFY(report.contains(m_path));
        QVERIFY(unreadableCopies(m_path).isEmpty());

        SettingsStore store(m_path, SettingsStore::Access::ReadWrite);
        QVERIFY(!store.keyExists(kKey));
        if (!unreadable)
            QCOMPARE(readBytes(m_path), bytes);

        store.writeInteger(kKey, QStringLiteral("Top"), 7);
        const QStringList copies = unreadableCopies(m_path);
        QCOMPARE(copies.size(), 1);
        const QString copy = QFileInfo(m_path).absolutePath() + QLatin1Char('/') + copies.first();
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(readBytes(copy), bytes);
        SettingsStore after(m_path, SettingsStore::Access::ReadOnly);
        QCOMPARE(after.valueNames(kKey), QStringList{QStringLiteral("Top")});

        // A later write has nothing to keep.
        store.writeInteger(kKey, QStringLiteral("Left"), 8);
        QCOMPARE(unreadableCopies(m_path).size(), 1);
    }

    // Writers in separate processes, all at once: every value of every writer arrives, and a
    // reader never meets a half-written file.
    void concurrentWritersInSeparateProcesses() {
        constexpr int kWriters = 4;
        constexpr int kValues = 40;
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->start(QStringLiteral(QUILLET_PLATFORM_HELPER),
                                  {QStringLiteral("store-write"), m_path,
                                   QStringLiteral("w%1").arg(w), QString::number(kValues)});
        }
        int reads = 0;
        auto running = [&] {
            for (auto &p : writers) {
                if (p->state() != QProcess::NotRunning)
                    return true;
            }
            return false;
        };
        while (running()) {
            const QByteArray bytes = readBytes(m_path);
            if (bytes != "<unreadable>") {
                QVERIFY2(RegistryData::parse(bytes), "a reader met a damaged store file");
                ++reads;
            }
            QTest::qWait(1);
        }
        for (auto &p : writers) {
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        SettingsStore store(m_path, SettingsStore::Access::ReadOnly);
        QCOMPARE(store.valueNames(kKey).size(), kWriters * kValues);
        QCOMPARE(store.valueNames(kKey + QStringLiteral("\\Text")).size(), kWriters * kValues);
        for (int w = 0; w < kWriters; ++w)
            QCOMPARE(store.readInteger(kKey, QStringLiteral("w%1-%2").arg(w).arg(kValues - 1)),
                     kValues - 1);
        qInfo("reader parsed the store %d times during the writes", reads);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QUILLET_TEST_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
