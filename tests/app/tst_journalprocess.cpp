#include "journal/journalfile.h"
#include "journal/journalstore.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList journals() {
    return QDir(JournalStore::folder()).entryList({QStringLiteral("*.journal")}, QDir::Files);
}

} // namespace

// The real program, killed while a document is modified, offers the journal at its next start
// and restores the document as it was.
class tst_JournalProcess : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Starts the editor on `file` (none when empty) running `script`.
    std::unique_ptr<QProcess> start(const QString &file, const QString &script) {
        const QString scriptPath = m_dir.filePath(
            QStringLiteral("script%1.txt").arg(QRandomGenerator::global()->generate()));
        writeAll(scriptPath, script.toUtf8());
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLET_TEST_SCRIPT"), scriptPath);
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(QUILLET_EXECUTABLE),
                       file.isEmpty() ? QStringList() : QStringList{file});
        [&] { QVERIFY2(process->waitForStarted(10000), qPrintable(process->errorString())); }();
        return process;
    }

    // Waits for the journal that holds `typed`.
    void waitForJournal(const QString &typed) {
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString &name : journals()) {
                    const std::optional<JournalEntry> entry = JournalFile::decode(
                        readAll(QDir(JournalStore::folder()).filePath(name)), nullptr);
                    if (entry && entry->firstLine.contains(typed.trimmed()))
                        return true;
                }
                return false;
            }(),
            30000);
    }

    static QString dumpText(const QString &path) { return QString::fromUtf8(readAll(path)); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void cleanup() { QDir(JournalStore::folder()).removeRecursively(); }

    void killedThenRestored_data() {
        QTest::addColumn<QString>("fileName"); // empty: "Untitled"
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("restoredText");
        QTest::addColumn<QByteArray>("saved"); // the file after Save; RTF compared by its text

        // At start the first character is selected, so typing replaces it.
        QTest::addRow("rtf file") << "letter.rtf" << QByteArray("{\\rtf1\\ansi Hello\\par}")
                                  << "Dear brave new world\\nJ"
                                  << "Dear brave new world\nJello"
                                  << QByteArray("Dear brave new world\nJello");
        QTest::addRow("untitled") << "" << QByteArray() << "never saved\\nat all"
                                  << "never saved\nat all" << QByteArray();
        QTest::addRow("text crlf windows-1252")
            << "notes.txt"
            << QByteArray("Gr\xFC\xDF"
                          "e\r\nzweite Zeile\r\n")
            << QStringLiteral("Caf\u00e9 ")
            << QStringLiteral("Caf\u00e9 Gr\u00fc\u00dfe\nzweite Zeile\n")
            << QByteArray("Caf\xE9 Gr\xFC\xDF"
                          "e\r\nzweite Zeile\r\n");
    }

    void killedThenRestored() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, original);
        QFETCH(QString, typed);
        QFETCH(QString, restoredText);
        QFETCH(QByteArray, saved);
        const QString file = fileName.isEmpty() ? QString() : m_dir.filePath(fileName);
        if (!file.isEmpty())
            writeAll(file, original);

        std::unique_ptr<QProcess> first = start(file, QStringLiteral("type %1\n").arg(typed));
        waitForJournal(typed.left(4));
        first->kill();
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->exitStatus(), QProcess::CrashExit);
        if (!file.isEmpty())
            QCOMPARE(readAll(file), original);

        const QString dump = m_dir.filePath(QStringLiteral("dump-%1").arg(QTest::currentDataTag()));
        QString script = QStringLiteral("waitfor JournalRestoreDialog\nclick Restore\nwait 200\n"
                                        "dump %1\n")
                             .arg(dump);
        // Untitled: the close asks, and No leaves the restored text unsaved.
        script += file.isEmpty() ? QStringLiteral("close\nclick No\n")
                                 : QStringLiteral("shortcut Ctrl+S\nwait 200\nclose\n");
        std::unique_ptr<QProcess> second = start(QString(), script);
        QVERIFY2(second->waitForFinished(60000), "the restoring editor did not close");
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);

        const QString caption = file.isEmpty() ? QStringLiteral("Untitled") : fileName;
        QCOMPARE(dumpText(dump), caption +
                                     QStringLiteral(" - Quillet Vado\nmodified: 1\n"
                                                    "modal: none\n") +
                                     restoredText);
        if (fileName.endsWith(QLatin1String(".rtf"))) {
            QTextDocument document;
            readRtf(readAll(file), document);
            QCOMPARE(document.toPlainText(), QString::fromUtf8(saved));
        } else if (!file.isEmpty()) {
            QCOMPARE(readAll(file), saved);
        }
        // Saved or closed cleanly: no journal stays.
        QCOMPARE(QDir(JournalStore::folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void runningEditorsJournalNotOffered() {
        std::unique_ptr<QProcess> running = start(QString(), QStringLiteral("type still typing\n"));
        waitForJournal(QStringLiteral("still"));
        const QString dump = m_dir.filePath(QStringLiteral("dump-running"));
        std::unique_ptr<QProcess> second =
            start(QString(), QStringLiteral("wait 1500\ndump %1\nclose\n").arg(dump));
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(dumpText(dump),
                 QStringLiteral("Untitled - Quillet Vado\nmodified: 0\nmodal: none\n"));
        QCOMPARE(journals().size(), 1);
        running->kill();
        running->waitForFinished(10000);
    }
};

QUILLET_TEST_MAIN(tst_JournalProcess)
#include "tst_journalprocess.moc"
