#include "print/previewpagestore.h"
#include "print/tcompress.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <QTest>

namespace {

QPicture pageWith(const QString &text) {
    QPicture picture;
    QPainter painter(&picture);
    painter.drawRect(10, 10, 200, 300);
    painter.drawText(20, 40, text);
    painter.end();
    return picture;
}

QImage rendered(const QPicture &picture) {
    QImage image(240, 340, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    return image;
}

void touch(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("stale");
}

} // namespace

class TestPreviewPageStore : public QObject {
    Q_OBJECT

private slots:
    void savesAndLoads_data() {
        QTest::addColumn<bool>("compress");
        QTest::newRow("plain") << false;
        QTest::newRow("compressed") << true;
    }
    void savesAndLoads() {
        QFETCH(bool, compress);
        QTemporaryDir work;
        PreviewPageStore store(compress, work.path());
        QCOMPARE(store.folder(), work.path());
        QVERIFY(store.savePage(pageWith(QStringLiteral("one"))));
        QVERIFY(store.savePage(pageWith(QStringLiteral("two"))));
        QCOMPARE(store.pageCount(), 2);
        const QString plain = QDir(work.path()).filePath(QStringLiteral("PreviewMetafile1"));
        QCOMPARE(QFile::exists(plain), !compress);
        QCOMPARE(QFile::exists(plain + QStringLiteral(".CPR")), compress);

        QPicture loaded;
        QVERIFY(store.loadPage(1, loaded));
        QCOMPARE(rendered(loaded), rendered(pageWith(QStringLiteral("two"))));
        QVERIFY(!store.loadPage(2, loaded));
        // Between paints only the stored form stays.
        QCOMPARE(QFile::exists(plain), !compress);
    }

    void compressedFileIsZlibLevelOne() {
        QTemporaryDir work;
        PreviewPageStore store(true, work.path());
        QVERIFY(store.savePage(pageWith(QStringLiteral("x"))));
        QFile file(store.storedPath(0));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(2);
        QCOMPARE(quint8(head.at(0)), quint8(0x78));
        QCOMPARE(quint8(head.at(1)), quint8(0x01)); // level 1 marks the fastest setting
    }

    void decompressesLargeFileInBlocks() {
        QTemporaryDir work;
        const QString source = work.filePath(QStringLiteral("src"));
        QByteArray data;
        for (int i = 0; i < 50000; ++i)
            data.append(char(i * 7 % 251));
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(data);
        }
        QVERIFY(TCompress::compressFile(source, work.filePath(QStringLiteral("z"))));
        QVERIFY(TCompress::decompressFile(work.filePath(QStringLiteral("z")),
                                          work.filePath(QStringLiteral("back"))));
        QFile back(work.filePath(QStringLiteral("back")));
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), data);

        // A truncated stream fails and leaves no half-written target.
        QFile zipped(work.filePath(QStringLiteral("z")));
        QVERIFY(zipped.open(QIODevice::ReadWrite));
        zipped.resize(zipped.size() / 2);
        zipped.close();
        QVERIFY(!TCompress::decompressFile(work.filePath(QStringLiteral("z")),
                                           work.filePath(QStringLiteral("cut"))));
        QVERIFY(!QFile::exists(work.filePath(QStringLiteral("cut"))));
    }

    void closingDeletesOnlyItsOwnPages() {
        QTemporaryDir work;
        const QDir dir(work.path());
        touch(dir.filePath(QStringLiteral("PreviewMetafile2.CPR"))); // earlier run, continues
        touch(dir.filePath(QStringLiteral("PreviewMetafile5")));     // stale uncompressed
        touch(dir.filePath(QStringLiteral("notes.txt")));
        {
            PreviewPageStore store(true, work.path());
            QVERIFY(store.savePage(pageWith(QStringLiteral("a"))));
            QVERIFY(store.savePage(pageWith(QStringLiteral("b"))));
        }
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("PreviewMetafile0.CPR"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("PreviewMetafile1.CPR"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("PreviewMetafile2.CPR"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("PreviewMetafile5"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("notes.txt"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("PreviewMetafile.lock"))));
    }

    void unwritableFolderUsesPrivateFolder() {
        QTemporaryDir work;
        // A working folder that cannot be written (root ignores permissions, so: one that is gone).
        const QString gone = work.filePath(QStringLiteral("gone"));
        QString folder;
        {
            PreviewPageStore store(true, gone);
            QVERIFY(store.usesPrivateFolder());
            folder = store.folder();
            QVERIFY(folder.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") +
                                      QStringLiteral("/quillet/")));
            QVERIFY(store.savePage(pageWith(QStringLiteral("a"))));
            QPicture loaded;
            QVERIFY(store.loadPage(0, loaded));
        }
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(!QFileInfo::exists(gone));
    }

    void twoPreviewsInOneFolderKeepTheirPages() {
        QTemporaryDir work;
        PreviewPageStore first(true, work.path());
        PreviewPageStore second(true, work.path());
        QCOMPARE(first.folder(), work.path());
        QVERIFY(second.usesPrivateFolder());
        QVERIFY(first.savePage(pageWith(QStringLiteral("first"))));
        QVERIFY(second.savePage(pageWith(QStringLiteral("second"))));
        QPicture a;
        QPicture b;
        QVERIFY(first.loadPage(0, a));
        QVERIFY(second.loadPage(0, b));
        QCOMPARE(rendered(a), rendered(pageWith(QStringLiteral("first"))));
        QCOMPARE(rendered(b), rendered(pageWith(QStringLiteral("second"))));
    }

    void pageFileThatCannotBeCreatedFails() {
        QTemporaryDir work;
        PreviewPageStore store(false, work.path());
        // A folder in the way of the page's name: the file cannot be created.
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("PreviewMetafile0")));
        QVERIFY(!store.savePage(pageWith(QStringLiteral("a"))));
        QCOMPARE(store.pageCount(), 0);
    }
};

QUILLET_TEST_MAIN(TestPreviewPageStore)
#include "tst_previewpagestore.moc"
