#include "platform/desktopshell.h"
#include "platform/helpviewer.h"
#include "platform/waveplayer.h"
#include "recordingshell.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sndfile.h>

// Takes the addresses the desktop would open, so that no browser or mail program starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

namespace {

void writeWave(const QString &path, int frames) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    QVERIFY(file);
    std::vector<short> samples(size_t(frames), 1000);
    sf_writef_short(file, samples.data(), frames);
    sf_close(file);
}

} // namespace

// Starting programs, opening documents and addresses, playing sounds.
class tst_DesktopShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_catcher, "handle");
    }

    void cleanupTestCase() {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    void init() { m_catcher.urls.clear(); }

    // The parameter string arrives whole as one argument, and the folder is the working folder.
    void startsAProgramWithParametersAndFolder() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        const QString script = dir.filePath(QStringLiteral("prog with blank.sh"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n{ echo \"$#\"; echo \"$1\"; pwd; } > \"$OUT.tmp\"\n"
                   "mv \"$OUT.tmp\" \"$OUT\"\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        qputenv("OUT", QFile::encodeName(out));

        const QString folder = dir.filePath(QStringLiteral("work dir"));
        QVERIFY(QDir().mkpath(folder));
        const QString parameter =
            QStringLiteral("/tmp/a file with blanks.rtf ") + QString(3000, 'x');
        DesktopShell shell;
        const int code = shell.LaunchFile(script, parameter, folder, Shell::ShowState::Normal);
        QVERIFY(Shell::succeeded(code));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
        QFile result(out);
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLocal8Bit(result.readAll()).split('\n');
        QCOMPARE(lines.value(0), QStringLiteral("1"));
        QCOMPARE(lines.value(1), parameter);
        QCOMPARE(lines.value(2), folder);
        QVERIFY(m_catcher.urls.isEmpty());
    }

    void launchResults_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QUrl>("opened"); // empty: nothing handed to the desktop
        QTest::addRow("missing file") << "/no/such/file.exe" << Shell::kFileNotFound << QUrl();
        QTest::addRow("unknown bare name")
            << "no-such-program-quillet" << Shell::kFileNotFound << QUrl();
        QTest::addRow("empty name") << "" << Shell::kFileNotFound << QUrl();
        QTest::addRow("web address") << "http://www.example.org/a b" << Shell::kSuccess
                                     << QUrl(QStringLiteral("http://www.example.org/a b"));
        QTest::addRow("mail address") << "mailto:someone@example.org" << Shell::kSuccess
                                      << QUrl(QStringLiteral("mailto:someone@example.org"));
    }

    void launchResults() {
        QFETCH(QString, file);
        QFETCH(int, code);
        QFETCH(QUrl, opened);
        DesktopShell shell;
        QCOMPARE(shell.LaunchFile(file, QString(), QString(), Shell::ShowState::Normal), code);
        QCOMPARE(m_catcher.urls, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{opened});
    }

    // A document (not executable) goes to the desktop's application for it.
    void opensADocument() {
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("letter 1.rtf"));
        QFile file(doc);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        DesktopShell shell;
        QVERIFY(Shell::succeeded(
            shell.LaunchFile(doc, QStringLiteral("ignored"), QString(), Shell::ShowState::Normal)));
        QCOMPARE(m_catcher.urls, QList<QUrl>{QUrl::fromLocalFile(doc)});
    }

    void waveWithoutDeviceOrUnreadable() {
        QTemporaryDir dir;
        const QString wave = dir.filePath(QStringLiteral("chime.wav"));
        writeWave(wave, 400);
        // With a sound device it plays its 50 ms; without one it returns at once. Either ends.
        const WavePlayback played = PlayWaveFile(wave);
        QVERIFY(played == WavePlayback::Played || played == WavePlayback::NoDevice);

        const QString text = dir.filePath(QStringLiteral("fake.wav"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF but not really a wave file");
        file.close();
        QCOMPARE(PlayWaveFile(text), WavePlayback::Unreadable);
        QCOMPARE(PlayWaveFile(dir.filePath(QStringLiteral("missing.wav"))),
                 WavePlayback::Unreadable);
        QCOMPARE(DesktopShell().playWave(text), false);
    }

    void helpViewerOpensThePage() {
        RecordingShell shell;
        HelpViewer help(shell);
        QVERIFY(!help.showContents()); // no help file yet
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("Quillet.html"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        help.setHelpFile(page);
        QVERIFY(help.showContents());
        QVERIFY(help.showTopic(120));
        QUrl topic = QUrl::fromLocalFile(page);
        topic.setFragment(QStringLiteral("context-120"));
        QCOMPARE(shell.urls, (QList<QUrl>{QUrl::fromLocalFile(page), topic}));
        help.setHelpFile(dir.filePath(QStringLiteral("gone.html")));
        QVERIFY(!help.showContents());
        QCOMPARE(shell.urls.size(), 2);
    }

private:
    UrlCatcher m_catcher;
};

QUILLET_TEST_MAIN(tst_DesktopShell)
#include "tst_desktopshell.moc"
