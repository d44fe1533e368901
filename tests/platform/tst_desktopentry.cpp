#include "platform/desktopentry.h"
#include "platform/desktopshell.h"
#include "testenvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Application entries: reading them, their Exec line, and starting one with a file.
class tst_DesktopEntry : public QObject {
    Q_OBJECT

private slots:
    void readsTheEntryGroupOnly() {
        const auto entry = DesktopEntry::parse(
            "# comment\n[Desktop Entry]\nType=Application\nName=Paint\nName[de]=Malen\n"
            "Exec=paint %U\nIcon=paint\n[Desktop Action new]\nExec=other\n");
        QVERIFY(entry);
        QCOMPARE(entry->name, QStringLiteral("Paint"));
        QCOMPARE(entry->exec, QStringLiteral("paint %U"));
        QCOMPARE(entry->icon, QStringLiteral("paint"));
        QVERIFY(!DesktopEntry::parse("[Desktop Entry]\nName=No program\n"));
        QVERIFY(!DesktopEntry::parse("Exec=stray\n"));
    }

    void buildsTheCommandLine_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("command");
        QTest::addRow("file code")
            << QStringLiteral("ed %f") << QStringLiteral("/a b/c;d.rtf")
            << QStringList{QStringLiteral("ed"), QStringLiteral("/a b/c;d.rtf")};
        QTest::addRow("no file: code dropped")
            << QStringLiteral("ed --new %F") << QString()
            << QStringList{QStringLiteral("ed"), QStringLiteral("--new")};
        QTest::addRow("quoted program with blanks")
            << QStringLiteral("\"/opt/My Ed/ed\" -x %u") << QStringLiteral("/f")
            << QStringList{QStringLiteral("/opt/My Ed/ed"), QStringLiteral("-x"),
                           QStringLiteral("/f")};
        QTest::addRow("escapes in quotes")
            << QStringLiteral("sh \"a\\\"b\\$c\"") << QString()
            << QStringList{QStringLiteral("sh"), QStringLiteral("a\"b$c")};
        QTest::addRow("percent and name")
            << QStringLiteral("ed --title=%c 100%%") << QString()
            << QStringList{QStringLiteral("ed"), QStringLiteral("--title=Ed"),
                           QStringLiteral("100%")};
        QTest::addRow("open quote")
            << QStringLiteral("ed \"unterminated") << QString() << QStringList{};
    }

    void buildsTheCommandLine() {
        QFETCH(QString, exec);
        QFETCH(QString, file);
        QFETCH(QStringList, command);
        DesktopEntry entry;
        entry.name = QStringLiteral("Ed");
        entry.exec = exec;
        QCOMPARE(entry.commandLine(file), command);
    }

    // The shell starts the entry's program with the document as exactly one argument.
    void shellStartsAnEntry() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("prog"));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.out\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        const QString entryPath = dir.filePath(QStringLiteral("prog.desktop"));
        QFile entry(entryPath);
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Prog\nExec=\"" +
                    QFile::encodeName(program) + "\" --open %f\n");
        entry.close();

        DesktopShell shell;
        const QString document = dir.filePath(QStringLiteral("a b; $(x).rtf"));
        QVERIFY(Shell::succeeded(
            shell.LaunchFile(entryPath, document, QString(), Shell::ShowState::Normal)));
        QTRY_VERIFY(QFile::exists(program + QStringLiteral(".out")));
        QFile result(program + QStringLiteral(".out"));
        QTRY_VERIFY(result.size() > 0);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()),
                 QStringLiteral("--open|") + document + QLatin1Char('|'));
    }
};

QUILLET_TEST_MAIN(tst_DesktopEntry)
#include "tst_desktopentry.moc"
