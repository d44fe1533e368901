#include "richtext/rtf/documentio.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfkeptgroup.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

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

// A picture of one pixel.
const QByteArray png = "89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000"
                       "000c49444154789c63f8cfc0000003010100c9fe92ef0000000049454e44ae426082";

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
        QTest::addRow("paragraph shading and borders")
            << QByteArray("\\pard\\cbpat1\\cfpat2\\shading2000\\brdrb\\brdrs\\brdrw10\\brsp20"
                          "\\brdrcf2\\box\\brdrdb A\\par")
            << QByteArray(
                   "\\cbpat1\\cfpat2\\shading2000\\brdrb\\brdrs\\brdrw10\\brsp20\\brdrcf2\\box"
                   "\\brdrdb\\plain")
            << QStringLiteral("A");
        QTest::addRow("right-to-left run with its associated format")
            << QByteArray(
                   "{\\ltrch\\af1\\afs28 A}{\\rtlch\\af1\\afs28\\ab\\fs20\\i \\u1513\\'3f}\\par")
            << QByteArray("\\fs28\\b\\rtlch\\af2\\afs28\\ab\\f1\\fs20\\b0\\i \\u1513")
            << QStringLiteral("A\u05e9");
        QTest::addRow("section break with the next section's page setup")
            << QByteArray("A\\sect\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\sbknone "
                          "{\\header \\pard H\\par}B\\par")
            << QByteArray("\\sect\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\sbknone\n")
            << QStringLiteral("A\u2060\n\u2060B");
        QTest::addRow("floating picture without a result")
            << QByteArray(
                   "A{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}"
                   "{\\sv {\\pict\\pngblip\\picw1\\pich1 " +
                   png + "}}}}}B\\par")
            << QByteArray(
                   "{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}"
                   "{\\sv {\\pict\\pngblip\\picw1\\pich1 " +
                   png + "}}}}}")
            << QStringLiteral("A\ufffcB");
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

    // A table of contents is one field over several paragraphs; written back, it stays one.
    void fieldOverParagraphsStaysOneField() {
        const QByteArray body = "{\\field{\\*\\fldinst TOC \\\\o \"1-3\"}{\\fldrslt "
                                "\\pard Intro\\tab 1\\par\\pard Body\\tab 2}}\\par After\\par";
        QTextDocument first;
        const QByteArray written = roundTrip(header + body + "}", first);
        QCOMPARE(rawText(first), QStringLiteral("Intro\t1\nBody\t2\nAfter"));
        QCOMPARE(written.count("\\fldinst"), 1);
        QTextDocument second;
        QCOMPARE(roundTrip(written, second), written);
        QCOMPARE(rawText(second), rawText(first));
        const QTextBlock after = second.lastBlock();
        QVERIFY(!after.begin().fragment().charFormat().hasProperty(RtfFormatProperty::FieldSerial));
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

    // Lists of the list table: each level keeps its kind, number text and start, an item
    // restarts the levels below it, another list counts anew, and the writer writes one list
    // per list with the levels it has.
    void listsKeepTheirLevels() {
        const QByteArray lists =
            "{\\*\\listtable{\\list\\listtemplateid7"
            "{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
            "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}}"
            "{\\listlevel\\levelnfc2\\levelstartat1{\\leveltext\\'06\\'00.\\'01.\\'02.;}"
            "{\\levelnumbers\\'01\\'03\\'05;}}"
            "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}}\\listid10}"
            "{\\list\\listtemplateid8{\\listlevel\\levelnfc3\\levelstartat1{\\leveltext\\'02\\'00.;"
            "}"
            "{\\levelnumbers\\'01;}}\\listid20}}"
            "{\\*\\listoverridetable{\\listoverride\\listid10\\listoverridecount0\\ls1}"
            "{\\listoverride\\listid20\\listoverridecount0\\ls2}}";
        const QByteArray body =
            "\\pard\\ls1 A\\par\\pard\\ls1\\ilvl1 B\\par\\pard\\ls1\\ilvl1 C\\par"
            "\\pard\\ls1\\ilvl2 D\\par\\pard\\ls1\\ilvl3 E\\par"
            "\\pard\\ls1 F\\par\\pard\\ls1\\ilvl1 G\\par\\pard Plain\\par"
            "\\pard\\ls2 H\\par\\pard\\ls2 I\\par}";
        // Per paragraph: indent, style, number as Qt shows it (Qt counts from 1), start kept.
        struct Item {
            int indent;
            QTextListFormat::Style style;
            QString label;
            int start;
        };
        const QList<Item> expected = {
            {1, QTextListFormat::ListDecimal, QStringLiteral("1."), 3},
            {2, QTextListFormat::ListLowerAlpha, QStringLiteral("a)"), 1},
            {2, QTextListFormat::ListLowerAlpha, QStringLiteral("b)"), 1},
            {3, QTextListFormat::ListLowerRoman, QStringLiteral("i."), 1},
            {4, QTextListFormat::ListDisc, QString(), 1},
            {1, QTextListFormat::ListDecimal, QStringLiteral("2."), 3},
            {2, QTextListFormat::ListLowerAlpha, QStringLiteral("a)"), 1},
            {0, QTextListFormat::ListStyleUndefined, QString(), 1},
            {1, QTextListFormat::ListUpperAlpha, QStringLiteral("A."), 1},
            {1, QTextListFormat::ListUpperAlpha, QStringLiteral("B."), 1},
        };
        const auto check = [&expected](const QTextDocument &document) {
            QTextBlock block = document.begin();
            for (const Item &item : expected) {
                QTextList *list = block.textList();
                QCOMPARE(list != nullptr, item.indent > 0);
                const QTextListFormat format = list ? list->format() : QTextListFormat();
                if (list != nullptr)
                    QCOMPARE(format.indent(), item.indent);
                QCOMPARE(format.style(), item.style);
                if (list != nullptr && !item.label.isEmpty())
                    QCOMPARE(list->itemText(block), item.label);
                if (list != nullptr)
                    QCOMPARE(format.hasProperty(RtfFormatProperty::ListStart)
                                 ? format.intProperty(RtfFormatProperty::ListStart)
                                 : 1,
                             item.start);
                block = block.next();
            }
        };
        QTextDocument first;
        const QByteArray written = roundTrip(header + lists + body, first);
        check(first);
        if (QTest::currentTestFailed())
            return;
        // Two lists, the first with its own kinds per level, its start and its "1.2.3." text.
        QCOMPARE(written.count("{\\listoverride"), 2);
        QVERIFY2(written.contains("\\levelnfc0\\levelnfcn0\\leveljc0\\leveljcn0\\levelfollow0"
                                  "\\levelstartat3"),
                 written.constData());
        QVERIFY2(written.contains(
                     "{\\leveltext\\'06\\'00.\\'01.\\'02.;}{\\levelnumbers\\'01\\'03\\'05;}"),
                 written.constData());
        QVERIFY2(written.contains("\\ls1\\ilvl2"), written.constData());
        QVERIFY2(written.contains("\\ls2\\ilvl0"), written.constData());
        // Readers without list tables see the numbers the other program shows.
        QVERIFY2(written.contains("{\\pntext\\f0 4.\\tab}"), written.constData());
        QTextDocument second;
        QCOMPARE(roundTrip(written, second), written);
        check(second);
    }

    // A paragraph shows its style's spacing and font under its own, based-on styles included,
    // and keeps its style number, outline level and keep-with-next for the writer.
    void styleShowsAndStays() {
        const QByteArray sheet =
            "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\keepn\\outlinelevel0\\sb240"
            "\\sa60\\tx500\\b\\f1\\fs32 heading 1;}{\\*\\cs10\\i Emphasis;}"
            "{\\s2\\sbasedon1\\outlinelevel1\\i\\fs28 heading 2;}}";
        const QByteArray body = "\\pard\\plain\\s1 Title\\par\\pard\\plain\\s2\\sb0 Sub\\par"
                                "\\pard\\plain\\keep Body\\par}";
        const auto check = [](const QTextDocument &document) {
            const QTextBlock title = document.begin();
            const QTextBlock sub = title.next();
            const QTextBlock plain = sub.next();
            QCOMPARE(title.blockFormat().intProperty(RtfFormatProperty::StyleNumber), 1);
            QCOMPARE(title.blockFormat().intProperty(RtfFormatProperty::OutlineLevel), 0);
            QVERIFY(title.blockFormat().boolProperty(RtfFormatProperty::KeepWithNext));
            QCOMPARE(title.blockFormat().topMargin(), DocumentUnits::fromTwips(240));
            QCOMPARE(title.blockFormat().bottomMargin(), DocumentUnits::fromTwips(60));
            QVERIFY(title.blockFormat().tabPositions().isEmpty());
            const QTextCharFormat titleChars = title.begin().fragment().charFormat();
            QCOMPARE(titleChars.fontWeight(), int(QFont::Bold));
            QVERIFY(!titleChars.fontItalic());
            QCOMPARE(titleChars.fontPointSize(), 16.0);
            QCOMPARE(titleChars.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
            QCOMPARE(sub.blockFormat().intProperty(RtfFormatProperty::StyleNumber), 2);
            QCOMPARE(sub.blockFormat().intProperty(RtfFormatProperty::OutlineLevel), 1);
            QVERIFY(sub.blockFormat().boolProperty(RtfFormatProperty::KeepWithNext));
            QCOMPARE(sub.blockFormat().topMargin(), 0.0);
            const QTextCharFormat subChars = sub.begin().fragment().charFormat();
            QCOMPARE(subChars.fontWeight(), int(QFont::Bold));
            QVERIFY(subChars.fontItalic());
            QCOMPARE(subChars.fontPointSize(), 14.0);
            QVERIFY(!plain.blockFormat().hasProperty(RtfFormatProperty::StyleNumber));
            QVERIFY(!plain.blockFormat().boolProperty(RtfFormatProperty::KeepWithNext));
            QVERIFY(plain.blockFormat().boolProperty(RtfFormatProperty::KeepTogether));
            QCOMPARE(plain.begin().fragment().charFormat().fontPointSize(), 12.0);
        };
        QTextDocument first;
        const QByteArray written = roundTrip(header + sheet + body, first);
        check(first);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(written.contains("\\pard\\s2\\ql"), written.constData());
        QVERIFY2(written.contains("\\keepn\\outlinelevel1"), written.constData());
        QTextDocument second;
        QCOMPARE(roundTrip(written, second), written);
        check(second);
    }

    // A list six levels deep from another word processor, and a second list that starts at 7.
    void corpusListKeepsItsLevels() {
        QUILLET_REQUIRE_CORPUS();
        QFile file(QStringLiteral(QUILLET_CORPUS "/rtf/pandoc-list_complex.rtf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray source = file.readAll();
        const QStringList labels = {"1.", "2.", "a.", "b.",  "i.", "ii.",
                                    "A.", "B.", "I.", "II.", "",   ""};
        const QStringList words = {"One",   "Two",   "Three", "Four", "Five",   "Six",
                                   "Seven", "Eight", "Nine",  "Ten",  "Eleven", "Twelve"};
        QTextDocument document;
        QVERIFY(readRtf(source, document).ok());
        for (int round = 0; round < 2; ++round) {
            QTextBlock block = document.begin();
            while (block.isValid() && block.text() != QLatin1String("One"))
                block = block.next();
            for (qsizetype i = 0; i < words.size(); ++i, block = block.next()) {
                QVERIFY(block.isValid());
                QCOMPARE(block.text(), words[i]);
                QTextList *list = block.textList();
                QVERIFY(list != nullptr);
                QCOMPARE(list->format().indent(), static_cast<int>(i / 2 + 1));
                if (!labels[i].isEmpty())
                    QCOMPARE(list->itemText(block), labels[i]);
                else
                    QCOMPARE(list->format().style(), QTextListFormat::ListDisc);
            }
            while (block.isValid() && block.text() != QLatin1String("Seven Start"))
                block = block.next();
            QVERIFY(block.isValid() && block.textList() != nullptr);
            QCOMPARE(block.textList()->itemNumber(block), 0);
            QCOMPARE(block.textList()->format().intProperty(RtfFormatProperty::ListStart), 7);
            QCOMPARE(block.next().textList(), block.textList());
            const QByteArray written = rtfFromDocument(document);
            QVERIFY(written.contains("{\\pntext\\f0 8.\\tab}"));
            QVERIFY(readRtf(written, document).ok());
        }
    }

    // Lists made here: an indented list right after another is a level of it.
    void ownListsNestAndNumber() {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("One"));
        QTextListFormat top;
        top.setStyle(QTextListFormat::ListDecimal);
        cursor.createList(top);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Sub"));
        QTextListFormat sub;
        sub.setStyle(QTextListFormat::ListUpperRoman);
        sub.setIndent(2);
        cursor.createList(sub);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Other"));
        QTextListFormat bullets;
        bullets.setStyle(QTextListFormat::ListDisc);
        cursor.createList(bullets);
        const QByteArray written = rtfFromDocument(document);
        QCOMPARE(written.count("{\\listoverride"), 2);
        QVERIFY2(written.contains("\\ls1\\ilvl1"), written.constData());
        QVERIFY2(written.contains("\\ls2\\ilvl0"), written.constData());
        QVERIFY2(written.contains("\\levelnfc1\\levelnfcn1"), written.constData());
        QTextDocument back;
        QVERIFY(readRtf(written, back).ok());
        QCOMPARE(back.begin().next().textList()->format().style(), QTextListFormat::ListUpperRoman);
        QCOMPARE(back.begin().next().textList()->format().indent(), 2);
        QCOMPARE(rtfFromDocument(back), written);
    }

    // The text of a kept note or comment, as its tooltip shows it.
    void noteTextOfKeptGroups_data() {
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<QString>("text");
        QTest::addRow("footnote") << QByteArray("\\chftn {\\footnote \\pard\\plain{\\super\\chftn} "
                                                "Note {\\b text}.\\par Second \\'e9.}")
                                  << QStringLiteral("Note text.\nSecond \u00e9.");
        QTest::addRow("comment") << QByteArray("{\\*\\annotation \\pard\\plain Check {\\i this}.}")
                                 << QStringLiteral("Check this.");
        QTest::addRow("longer word") << QByteArray("{\\*\\footnotes x}") << QString();
        QTest::addRow("other group") << QByteArray("{\\*\\mystery x}") << QString();
    }
    void noteTextOfKeptGroups() {
        QFETCH(QByteArray, kept);
        QFETCH(QString, text);
        QCOMPARE(RtfKeptGroup::noteText(kept), text);
    }

    // Shading shows as the paragraph's background; a right-to-left run shows its associated
    // font, size, bold and italic.
    void shadingAndScriptsShow() {
        QTextDocument document;
        readRtf(
            header +
                "\\pard\\cbpat2\\cfpat1\\shading5000 A\\par\\pard\\brdrt\\brdrs B\\par"
                "{\\rtlch\\af1\\afs28\\ab\\fs20\\i \\u1513\\'3f}{\\ltrch\\af1\\afs28\\ab C}\\par}",
            document);
        const QTextBlock shaded = document.begin();
        QCOMPARE(shaded.blockFormat().background().color(), QColor(128, 0, 128));
        QVERIFY(!shaded.next().blockFormat().hasProperty(QTextFormat::BackgroundBrush));
        QTextBlock::iterator run = shaded.next().next().begin();
        const QTextCharFormat rightToLeft = run.fragment().charFormat();
        QCOMPARE(rightToLeft.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(rightToLeft.fontPointSize(), 14.0);
        QCOMPARE(rightToLeft.fontWeight(), int(QFont::Bold));
        QVERIFY(!rightToLeft.fontItalic());
        ++run;
        const QTextCharFormat leftToRight = run.fragment().charFormat();
        QCOMPARE(leftToRight.fontPointSize(), 12.0);
        QVERIFY(leftToRight.fontWeight() < int(QFont::DemiBold));
    }

    // A page break keeps the paragraphs around it, empty ones too, and breaks where it stood.
    void pageBreaksInParagraphs_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("paragraphs"); // "^" marks a page break before
        QTest::addRow("inside a paragraph") << QByteArray("A\\page B\\par") << "A|^B";
        QTest::addRow("between empty paragraphs")
            << QByteArray("A\\par\\par\\page\\par B\\par") << "A||^|B";
        QTest::addRow("at the end of a paragraph") << QByteArray("A\\page\\par B\\par") << "A|^|B";
        QTest::addRow("two in a row") << QByteArray("A\\page\\page B\\par") << "A|^|^B";
        QTest::addRow("at the end of the text") << QByteArray("A\\par\\page") << "A|^";
    }
    void pageBreaksInParagraphs() {
        QFETCH(QByteArray, body);
        QFETCH(QString, paragraphs);
        QTextDocument first;
        const QByteArray written = roundTrip(header + body + "}", first);
        QTextDocument second;
        QCOMPARE(roundTrip(written, second), written);
        for (const QTextDocument *document : {&first, &second}) {
            QStringList seen;
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                const bool breaks =
                    block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
                seen.append((breaks ? QStringLiteral("^") : QString()) + block.text());
            }
            QCOMPARE(seen.join(QLatin1Char('|')), paragraphs);
        }
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

    // A long table is held in pieces, tables one after another with the same columns, that never
    // part the rows a merged cell spans; it is written back as one table, every row followed by
    // the next with no paragraph between them, and read back into the same pieces.
    void longTableIsHeldInPiecesAndWrittenAsOne() {
        constexpr int rows = 600;
        QByteArray rtf = header + "Before\\par\n";
        for (int r = 0; r < rows; ++r) {
            rtf += "\\trowd";
            // The first column of rows 100 to 299 is one cell.
            if (r >= 100 && r < 300)
                rtf += r == 100 ? "\\clvmgf" : "\\clvmrg";
            for (int c = 1; c <= 5; ++c)
                rtf += "\\cellx" + QByteArray::number(c * 1000);
            rtf += "\\pard\\intbl";
            for (int c = 0; c < 5; ++c)
                rtf += ' ' + QByteArray::number(r) + '.' + QByteArray::number(c) + "\\cell";
            rtf += "\\row\n";
        }
        rtf += "\\pard After\\par}";
        const auto pieces = [](const QTextDocument &document) {
            QList<QTextTable *> tables;
            for (QTextFrame *frame : document.rootFrame()->childFrames()) {
                if (auto *table = qobject_cast<QTextTable *>(frame))
                    tables.append(table);
            }
            return tables;
        };
        QTextDocument first;
        const QByteArray written = roundTrip(rtf, first);
        const QList<QTextTable *> tables = pieces(first);
        QCOMPARE(tables.size(), 3);
        const QList<int> rowsPerPiece{300, 200, 100};
        for (int i = 0; i < tables.size(); ++i) {
            QCOMPARE(tables[i]->rows(), rowsPerPiece[i]);
            QCOMPARE(tables[i]->columns(), 5);
            QCOMPARE(tables[i]->format().columnWidthConstraints(),
                     tables[0]->format().columnWidthConstraints());
            QCOMPARE(tables[i]->format().boolProperty(RtfFormatProperty::TableContinues), i > 0);
        }
        QCOMPARE(tables[0]->cellAt(100, 0).rowSpan(), 200);
        QCOMPARE(tables[2]->cellAt(99, 4).firstCursorPosition().block().text(),
                 QStringLiteral("599.4"));

        QCOMPARE(written.count("\\row"), rows);
        QCOMPARE(written.count("\\row\n\\trowd"), rows - 1);
        QTextDocument second;
        QVERIFY(readRtf(written, second).ok());
        QCOMPARE(rawText(second), rawText(first));
        QCOMPARE(pieces(second).size(), 3);
        QCOMPARE(rtfFromDocument(second), written);
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
