#include "richtext/rtf/documentio.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

namespace {

QString rawText(const QTextDocument &document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(QLatin1Char('\n'));
}

// Reads RTF and writes it again.
QByteArray roundTrip(const QByteArray &rtf, QTextDocument &document,
                     RtfReadResult *result = nullptr) {
    const RtfReadResult read = readRtf(rtf, document);
    if (result != nullptr)
        *result = read;
    return rtfFromDocument(document);
}

const QByteArray header = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

} // namespace

// What the document keeps of an RTF file without showing it: written back as it came (fonts and
// colours renumbered), read again the same, and gone with the content it came with.
class tst_RtfRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void keepsWhatItDoesNotShow_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<QString>("text");
        QTest::addRow("header and footer with a page field")
            << QByteArray(
                   "{\\header \\pard\\plain Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}"
                   "{\\footerf \\pard\\plain\\qc Foot\\par}Body\\par")
            << QByteArray("{\\header \\pard\\plain Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}"
                          "\\par}{\\footerf \\pard\\plain\\qc Foot\\par}")
            << QStringLiteral("Body");
        QTest::addRow("page and section setup")
            << QByteArray("\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1417\\margb1134"
                          "\\gutter0\\landscape\\facingp\\sectd\\titlepg\\pgnstarts3\\pgnlcrm "
                          "Body\\par")
            << QByteArray("\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1417\\margb1134"
                          "\\gutter0\\landscape\\facingp\\sectd\\titlepg\\pgnstarts3\\pgnlcrm")
            << QStringLiteral("Body");
        QTest::addRow("style sheet and information")
            << QByteArray(
                   "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\keepn\\outlinelevel0"
                   "\\b\\fs32 heading 1;}}{\\info{\\title A letter}{\\author Someone}}"
                   "\\pard\\s1 Title\\par")
            << QByteArray(
                   "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\keepn\\outlinelevel0"
                   "\\b\\fs32 heading 1;}}{\\info{\\title A letter}{\\author Someone}}")
            << QStringLiteral("Title");
        QTest::addRow("unknown group at the start")
            << QByteArray("{\\*\\unknowndest {\\inner a}\\'e9 b}Body\\par")
            << QByteArray("{\\*\\unknowndest {\\inner a}\\'e9 b}") << QStringLiteral("Body");
        QTest::addRow("footnote with its number")
            << QByteArray("Text{\\super\\chftn}{\\footnote \\pard\\plain{\\super\\chftn} Note "
                          "text.}{\\super\\chftn}{\\footnote \\pard\\plain Second.} more\\par")
            << QByteArray("\\chftn {\\footnote \\pard\\plain{\\super\\chftn} Note text.}")
            << QStringLiteral("Text12 more");
        QTest::addRow("footnote with a mark of its own")
            << QByteArray("Text*{\\footnote\\ftnalt \\pard\\plain * End note.}\\par")
            << QByteArray("{\\footnote\\ftnalt \\pard\\plain * End note.}")
            << QStringLiteral("Text*\u2060");
        QTest::addRow("comment")
            << QByteArray("A{\\*\\atnid JD}{\\*\\atnauthor J. Doe}\\chatn{\\*\\annotation "
                          "\\pard\\plain Check.}B\\par")
            << QByteArray("{\\*\\annotation \\pard\\plain Check.}")
            << QStringLiteral("A\u2060\u2060\u2060B");
        QTest::addRow("unknown group in the text")
            << QByteArray("A{\\*\\mystery x{y}}B\\par") << QByteArray("{\\*\\mystery x{y}}")
            << QStringLiteral("A\u2060B");
        QTest::addRow("field with a result")
            << QByteArray("On {\\field{\\*\\fldinst { DATE \\\\@ \"d MMMM yyyy\" }}{\\fldrslt "
                          "{\\b 1 May 2026}}} at\\par")
            << QByteArray("{\\field{\\*\\fldinst { DATE \\\\@ \"d MMMM yyyy\" }}{\\fldrslt ")
            << QStringLiteral("On 1 May 2026 at");
        QTest::addRow("shape showing a picture")
            << QByteArray(
                   "A{\\shp{\\*\\shpinst\\shpleft0\\shpright600{\\sp{\\sn shapeType}{\\sv 75}}}"
                   "{\\shprslt{\\pict\\wmetafile8\\picw100\\pich100 0102}}}B\\par")
            << QByteArray(
                   "{\\shp{\\*\\shpinst\\shpleft0\\shpright600{\\sp{\\sn shapeType}{\\sv 75}}}"
                   "{\\shprslt{\\pict\\wmetafile8\\picw100\\pich100 0102}}}")
            << QStringLiteral("A\ufffcB");
        QTest::addRow("object showing text")
            << QByteArray(
                   "A{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result R}}C\\par")
            << QByteArray("{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result R}}")
            << QStringLiteral("ARC");
        QTest::addRow("field without a result")
            << QByteArray("A{\\field{\\*\\fldinst XE \"entry\"}}B\\par")
            << QByteArray("{\\field{\\*\\fldinst XE \"entry\"}}") << QStringLiteral("A\u2060B");
    }
    void keepsWhatItDoesNotShow() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, kept);
        QFETCH(QString, text);
        QTextDocument first;
        RtfReadResult result;
        const QByteArray written = roundTrip(header + body + "}", first, &result);
        QVERIFY(result.ok());
        QVERIFY(result.dropped.isEmpty());
        QCOMPARE(rawText(first), text);
        QVERIFY2(written.contains(kept), written.constData());
        // Read again, the document is the same and writes the same bytes.
        QTextDocument second;
        QCOMPARE(roundTrip(written, second), written);
        QCOMPARE(rawText(second), text);
    }

    // The kept groups name fonts and colours by the numbers of the writer's own tables.
    void renumbersFontsAndColours() {
        QTextDocument document;
        const QByteArray written = roundTrip(
            header + "{\\header \\pard\\plain\\f1\\cf2 Top\\par}\\f0\\cf1 Body\\par}", document);
        const QRegularExpression arial(
            QStringLiteral("\\{\\\\f(\\d+)\\\\fnil\\\\fcharset0 Arial;\\}"));
        const QRegularExpressionMatch font = arial.match(QString::fromLatin1(written));
        QVERIFY2(font.hasMatch(), written.constData());
        // Body text takes red first, the header's blue comes second.
        QVERIFY2(written.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"),
                 written.constData());
        const QByteArray kept =
            "{\\header \\pard\\plain\\f" + font.captured(1).toLatin1() + "\\cf2 Top\\par}";
        QVERIFY2(written.contains(kept), written.constData());
    }

    // A footnote's mark is protected, and deleting it deletes the note.
    void footnoteGoesWithItsMark() {
        QTextDocument document;
        roundTrip(header + "A{\\super\\chftn}{\\footnote \\pard\\plain Note.}B\\par}", document);
        QTextCursor cursor(&document);
        cursor.setPosition(2);
        const QTextCharFormat mark = cursor.charFormat();
        QVERIFY(mark.boolProperty(RtfFormatProperty::Protected));
        QCOMPARE(mark.verticalAlignment(), QTextCharFormat::AlignSuperScript);
        cursor.setPosition(1);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QVERIFY(!rtfFromDocument(document).contains("\\footnote"));
    }

    // What came with a file goes with its content: a document filled anew writes none of it.
    void keptGoesWithTheContent() {
        QTextDocument document;
        roundTrip(header + "{\\header \\pard H\\par}\\paperw5000 Body\\par}", document);
        QVERIFY(rtfFromDocument(document).contains("\\header"));
        document.setPlainText(QStringLiteral("New"));
        const QByteArray written = rtfFromDocument(document);
        QVERIFY(!written.contains("\\header"));
        QVERIFY(!written.contains("\\paperw"));
        readRtf(QByteArray("{\\rtf1 Other\\par}"), document);
        QVERIFY(!rtfFromDocument(document).contains("\\header"));
    }

    // A right-to-left paragraph is laid out from the right and written back as such.
    void rightToLeftParagraphs() {
        QTextDocument document;
        const QByteArray written = roundTrip(
            header + "\\pard\\rtlpar \\u1513\\'3f\\u1500\\'3f\\par\\pard\\ltrpar Left\\par}",
            document);
        QCOMPARE(document.begin().blockFormat().layoutDirection(), Qt::RightToLeft);
        QVERIFY(document.begin().next().blockFormat().layoutDirection() != Qt::RightToLeft);
        QVERIFY2(written.contains("\\pard\\rtlpar"), written.constData());
        QTextDocument again;
        QVERIFY(readRtf(written, again).ok());
        QCOMPARE(again.begin().blockFormat().layoutDirection(), Qt::RightToLeft);
    }

    // Characters outside ASCII: \uN for readers that know Unicode, the Windows-1252 byte or "?"
    // as \'xx for those that do not, and never a bare "?" that swallows the next blank.
    void writesUnicodeWithAByteFallback() {
        QTextDocument document;
        document.setPlainText(QStringLiteral("Съешь же café"));
        const QByteArray written = rtfFromDocument(document);
        QVERIFY2(written.contains("\\u1057\\'3f\\u1098\\'3f"), written.constData());
        QVERIFY2(written.contains("caf\\u233\\'e9"), written.constData());
        QVERIFY(!written.contains("?"));
        QTextDocument back;
        QVERIFY(readRtf(written, back).ok());
        QCOMPARE(back.toPlainText(), QStringLiteral("Съешь же café"));
    }

    // Over every file of the corpus: reading our output gives the same text and, written again,
    // the same bytes, kept groups included.
    void corpusRoundTripIsStable_data() {
        QTest::addColumn<QString>("path");
        if (QStringLiteral(QUILLET_CORPUS).isEmpty())
            return;
        const QDir dir(QStringLiteral(QUILLET_CORPUS "/rtf"));
        for (const QString &file : dir.entryList({QStringLiteral("*.rtf")}, QDir::Files))
            QTest::addRow("%s", qPrintable(file)) << dir.filePath(file);
    }
    void corpusRoundTripIsStable() {
        QUILLET_REQUIRE_CORPUS();
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument first;
        if (!readRtf(file.readAll(), first).ok())
            return; // no RTF: nothing to keep
        const QByteArray written = rtfFromDocument(first);
        QTextDocument second;
        QVERIFY(readRtf(written, second).ok());
        QCOMPARE(rawText(second), rawText(first));
        const QTextFrameFormat kept = first.rootFrame()->frameFormat();
        const QTextFrameFormat keptAgain = second.rootFrame()->frameFormat();
        QCOMPARE(keptAgain.property(RtfFormatProperty::KeptPrologue).toByteArray().isEmpty(),
                 kept.property(RtfFormatProperty::KeptPrologue).toByteArray().isEmpty());
        QCOMPARE(rtfFromDocument(second), written);
    }
};

QUILLET_TEST_MAIN(tst_RtfRoundTrip)
#include "tst_rtfroundtrip.moc"
