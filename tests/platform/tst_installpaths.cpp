#include "platform/installpaths.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

// Where the program finds its help page, shipped terms and converters: beside it in its build
// tree, in the prefix's data and library folders when installed.
class tst_InstallPaths : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_bin = m_dir->filePath(QStringLiteral("usr/bin"));
        QDir().mkpath(m_bin);
    }

    void buildTreeKeepsEverythingBesideTheProgram() {
        touch(m_bin + QStringLiteral("/Quillet.html"));
        // An installed data folder of the same prefix does not matter then.
        QDir().mkpath(installedData());
        QCOMPARE(InstallPaths::dataFolder(m_bin), m_bin);
        QCOMPARE(InstallPaths::helpFile(m_bin), m_bin + QStringLiteral("/Quillet.html"));
        QVERIFY(!InstallPaths::isInstalled(m_bin));
        QCOMPARE(InstallPaths::ownFilesFolder(m_bin), m_bin);
    }

    void installedProgramFindsTheDataFolder() {
        touch(installedData() + QStringLiteral("/Quillet.html"));
        QCOMPARE(InstallPaths::dataFolder(m_bin), installedData());
        QCOMPARE(InstallPaths::helpFile(m_bin), installedData() + QStringLiteral("/Quillet.html"));
        QVERIFY(InstallPaths::isInstalled(m_bin));
        QCOMPARE(InstallPaths::ownFilesFolder(m_bin), QString());
        QCOMPARE(InstallPaths::converterFolder(m_bin),
                 QDir::cleanPath(m_bin + QStringLiteral("/" QUILLET_RELATIVE_CONVERTERDIR)));
    }

    // Neither layout: the help page is looked for beside the program, where it is reported
    // missing when asked for.
    void strayProgramLooksBesideItself() {
        QCOMPARE(InstallPaths::dataFolder(m_bin), m_bin);
        QVERIFY(!InstallPaths::isInstalled(m_bin));
        QCOMPARE(InstallPaths::helpFile(m_bin), m_bin + QStringLiteral("/Quillet.html"));
    }

private:
    QString installedData() const {
        return QDir::cleanPath(m_bin + QStringLiteral("/" QUILLET_RELATIVE_DATADIR));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
};

QUILLET_TEST_MAIN(tst_InstallPaths)
#include "tst_installpaths.moc"
