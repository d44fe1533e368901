#include "platform/savefile.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace {

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The one way the program writes a file: whole or not at all, with the system's reason.
class tst_SaveFile : public QObject {
    Q_OBJECT

private slots:
    void replacesAndKeepsPermissions() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.txt"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(saveFileAtomically(path, "new"), std::nullopt);
        QCOMPARE(readFile(path), QByteArray("new"));
        // Owner, group and others; the "user" bits repeat the owner's for the running user.
        QCOMPARE(QFile::permissions(path) & QFileDevice::Permissions(0x7077),
                 QFile::ReadOwner | QFile::WriteOwner);
    }

    void missingFolderSaysWhy() {
        QTemporaryDir dir;
        const std::optional<QString> reason =
            saveFileAtomically(dir.filePath(QStringLiteral("none/doc.txt")), "x");
        QVERIFY(reason);
        QVERIFY(!reason->isEmpty());
    }

    // A disk that fills up midway: the old file stays, nothing else is left beside it, and the
    // reason is the system's, not "Unknown error".
    void fullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString mountPoint = dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(mountPoint));
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint}) !=
            0)
            QSKIP("a small file system cannot be mounted here (needs root)");
        const QString path = mountPoint + QStringLiteral("/doc.rtf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const std::optional<QString> reason = saveFileAtomically(path, QByteArray(200'000, 'x'));
        const QByteArray kept = readFile(path);
        const QStringList left = QDir(mountPoint).entryList(QDir::Files | QDir::Hidden);
        QProcess::execute(QStringLiteral("umount"), {mountPoint});
        QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QCOMPARE(kept, QByteArray("old"));
        QCOMPARE(left, QStringList{QStringLiteral("doc.rtf")});
    }
};

QUILLET_TEST_MAIN(tst_SaveFile)
#include "tst_savefile.moc"
