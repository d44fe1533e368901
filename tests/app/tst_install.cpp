#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Run {
    int exitCode = -1;
    QString output; // standard output and error
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 120000) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("<no end within %1 ms> ").arg(timeoutMs);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.output += QString::fromLocal8Bit(process.readAll());
    return result;
}

// The details of a start-up trace event ("quillet-startup: <event> <ns> <details>").
QString traced(const QString &output, const QString &event) {
    const QString prefix = QStringLiteral("quillet-startup: ") + event + QLatin1Char(' ');
    for (const QString &line : output.split(QLatin1Char('\n')))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).section(QLatin1Char(' '), 1);
    return QStringLiteral("<no %1 traced>").arg(event);
}

} // namespace

// `cmake --install` into a staging folder (DESTDIR) with the prefix /usr: every file in its place,
// and the installed programs finding what ships with them there.
class tst_Install : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_stage.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_stage.path());
        const Run install = run(QStringLiteral(QUILLET_CMAKE_COMMAND),
                                {QStringLiteral("--install"), QStringLiteral(QUILLET_BINARY_DIR),
                                 QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                env);
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        m_usr = m_stage.filePath(QStringLiteral("usr"));
    }

    void filesInTheirPlaces_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::addRow("program") << "bin/quillet" << true;
        QTest::addRow("converter command") << "bin/quillet-convert" << true;
        QTest::addRow("help page") << "share/quillet/Quillet.html" << false;
        QTest::addRow("scalable icon") << "share/icons/hicolor/scalable/apps/quillet.svg" << false;
        QTest::addRow("launcher") << "share/applications/" QUILLET_APP_ID ".desktop" << false;
        QTest::addRow("metainfo") << "share/metainfo/" QUILLET_APP_ID ".metainfo.xml" << false;
        QTest::addRow("manual page") << "share/man/man1/quillet-convert.1.gz" << false;
        QTest::addRow("program's manual page") << "share/man/man1/quillet.1.gz" << false;
    }
    void filesInTheirPlaces() {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo file(QDir(m_usr).filePath(path));
        QVERIFY2(file.isFile() && file.size() > 0, qPrintable(path));
        QCOMPARE(file.isExecutable(), executable);
    }

    void iconSizes_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d", size) << size;
    }
    void iconSizes() {
        QFETCH(int, size);
        const QImage icon(QDir(m_usr).filePath(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/quillet.png").arg(size)));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
    }

    // Only programs go to the binaries folder; the help page used to lie beside the program.
    void binariesFolderHoldsOnlyPrograms() {
        QStringList entries = QDir(QDir(m_usr).filePath(QStringLiteral("bin")))
                                  .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        entries.sort();
        QCOMPARE(entries, (QStringList{QStringLiteral("quillet"), QStringLiteral("quillet-convert"),
                                       QStringLiteral("quillet-converter-host")}));
    }

    void installedProgramFindsWhatShipsWithIt() {
        // A term list shipped with the program is what a new user starts with.
        const QString shippedTerms =
            QDir(m_usr).filePath(QStringLiteral("share/quillet/TxtTmpl.txt"));
        QFile terms(shippedTerms);
        QVERIFY(terms.open(QIODevice::WriteOnly));
        terms.write("Kind regards\r\n");
        terms.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLET_STARTUP_TRACE"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUILLET_QUIT_AFTER_SHOW"), QStringLiteral("1"));
        const Run editor = run(QDir(m_usr).filePath(QStringLiteral("bin/quillet")), {}, env);
        QFile::remove(shippedTerms);
        QVERIFY2(editor.exitCode == 0, qPrintable(editor.output));

        const QString usr = QFileInfo(m_usr).canonicalFilePath();
        QCOMPARE(traced(editor.output, QStringLiteral("help-file")),
                 usr + QStringLiteral("/share/quillet/Quillet.html"));
        QCOMPARE(traced(editor.output, QStringLiteral("term-file")),
                 usr + QStringLiteral("/share/quillet/TxtTmpl.txt"));
        QCOMPARE(traced(editor.output, QStringLiteral("converter-folder")),
                 usr + QStringLiteral("/" QUILLET_INSTALL_CONVERTERDIR));
    }

    void installedConverterCommandRuns() {
        QTemporaryDir work;
        const QString in = work.filePath(QStringLiteral("in.rtf"));
        const QString out = work.filePath(QStringLiteral("out.txt"));
        QFile rtf(in);
        QVERIFY(rtf.open(QIODevice::WriteOnly));
        rtf.write(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 Installed \\b fine\\b0 .\\par}");
        rtf.close();
        const Run convert =
            run(QDir(m_usr).filePath(QStringLiteral("bin/quillet-convert")), {in, out});
        QVERIFY2(convert.exitCode == 0, qPrintable(convert.output));
        QFile text(out);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(text.readAll().startsWith("Installed fine."));
    }

    void launcherValidates() {
        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
        const Run check = run(validator, {QDir(m_usr).filePath(QStringLiteral(
                                             "share/applications/" QUILLET_APP_ID ".desktop"))});
        QVERIFY2(check.exitCode == 0 && check.output.trimmed().isEmpty(), qPrintable(check.output));
    }

    void metainfoValidates() {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (validator.isEmpty())
            QSKIP("appstreamcli is not installed (Debian package appstream)");
        const Run check = run(validator, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                          QDir(m_usr).filePath(QStringLiteral(
                                              "share/metainfo/" QUILLET_APP_ID ".metainfo.xml"))});
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

private:
    QTemporaryDir m_stage;
    QString m_usr;
};

QUILLET_TEST_MAIN(tst_Install)
#include "tst_install.moc"
