#include "editor/sidepanel/termfile.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The term file: its line rules, its character set, its place, and what happens when it cannot
// be written.
class tst_TermFile : public QObject {
    Q_OBJECT

private slots:
    void parsesLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("terms");
        QTest::addRow("empty file") << QByteArray() << QStringList();
        QTest::addRow("cr lf") << QByteArray("Dear Sir\r\nYours\r\n")
                               << QStringList{"Dear Sir", "Yours"};
        QTest::addRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::addRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::addRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::addRow("no closing break") << QByteArray("last") << QStringList{"last"};
        QTest::addRow("one empty term") << QByteArray("\r\n") << QStringList{""};
        QTest::addRow("empty lines kept")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::addRow("nul ends the text")
            << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QStringList{"a", "b"};
        QTest::addRow("nul first") << QByteArray("\0a\r\n", 4) << QStringList();
        QTest::addRow("windows-1252")
            << QByteArray("caf\xE9 \x80\r\n") << QStringList{u"café €"_qs};
        QTest::addRow("utf-8") << QByteArray("\xD0\x94\xD0\xB0\r\n") << QStringList{u"Да"_qs};
    }
    void parsesLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, terms);
        QCOMPARE(TermFile::parse(bytes), terms);
    }

    void formatsEveryTermWithCrLf_data() {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("none") << QStringList() << QByteArray();
        QTest::addRow("two") << QStringList{"Dear Sir", "Yours"}
                             << QByteArray("Dear Sir\r\nYours\r\n");
        QTest::addRow("empty term") << QStringList{""} << QByteArray("\r\n");
        QTest::addRow("latin in code page") << QStringList{u"café"_qs} << QByteArray("caf\xE9\r\n");
        QTest::addRow("beyond the code page in utf-8")
            << QStringList{u"café"_qs, u"Да"_qs}
            << QByteArray("caf\xC3\xA9\r\n\xD0\x94\xD0\xB0\r\n");
        // In the code page these bytes would read back as UTF-8 "é"; UTF-8 keeps them apart.
        QTest::addRow("code page text that looks like utf-8")
            << QStringList{u"Ã©"_qs} << QByteArray("\xC3\x83\xC2\xA9\r\n");
        QTest::addRow("term with paragraphs")
            << QStringList{u"one\u2029two"_qs, "a\r\nb"} << QByteArray("one\r\ntwo\r\na\r\nb\r\n");
    }
    void formatsEveryTermWithCrLf() {
        QFETCH(QStringList, terms);
        QFETCH(QByteArray, bytes);
        QCOMPARE(TermFile::format(terms), bytes);
    }

    // A term of two paragraphs is one term until the file is read again: then it is two.
    void savesAndLoads() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/TxtTmpl.txt"));
        QVERIFY(!TermFile::save(path, {u"first\u2029second"_qs, "", u"Grüße"_qs}));
        QCOMPARE(TermFile::load(path), (QStringList{"first", "second", "", u"Grüße"_qs}));
        QVERIFY(!TermFile::save(path, {}));
        QCOMPARE(readAll(path), QByteArray());
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(TermFile::load(dir.filePath(QStringLiteral("missing.txt"))), QStringList());
    }

    // Whatever stands in the way (here a folder of the file's name), the old file stays and the
    // message names the file.
    void reportsAFileThatCannotBeWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TxtTmpl.txt"));
        QVERIFY(QDir().mkpath(path));
        const auto error = TermFile::save(path, {"lost"});
        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)),
                 qPrintable(*error));
        QVERIFY(QFileInfo(path).isDir());

        const QString blocked = dir.filePath(QStringLiteral("file"));
        QVERIFY(!TermFile::save(blocked, {"kept"}));
        QVERIFY(TermFile::save(blocked + QStringLiteral("/TxtTmpl.txt"), {"lost"}));
        QCOMPARE(TermFile::load(blocked), QStringList{"kept"});
    }

    void livesInTheProgramFolderWhenWritable() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("bin"));
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString own = data + QStringLiteral("/quillet/TxtTmpl.txt");
        QDir().mkpath(program);
        QCOMPARE(TermFile::writePath(program, data), program + QStringLiteral("/TxtTmpl.txt"));
        QCOMPARE(TermFile::readPath(program, data), program + QStringLiteral("/TxtTmpl.txt"));
        QCOMPARE(TermFile::writePath(dir.filePath(QStringLiteral("gone")), data), own);
    }

    // An installed program: the terms go to the user's data folder; the installed file is read
    // until the user's own exists.
    void installedProgramKeepsTermsInTheDataFolder() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("bin"));
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString own = data + QStringLiteral("/quillet/TxtTmpl.txt");
        QVERIFY(!TermFile::save(program + QStringLiteral("/TxtTmpl.txt"), {"installed"}));
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool ignored = QFileInfo(program).isWritable();
        if (!ignored) {
            QCOMPARE(TermFile::writePath(program, data), own);
            QCOMPARE(TermFile::readPath(program, data), program + QStringLiteral("/TxtTmpl.txt"));
            QVERIFY(!TermFile::save(own, {"mine"}));
            QCOMPARE(TermFile::readPath(program, data), own);
        }
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        if (ignored)
            QSKIP("running with rights that ignore folder permissions");
    }

    // Installed, the binaries folder is not the program's own even where it is writable (root):
    // terms go to the user's data folder, and the terms shipped in the data folder are read
    // until the user's own exist.
    void noProgramFolderMeansTheDataFolder() {
        QTemporaryDir dir;
        const QString shipped = dir.filePath(QStringLiteral("share"));
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString own = data + QStringLiteral("/quillet/TxtTmpl.txt");
        QCOMPARE(TermFile::writePath(QString(), data), own);
        QCOMPARE(TermFile::readPath(QString(), data, shipped), own);
        QVERIFY(!TermFile::save(shipped + QStringLiteral("/TxtTmpl.txt"), {"shipped"}));
        QCOMPARE(TermFile::readPath(QString(), data, shipped),
                 shipped + QStringLiteral("/TxtTmpl.txt"));
        QVERIFY(!TermFile::save(own, {"mine"}));
        QCOMPARE(TermFile::readPath(QString(), data, shipped), own);
        QCOMPARE(TermFile::readPath(QString(), data, QString()), own);
    }
};

QUILLET_TEST_MAIN(tst_TermFile)
#include "tst_termfile.moc"
