#include "platform/namedmutex.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A helper process that claims a name and holds it until closed.
class Holder {
public:
    explicit Holder(const QString &name) {
        m_process.start(QStringLiteral(QUILLET_PLATFORM_HELPER),
                        {QStringLiteral("mutex-hold"), name});
    }
    ~Holder() { release(); }

    // The claim the helper reported.
    QString claim() {
        if (!m_process.waitForReadyRead(10000))
            return QStringLiteral("<no answer>");
        return QString::fromLatin1(m_process.readLine()).trimmed();
    }
    void release() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
};

QString uniqueName(const char *base) {
    static int counter = 0;
    return QStringLiteral("%1_%2_%3").arg(QLatin1String(base)).arg(::getpid()).arg(++counter);
}

} // namespace

// Named mutexes as other processes of the program see them.
class tst_NamedMutex : public QObject {
    Q_OBJECT

private slots:
    void claimTwiceInOneProcess() {
        const QString name = uniqueName("self");
        QCOMPARE(NamedMutex::claim(name), NamedMutex::Claim::Created);
        QCOMPARE(NamedMutex::claim(name), NamedMutex::Claim::AlreadyExisted);
    }

    void secondProcessSeesTheName() {
        const QString name = uniqueName("second");
        Holder first(name);
        QCOMPARE(first.claim(), QStringLiteral("Created"));
        Holder second(name);
        QCOMPARE(second.claim(), QStringLiteral("AlreadyExisted"));
        second.release();
        first.release();

        // Both ended: the name is free, although the lock file stays on disk.
        QVERIFY(QFile::exists(NamedMutex::folder() + QLatin1Char('/') + name + ".lock"));
        Holder third(name);
        QCOMPARE(third.claim(), QStringLiteral("Created"));
    }

    // The name lives as long as any process that claimed it, not only its creator.
    void laterClaimerKeepsTheNameAlive() {
        const QString name = uniqueName("alive");
        Holder first(name);
        QCOMPARE(first.claim(), QStringLiteral("Created"));
        Holder second(name);
        QCOMPARE(second.claim(), QStringLiteral("AlreadyExisted"));
        first.release();
        Holder third(name);
        QCOMPARE(third.claim(), QStringLiteral("AlreadyExisted"));
    }

    void startedProgramDoesNotInheritTheName() {
        const QString name = uniqueName("inherit");
        QProcess spawner;
        spawner.start(
            QStringLiteral(QUILLET_PLATFORM_HELPER),
            {QStringLiteral("mutex-spawn"), name, QStringLiteral("sleep"), QStringLiteral("60")});
        QVERIFY(spawner.waitForFinished(10000));
        const QStringList out = QString::fromLatin1(spawner.readAllStandardOutput()).split(' ');
        QCOMPARE(out.value(0), QStringLiteral("Created"));
        const pid_t child = out.value(1).trimmed().toInt();
        QVERIFY(child > 0);
        QCOMPARE(::kill(child, 0), 0); // the started program still runs
        Holder next(name);
        const QString claim = next.claim();
        ::kill(child, SIGKILL);
        QCOMPARE(claim, QStringLiteral("Created"));
    }

    void namesAreDistinctFiles_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addRow("case") << "Quillet"
                              << "quillet";
        QTest::addRow("slash vs escape") << "a/b"
                                         << "a%2fb";
        QTest::addRow("dot prefix") << ".guard"
                                    << "%2eguard";
    }

    void namesAreDistinctFiles() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const QString suffix = uniqueName("d");
        QCOMPARE(NamedMutex::claim(a + suffix), NamedMutex::Claim::Created);
        QCOMPARE(NamedMutex::claim(b + suffix), NamedMutex::Claim::Created);
    }

    void folderFallsBackToAPrivateTmpFolder() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        const QString fallback = QStringLiteral("/tmp/quillet-%1").arg(::getuid());

        qunsetenv("XDG_RUNTIME_DIR");
        const QString withoutRuntime = NamedMutex::folder();

        // A runtime folder whose quillet folder others may enter is not used.
        QTemporaryDir runtime;
        QVERIFY(QDir(runtime.path()).mkdir(QStringLiteral("quillet")));
        QCOMPARE(::chmod(QFile::encodeName(runtime.path() + "/quillet").constData(), 0755), 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString withOpenFolder = NamedMutex::folder();

        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(withoutRuntime, fallback);
        QCOMPARE(withOpenFolder, fallback);
        QCOMPARE(NamedMutex::folder(), QString::fromLocal8Bit(saved) + "/quillet");
    }
};

QUILLET_TEST_MAIN(tst_NamedMutex)
#include "tst_namedmutex.moc"
