#include "platform/filenames.h"

#include <QtTest>

// File names as the system gives them: the ones the program can open by their text.
class tst_FileNames : public QObject {
    Q_OBJECT

private slots:
    void usable_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("usable");
        QTest::addRow("ASCII") << QByteArray("/tmp/doc.rtf") << true;
        QTest::addRow("UTF-8") << QByteArray("/tmp/caf\xc3\xa9.rtf") << true;
        QTest::addRow("Latin-1") << QByteArray("/tmp/caf\xe9.rtf") << false;
        QTest::addRow("cut UTF-8 sequence") << QByteArray("/tmp/a\xc3.rtf") << false;
    }
    void usable() {
        QFETCH(QByteArray, name);
        QFETCH(bool, usable);
        QCOMPARE(IsUsableFileName(name), usable);
    }
};

QTEST_GUILESS_MAIN(tst_FileNames)
#include "tst_filenames.moc"
