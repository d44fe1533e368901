#include "editor/file/filekind.h"
#include "editor/file/recentfiles.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

Q_DECLARE_METATYPE(FileKind)
Q_DECLARE_METATYPE(SaveEntry)

// The loader's file-kind table, the extension rule of Save As and the recent-file list.
class tst_FileKind : public QObject {
    Q_OBJECT

private slots:
    void kinds_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("openAsText");
        QTest::addColumn<FileKind>("kind");
        QTest::addRow("rtf") << "/d/letter.rtf" << false << FileKind::Rtf;
        QTest::addRow("RTF upper case") << "/d/LETTER.RTF" << false << FileKind::Rtf;
        QTest::addRow("exe") << "/d/setup.exe" << false << FileKind::Program;
        QTest::addRow("com") << "/d/tool.COM" << false << FileKind::Program;
        QTest::addRow("bmp") << "/d/a.bmp" << false << FileKind::Picture;
        QTest::addRow("JPG upper case") << "/d/photo.JPG" << false << FileKind::Picture;
        QTest::addRow("gif") << "/d/anim.gif" << false << FileKind::Picture;
        QTest::addRow("jpeg is text") << "/d/clip.jpeg" << false << FileKind::Text;
        QTest::addRow("htm") << "/d/index.htm" << false << FileKind::Page;
        QTest::addRow("html") << "/d/page.html" << false << FileKind::Page;
        QTest::addRow("xhtml ends in tml") << "/d/page.xhtml" << false << FileKind::Page;
        QTest::addRow("wav") << "/d/ding.wav" << false << FileKind::Sound;
        QTest::addRow("txt") << "/d/notes.txt" << false << FileKind::Text;
        QTest::addRow("no extension") << "/d/README" << false << FileKind::Text;
        QTest::addRow("short name") << "rt" << false << FileKind::Text;
        QTest::addRow("empty name") << "" << false << FileKind::Text;
        QTest::addRow("folder name without dot") << "/d/xrtf" << false << FileKind::Rtf;
        QTest::addRow("open as text picture") << "/d/a.jpg" << true << FileKind::Text;
        QTest::addRow("open as text rtf") << "/d/a.rtf" << true << FileKind::Text;
    }
    void kinds() {
        QFETCH(QString, name);
        QFETCH(bool, openAsText);
        QFETCH(FileKind, kind);
        QCOMPARE(DecideFileKind(name, openAsText), kind);
    }

    void foreignKinds() {
        QVERIFY(!IsForeignKind(FileKind::Rtf));
        QVERIFY(!IsForeignKind(FileKind::Text));
        QVERIFY(IsForeignKind(FileKind::Program));
        QVERIFY(IsForeignKind(FileKind::Picture));
        QVERIFY(IsForeignKind(FileKind::Page));
        QVERIFY(IsForeignKind(FileKind::Sound));
    }

    void extensionRule_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<SaveEntry>("entry");
        QTest::addColumn<QString>("target");
        QTest::addRow("report rtf") << "/d/report" << SaveEntry::RichText << "/d/report.rtf";
        QTest::addRow("report text") << "/d/report" << SaveEntry::Text << "/d/report.txt";
        QTest::addRow("report all") << "/d/report" << SaveEntry::AllFiles << "/d/report.txt";
        QTest::addRow("doc to rtf") << "/d/report.doc" << SaveEntry::RichText << "/d/report.rtf";
        QTest::addRow("doc to txt") << "/d/report.doc" << SaveEntry::Text << "/d/report.txt";
        QTest::addRow("doc kept by all")
            << "/d/report.doc" << SaveEntry::AllFiles << "/d/report.doc";
        QTest::addRow("rtf kept") << "/d/a.rtf" << SaveEntry::RichText << "/d/a.rtf";
        QTest::addRow("txt kept") << "/d/a.txt" << SaveEntry::Text << "/d/a.txt";
        QTest::addRow("RTF upper case kept") << "/d/A.RTF" << SaveEntry::RichText << "/d/A.RTF";
        QTest::addRow("TXT upper case kept") << "/d/A.TXT" << SaveEntry::Text << "/d/A.TXT";
        QTest::addRow("html gets rtf")
            << "/d/page.html" << SaveEntry::RichText << "/d/page.html.rtf";
        QTest::addRow("html all gets txt")
            << "/d/page.html" << SaveEntry::AllFiles << "/d/page.html.txt";
        QTest::addRow("dotted folder") << "/d.e/name" << SaveEntry::Text << "/d.e/name.txt";
        QTest::addRow("blanks and umlauts")
            << "/d/mein Brief ä" << SaveEntry::RichText << "/d/mein Brief ä.rtf";
        QTest::addRow("short") << "ab" << SaveEntry::RichText << "ab.rtf";
    }
    void extensionRule() {
        QFETCH(QString, chosen);
        QFETCH(SaveEntry, entry);
        QFETCH(QString, target);
        const QString ext =
            entry == SaveEntry::RichText ? QStringLiteral("rtf") : QStringLiteral("txt");
        QCOMPARE(ProvideFileName(chosen, ext, entry), target);
    }

    void rtfExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("rtf");
        QTest::addRow("lower") << "/d/a.rtf" << true;
        QTest::addRow("upper") << "/d/A.RTF" << true;
        QTest::addRow("mixed") << "/d/a.Rtf" << true;
        QTest::addRow("txt") << "/d/a.txt" << false;
        QTest::addRow("rtf without dot") << "/d/xrtf" << false;
        QTest::addRow("rtf then more") << "/d/a.rtf.bak" << false;
        QTest::addRow("untitled") << "Untitled" << false;
    }
    void rtfExtension() {
        QFETCH(QString, name);
        QFETCH(bool, rtf);
        QCOMPARE(HasRtfExtension(name), rtf);
    }

    void recentFilesNewestFirstWithFourSlots() {
        TRecentFiles recent;
        QVERIFY(!recent.anyUsed());
        QCOMPARE(recent.caption(0), QStringLiteral("&1 name"));
        QCOMPARE(recent.storedValue(0), QString());
        for (const char *path : {"/d/a", "/d/b", "/d/c", "/d/d"})
            QVERIFY(recent.AddRecentFile(QString::fromLatin1(path)));
        QVERIFY(recent.anyUsed());
        QCOMPARE(recent.caption(0), QStringLiteral("&1 /d/d"));
        QCOMPARE(recent.caption(3), QStringLiteral("&4 /d/a"));

        // Opening a listed file again changes nothing; a fifth file pushes the oldest out.
        QVERIFY(!recent.AddRecentFile(QStringLiteral("/d/b")));
        QCOMPARE(recent.path(2), QStringLiteral("/d/b"));
        QVERIFY(recent.AddRecentFile(QStringLiteral("/d/e")));
        const QStringList expected{"/d/e", "/d/d", "/d/c", "/d/b"};
        for (int slot = 0; slot < TRecentFiles::Count; ++slot)
            QCOMPARE(recent.path(slot), expected.at(slot));
        QCOMPARE(recent.storedValue(1), QStringLiteral(" /d/d"));
    }

    void recentFilesTrimAndNeverListBlanks() {
        TRecentFiles recent;
        QVERIFY(!recent.AddRecentFile(QStringLiteral("   ")));
        QVERIFY(!recent.anyUsed());
        // A stored value begins with a blank; it names the same file as the bare path.
        QVERIFY(recent.AddRecentFile(QStringLiteral(" /d/a b.txt ")));
        QCOMPARE(recent.path(0), QStringLiteral("/d/a b.txt"));
        QVERIFY(!recent.AddRecentFile(QStringLiteral("/d/a b.txt")));
        QVERIFY(!recent.isUsed(1));
        // Letter case tells files apart.
        QVERIFY(recent.AddRecentFile(QStringLiteral("/d/A b.txt")));
        QCOMPARE(TRecentFiles::pathOfStoredValue(recent.storedValue(2)), QString());
        QCOMPARE(TRecentFiles::pathOfStoredValue(QStringLiteral(" /d/x")), QStringLiteral("/d/x"));
    }

    void recentMenuTextKeepsAmpersands() {
        TRecentFiles recent;
        recent.AddRecentFile(QStringLiteral("/d/Tom & Jerry.rtf"));
        QCOMPARE(recent.caption(0), QStringLiteral("&1 /d/Tom & Jerry.rtf"));
        QCOMPARE(recent.menuText(0), QStringLiteral("&1 /d/Tom && Jerry.rtf"));
    }
};

QUILLET_TEST_MAIN(tst_FileKind)
#include "tst_filekind.moc"
