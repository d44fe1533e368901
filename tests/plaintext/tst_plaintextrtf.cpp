#include "plaintext/plaintextrtf.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>
#include <QTextDocument>

// Plain text straight to RTF must give what the RTF writer gives for the same text loaded as a
// plain-text document, byte for byte.
class TestPlainTextRtf : public QObject {
    Q_OBJECT

private slots:
    void sameBytesAsTheDocumentWriter_data();
    void sameBytesAsTheDocumentWriter();
};

void TestPlainTextRtf::sameBytesAsTheDocumentWriter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::newRow("empty") << QString() << "Sans Serif" << 9.0;
    QTest::newRow("lines") << "ab\ncd\n\nlast" << "Sans Serif" << 9.0;
    QTest::newRow("ends with a break") << "ab\n" << "Courier New" << 10.5;
    QTest::newRow("only breaks") << "\n\n\n" << "Sans Serif" << 12.0;
    QTest::newRow("escapes and specials")
        << QStringLiteral("\\{x}\t\u00e9\u20ac\u4e2d\u00a0\u00ad\u2011\u2028\U0001F600\x01z")
        << QStringLiteral("Caf\u00e9 {Font}") << 9.0;
}

void TestPlainTextRtf::sameBytesAsTheDocumentWriter() {
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(double, points);
    QTextDocument document;
    QFont font(family);
    font.setPointSizeF(points);
    document.setDefaultFont(font);
    document.setPlainText(text);
    const QByteArray expected = rtfFromDocument(document);
    QCOMPARE(PlainTextRtf(family, points).rtf(text), expected);
}

QUILLET_TEST_MAIN(TestPlainTextRtf)
#include "tst_plaintextrtf.moc"
