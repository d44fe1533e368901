#include "platform/registrydata.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>

// The store's contents and their text form.
class tst_RegistryData : public QObject {
    Q_OBJECT

private slots:
    void namesAndKeysIgnoreCase() {
        RegistryData data;
        data.setValue(QStringLiteral("Software\\Fernlake\\Quillet"), QStringLiteral("NoSplash"),
                      RegistryValue::ofInteger(0));
        data.setValue(QStringLiteral("SOFTWARE\\fernlake\\QUILLET\\"), QStringLiteral("NOSplash"),
                      RegistryValue::ofInteger(1));
        QCOMPARE(data.valueNames(QStringLiteral("software\\fernlake\\quillet")),
                 QStringList{QStringLiteral("NoSplash")});
        QCOMPARE(
            data.value(QStringLiteral("\\Software\\Fernlake\\Quillet"), QStringLiteral("nosplash"))
                ->integer,
            1);
        QVERIFY(data.keyExists(QStringLiteral("software")));
        QVERIFY(data.keyExists(QStringLiteral("Software\\Fernlake")));
        QVERIFY(!data.keyExists(QStringLiteral("Software\\Fern")));
        QCOMPARE(data.subKeyNames(QStringLiteral("software")),
                 QStringList{QStringLiteral("Fernlake")});
        QVERIFY(data.removeValue(QStringLiteral("Software\\Fernlake\\Quillet"),
                                 QStringLiteral("NOSPLASH")));
        QVERIFY(
            !data.value(QStringLiteral("Software\\Fernlake\\Quillet"), QStringLiteral("NoSplash")));
    }

    void textFormRoundTrips() {
        RegistryData data;
        const QString key = QStringLiteral("Software\\Fernlake\\Quillet");
        data.setValue(key, QStringLiteral("Top"), RegistryValue::ofInteger(-5));
        data.setValue(key, QStringLiteral("Max"), RegistryValue::ofInteger(0x7FFFFFFF));
        data.setValue(key, QStringLiteral("Empty"), RegistryValue::ofString(QString()));
        data.setValue(key, QStringLiteral("Tricky \"name\"\\"),
                      RegistryValue::ofString(QStringLiteral("a\"b\\c\nd\re\tf\u0000g \u00E9 "
                                                             "\u20AC \U0001F600 [x]=y")));
        data.setValue(key, QStringLiteral("Blob"),
                      RegistryValue::ofBinary(QByteArray("\x00\xFF\x10", 3)));
        data.setValue(key, QStringLiteral("NoBytes"), RegistryValue::ofBinary(QByteArray()));
        data.createKey(QStringLiteral("RichPrint.Settings\\Marges"));
        data.setValue(QString(), QStringLiteral("AtRoot"), RegistryValue::ofInteger(3));

        const QByteArray text = data.serialize();
        QVERIFY(text.contains("\"Top\"=dword:fffffffb\n"));
        QVERIFY(text.contains("[Software\\Fernlake\\Quillet]\n"));
        QString error;
        const std::optional<RegistryData> back = RegistryData::parse(text, &error);
        QVERIFY2(back, qPrintable(error));
        QVERIFY(*back == data);
        QCOMPARE(back->value(key, QStringLiteral("Blob"))->binary, QByteArray("\x00\xFF\x10", 3));
        QVERIFY(back->keyExists(QStringLiteral("RichPrint.Settings\\Marges")));
        QCOMPARE(back->value(QString(), QStringLiteral("AtRoot"))->integer, 3);
    }

    void parseRefusesDamagedText_data() {
        QTest::addColumn<QByteArray>("text");
        const QByteArray h = "Quillet Vado settings store 1\n";
        QTest::addRow("empty file") << QByteArray();
        QTest::addRow("foreign file") << QByteArray("[Software]\n\"a\"=dword:00000001\n");
        QTest::addRow("value outside key") << h + "\"a\"=dword:00000001\n";
        QTest::addRow("short dword") << h + "[K]\n\"a\"=dword:1\n";
        QTest::addRow("bad hex") << h + "[K]\n\"a\"=hex:0g\n";
        QTest::addRow("unterminated string") << h + "[K]\n\"a\"=\"abc\n";
        QTest::addRow("text after string") << h + "[K]\n\"a\"=\"abc\"x\n";
        QTest::addRow("unknown escape") << h + "[K]\n\"a\"=\"\\q\"\n";
        QTest::addRow("unknown type") << h + "[K]\n\"a\"=qword:0000000000000001\n";
        QTest::addRow("unquoted name") << h + "[K]\na=dword:00000001\n";
        QTest::addRow("open key line") << h + "[K\n";
        QTest::addRow("invalid UTF-8") << h + "[K]\n\"a\"=\"\xC3\"\n";
        QTest::addRow("truncated write") << h + "[K]\n\"a\"=\"ab";
    }

    void parseRefusesDamagedText() {
        QFETCH(QByteArray, text);
        QString error;
        QVERIFY(!RegistryData::parse(text, &error));
        QVERIFY(!error.isEmpty());
    }

    void parseAcceptsCommentsAndCrLf() {
        const QByteArray text = "Quillet Vado settings store 1\r\n; written by hand\r\n\r\n"
                                "[K]\r\n\"a\"=dword:0000000a\r\n";
        const std::optional<RegistryData> data = RegistryData::parse(text);
        QVERIFY(data);
        QCOMPARE(data->value(QStringLiteral("k"), QStringLiteral("A"))->integer, 10);
    }
};

QUILLET_TEST_MAIN(tst_RegistryData)
#include "tst_registrydata.moc"
