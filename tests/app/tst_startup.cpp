#include "app/splash.h"
#include "app/startupdecision.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"
#include "testenvironment.h"
#include "viewer/viewerrules.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(StartWindow)

namespace {

QString userStore() {
    return SettingsStore::userStorePath();
}

void writeStore(const QByteArray &body) {
    QDir().mkpath(QFileInfo(userStore()).absolutePath());
    QFile file(userStore());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(body.isNull() ? QByteArray() : "Quillet Vado settings store 1\n" + body);
}

void removeStore() {
    QFile::remove(userStore());
}

// A started process of the program, reporting its start-up through the trace on stderr.
class QuilletProcess {
public:
    explicit QuilletProcess(const QStringList &arguments, bool quitAfterShow = true,
                            bool handedOver = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLET_STARTUP_TRACE"), QStringLiteral("1"));
        if (quitAfterShow)
            env.insert(QStringLiteral("QUILLET_QUIT_AFTER_SHOW"), QStringLiteral("1"));
        if (handedOver)
            env.insert(QString::fromLatin1(kHandedOverVariable), QStringLiteral("1"));
        m_process.setProcessEnvironment(env);
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(QStringLiteral(QUILLET_EXECUTABLE), arguments);
    }
    ~QuilletProcess() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    // Waits for a trace line of the event; answers its details ("window=editor splash=none").
    QString waitFor(const char *event) {
        const QByteArray prefix = QByteArray("quillet-startup: ") + event + ' ';
        for (int i = 0; i < 300; ++i) {
            while (m_process.canReadLine()) {
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith(prefix))
                    return QString::fromLatin1(line.mid(prefix.size())).section(' ', 1);
            }
            if (m_process.state() == QProcess::NotRunning && !m_process.canReadLine())
                return QStringLiteral("<ended>");
            m_process.waitForReadyRead(100);
        }
        return QStringLiteral("<timeout>");
    }
    bool finishedCleanly() {
        return m_process.waitForFinished(30000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }
    void stop() {
        m_process.terminate();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
};

} // namespace

// Start-up: the choice between editor and text viewer, the flags behind it, the splash window,
// and the real program deciding beside another running process.
class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dir.reset(new QTemporaryDir); }
    void cleanup() { removeStore(); }

    void chooseStartWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("size"); // of the first argument's file; -1: no such file
        QTest::addColumn<bool>("noTV");
        QTest::addColumn<bool>("otherInstance");
        QTest::addColumn<StartWindow>("window");
        const auto E = StartWindow::Editor;
        const auto V = StartWindow::TextViewer;
        const QStringList none;
        const QStringList notes{QStringLiteral("notes.txt")};
        QTest::addRow("no argument") << none << -1 << false << false << E;
        QTest::addRow("no argument, NoTV set") << none << -1 << true << false << E;
        QTest::addRow("empty argument") << QStringList{QString()} << -1 << false << false << E;
        QTest::addRow("small text file") << notes << 100 << false << false << V;
        QTest::addRow("63 KB less one byte") << notes << 63 * 1024 - 1 << false << false << V;
        QTest::addRow("63 KB") << notes << 63 * 1024 << false << false << E;
        QTest::addRow("letter.rtf") << QStringList{"letter.rtf"} << 10 << false << false << E;
        QTest::addRow("LETTER.RTF") << QStringList{"LETTER.RTF"} << 10 << false << false << E;
        QTest::addRow("page.Html") << QStringList{"page.Html"} << 10 << false << false << E;
        QTest::addRow("sound.wav") << QStringList{"sound.wav"} << 10 << false << false << E;
        QTest::addRow("photo.jpeg") << QStringList{"photo.jpeg"} << 10 << false << false << V;
        QTest::addRow("other instance runs") << notes << 100 << false << true << E;
        QTest::addRow("first run, NoTV default") << notes << 100 << true << false << E;
        QTest::addRow("missing text file") << notes << -1 << false << false << V;
        QTest::addRow("missing rtf file") << QStringList{"gone.rtf"} << -1 << false << false << E;
        QTest::addRow("second argument ignored")
            << QStringList{"notes.txt", "letter.rtf"} << 100 << false << false << V;
    }

    void chooseStartWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(int, size);
        QFETCH(bool, noTV);
        QFETCH(bool, otherInstance);
        QFETCH(StartWindow, window);
        if (!arguments.isEmpty() && !arguments.first().isEmpty()) {
            arguments.first() = m_dir->filePath(arguments.first());
            if (size >= 0) {
                QFile file(arguments.first());
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray(size, 'a'));
            }
        }
        QCOMPARE(ChooseStartWindow(arguments, noTV, otherInstance), window);
    }

    void isEditorExtension_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("editor");
        QTest::addRow("rtf") << "/a/b/letter.rtf" << true;
        QTest::addRow("mixed case htm") << "x.HtM" << true;
        QTest::addRow("html") << "x.html" << true;
        QTest::addRow("gif bmp jpg") << "x.gif" << true;
        QTest::addRow("bmp") << "x.BMP" << true;
        QTest::addRow("jpg") << "x.jpg" << true;
        QTest::addRow("last dot counts") << "letter.rtf.txt" << false;
        QTest::addRow("dot in folder only") << "/tmp/box.rtf/notes" << false;
        QTest::addRow("name is the extension") << "/tmp/.rtf" << true;
        QTest::addRow("no dot") << "README" << false;
        QTest::addRow("trailing dot") << "letter.rtf." << false;
        QTest::addRow("txt") << "notes.txt" << false;
    }

    void isEditorExtension() {
        QFETCH(QString, file);
        QFETCH(bool, editor);
        QCOMPARE(IsEditorExtension(file), editor);
    }

    void readStartupFlags_data() {
        QTest::addColumn<QByteArray>("store"); // null: no store file
        QTest::addColumn<bool>("noTV");
        QTest::addColumn<bool>("noSplash");
        const QByteArray key = "[Software\\Fernlake\\Quillet]\n";
        QTest::addRow("no store file") << QByteArray() << true << false;
        QTest::addRow("no key") << QByteArray("[Software\\Other]\n") << true << false;
        QTest::addRow("empty key") << key << true << false;
        QTest::addRow("NoTV false") << key + "\"NoTV\"=dword:00000000\n" << false << false;
        QTest::addRow("NOSplash written by the editor") << key + "\"NOSplash\"=dword:00000001\n"
                                                        << true << true;
        QTest::addRow("any non-zero is true")
            << key + "\"notv\"=dword:00000002\n\"nosplash\"=dword:ffffffff\n"
            << true << true;
        QTest::addRow("string counts as absent") << key + "\"NoTV\"=\"0\"\n\"NoSplash\"=\"1\"\n"
                                                 << true << false;
        QTest::addRow("binary counts as absent") << key + "\"NoTV\"=hex:00\n" << true << false;
        QTest::addRow("damaged store")
            << QByteArray("[Software\\Fernlake\\Quillet]\n\"NoTV\"=dwo") << true << false;
    }

    void readStartupFlags() {
        QFETCH(QByteArray, store);
        QFETCH(bool, noTV);
        QFETCH(bool, noSplash);
        if (store.isNull())
            removeStore();
        else
            writeStore(store);
        const StartupFlags flags =
            ReadStartupFlags(SettingsStore(userStore(), SettingsStore::Access::ReadOnly));
        QCOMPARE(flags.noTV, noTV);
        QCOMPARE(flags.noSplash, noSplash);
    }

    void splashWindow() {
        RecordingShell shell;
        TSplash splash(shell);
        QCOMPARE(splash.size(), QSize(543, 312));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!splash.image1()->pixmap().isNull());
        QCOMPARE(splash.image1()->pixmap().size(), QSize(543, 312));
        QCOMPARE(splash.label1()->pos(), QPoint(56, 248));
        QCOMPARE(splash.label2()->pos(), QPoint(53, 245));
        QCOMPARE(splash.label2()->font().pixelSize(), 43);
        QVERIFY(splash.label2()->font().bold());
        QVERIFY(splash.label2()->font().underline());
        QCOMPARE(splash.label2()->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(splash.label2()->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(splash.label1()->palette().color(QPalette::WindowText), QColor(Qt::gray));
        QCOMPARE(splash.label2()->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(splash.label2()->text(), splash.label1()->text());
        // Label2 lies on top of its shadow.
        QVERIFY(splash.children().indexOf(splash.label2()) >
                splash.children().indexOf(splash.label1()));

        splash.showAndPaint();
        const QUrl address(QStringLiteral("http://www.fernlake.com"));
        QTest::mouseClick(splash.label2(), Qt::LeftButton);
        QCOMPARE(shell.urls, QList<QUrl>{address});
        // A real double click: the first click opens the address, the second half does not.
        QTest::mouseClick(splash.label2(), Qt::LeftButton);
        QTest::mouseDClick(splash.label2(), Qt::LeftButton);
        QTest::mouseClick(splash.label2(), Qt::LeftButton);
        QCOMPARE(shell.urls.size(), 1);
        // A double click alone opens it too.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseDClick(splash.label2(), Qt::LeftButton);
        QCOMPARE(shell.urls, (QList<QUrl>{address, address}));
    }

    void helpFileLiesBesideTheProgram() {
        const QString page = QFileInfo(QStringLiteral(QUILLET_EXECUTABLE)).absolutePath() +
                             QStringLiteral("/Quillet.html");
        QVERIFY2(QFileInfo(page).isFile(), qPrintable(page));
    }

    // The real program: a small text file opens in the viewer only while no other process of the
    // program runs, and a second editor shows no splash window.
    void realProgramBesideAnotherInstance() {
        writeStore("[Software\\Fernlake\\Quillet]\n\"NoTV\"=dword:00000000\n");
        const QString notes = m_dir->filePath(QStringLiteral("notes.txt"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, 'n'));
        file.close();

        {
            QuilletProcess alone({notes});
            QCOMPARE(alone.waitFor("decision"), QStringLiteral("window=viewer splash=none"));
            QVERIFY(alone.finishedCleanly());
        }
        QuilletProcess first({}, false);
        QCOMPARE(first.waitFor("decision"), QStringLiteral("window=editor splash=shown"));
        QVERIFY(first.waitFor("first-paint") != QStringLiteral("<ended>"));

        QuilletProcess second({notes});
        QCOMPARE(second.waitFor("decision"), QStringLiteral("window=editor splash=none"));
        QVERIFY(second.finishedCleanly());

        first.stop();
        QuilletProcess after({notes});
        QCOMPARE(after.waitFor("decision"), QStringLiteral("window=viewer splash=none"));
        QVERIFY(after.finishedCleanly());
    }

    // A file handed over by a viewer that has already ended still opens in the editor.
    void handedOverFileOpensTheEditor() {
        writeStore("[Software\\Fernlake\\Quillet]\n\"NoTV\"=dword:00000000\n");
        const QString notes = m_dir->filePath(QStringLiteral("notes.txt"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, 'n'));
        file.close();
        QuilletProcess handedOver({notes}, true, true);
        QVERIFY(handedOver.waitFor("decision").startsWith(QStringLiteral("window=editor ")));
        QVERIFY(handedOver.finishedCleanly());
    }

    void noSplashStoredStartsWithoutSplash() {
        writeStore("[Software\\Fernlake\\Quillet]\n\"NOSplash\"=dword:00000001\n");
        QuilletProcess editor({});
        QCOMPARE(editor.waitFor("decision"), QStringLiteral("window=editor splash=hidden"));
        QVERIFY(editor.waitFor("first-paint") != QStringLiteral("<timeout>"));
        QVERIFY(editor.finishedCleanly());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QUILLET_TEST_MAIN(tst_Startup)
#include "tst_startup.moc"
