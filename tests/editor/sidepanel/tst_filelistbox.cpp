#include "editor/sidepanel/filelistbox.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

void touch(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

// The file list: which names of a folder it shows and in which order, and its selection.
class tst_FileListBox : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        for (const char *name :
             {"b.jpg", "A.txt", "c.RTF", "README", "a.htm", ".hidden", "Zeta.gif"})
            touch(path(QString::fromLatin1(name)));
        QDir(m_dir.path()).mkpath(QStringLiteral("folder.jpg"));
        QVERIFY(QFile::link(path(QStringLiteral("b.jpg")), path(QStringLiteral("link.jpg"))));
        QVERIFY(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("broken.jpg"))));
        QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.txt"))).constData(), 0600),
                 0);
    }

    void listsOrdinaryFilesIgnoringCase() {
        const QStringList expected{"a.htm",    "A.txt",  "b.jpg",   "c.RTF",
                                   "link.jpg", "README", "Zeta.gif"};
        QCOMPARE(FileListBox::listFolder(m_dir.path(), QStringLiteral("*.*")), expected);
        FileListBox list;
        list.setMask(QStringLiteral("*.*"));
        list.setFolder(m_dir.path());
        QCOMPARE(list.entries(), expected);
        QCOMPARE(list.folder(), m_dir.path());
    }

    void masks_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("star") << "*" << QStringList{"a.htm",    "A.txt",  "b.jpg",   "c.RTF",
                                                    "link.jpg", "README", "Zeta.gif"};
        QTest::addRow("one kind, any case") << "*.rtf" << QStringList{"c.RTF"};
        QTest::addRow("two kinds") << "*.jpg;*.gif" << QStringList{"b.jpg", "link.jpg", "Zeta.gif"};
    }
    void masks() {
        QFETCH(QString, mask);
        QFETCH(QStringList, names);
        QCOMPARE(FileListBox::listFolder(m_dir.path(), mask), names);
    }

    void unreadableFolderListsNothing() {
        FileListBox list;
        list.setFolder(m_dir.path());
        list.setFolder(path(QStringLiteral("missing")));
        QCOMPARE(list.count(), 0);
        QCOMPARE(FileListBox::listFolder(QString(), QStringLiteral("*.*")), QStringList());
    }

    void selectionGivesTheFullPath() {
        FileListBox list;
        list.setFolder(m_dir.path());
        QCOMPARE(list.selectedPath(), QString());
        list.highlightEntry(2);
        QCOMPARE(list.selectedPath(), path(QStringLiteral("b.jpg")));
        QCOMPARE(list.currentRow(), 2);
        list.highlightEntry(-1);
        QCOMPARE(list.selectedPath(), QString());

        list.clearEntries();
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.selectedPath(), QString());
        list.setFolder(m_dir.path()); // the same folder again lists it again
        QCOMPARE(list.count(), 7);
        list.highlightEntry(3);
        list.setFolder(m_dir.path()); // and keeps the highlight
        QCOMPARE(list.selectedPath(), path(QStringLiteral("c.RTF")));
    }
};

QUILLET_TEST_MAIN(tst_FileListBox)
#include "tst_filelistbox.moc"
