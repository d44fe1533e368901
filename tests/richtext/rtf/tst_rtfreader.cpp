#include "richtext/rtf/documentio.h"
#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfdocumentsink.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfreader.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <functional>

namespace {

// The document's paragraphs joined by line feeds, characters as they are (toPlainText() would
// turn no-break spaces into spaces and line separators into line feeds).
QString rawText(const QTextDocument &document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(QLatin1Char('\n'));
}

QString readText(const QByteArray &rtf, RtfReadResult *result = nullptr) {
    QTextDocument document;
    const RtfReadResult read = readRtf(rtf, document);
    if (result != nullptr)
        *result = read;
    return rawText(document);
}

// The format of the character at a position of the document's plain text.
QTextCharFormat formatAt(QTextDocument &document, const QString &marker) {
    const int at = static_cast<int>(document.toPlainText().indexOf(marker));
    if (at < 0)
        return {};
    QTextCursor cursor(&document);
    cursor.setPosition(at + 1);
    return cursor.charFormat();
}

} // namespace

// The RTF reader: text decoding, formats, structure, skipped content and malformed input.
class tst_RtfReader : public QObject {
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void notRtf_data();
    void notRtf();
    void characterFormats();
    void formatsFollowTablesReadLate_data();
    void formatsFollowTablesReadLate();
    void runsKeepTheirOwnFormats();
    void underlineKinds_data();
    void underlineKinds();
    void paragraphFormats();
    void pageBreak();
    void lists();
    void listItemsStayEditable();
    void tables();
    void nestedTable();
    void tablesNestedDeeperGoOnInTheDeepestShown();
    void hyperlink();
    void droppedContent();
    void picture();
    void malformed_data();
    void malformed();
};

void tst_RtfReader::text_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain") << QByteArray("{\\rtf1 Hello world\\par}")
                           << QStringLiteral("Hello world");
    QTest::addRow("escapes") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << QStringLiteral("a{b}c\\d");
    QTest::addRow("source line breaks ignored")
        << QByteArray("{\\rtf1 one\r\ntwo\ncombined}") << QStringLiteral("onetwocombined");
    QTest::addRow("cp1252 hex") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80\\'85}")
                                << QStringLiteral("caf\u00e9 \u20ac\u2026");
    QTest::addRow("undefined cp1252 byte kept")
        << QByteArray("{\\rtf1\\ansi x\\'81y}") << QStringLiteral("x\u0081y");
    QTest::addRow("unicode with fallback")
        << QByteArray("{\\rtf1 \\u8364?\\u-3913?x}") << QStringLiteral("\u20ac\uf0b7x");
    QTest::addRow("uc2 skips two")
        << QByteArray("{\\rtf1\\uc2 \\u12354\\'82\\'a0x}") << QStringLiteral("\u3042x");
    QTest::addRow("uc0 skips nothing")
        << QByteArray("{\\rtf1\\uc0 \\u233 x}") << QStringLiteral("\u00e9x");
    QTest::addRow("fallback hex brace")
        << QByteArray("{\\rtf1 \\u381\\'7d\\par}") << QStringLiteral("\u017d");
    QTest::addRow("uc restored by group")
        << QByteArray("{\\rtf1 {\\uc2 \\u233 ab}\\u233 cd}") << QStringLiteral("\u00e9\u00e9d");
    QTest::addRow("surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QStringLiteral("\U0001F600");
    QTest::addRow("special symbols")
        << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << QStringLiteral("a\u00a0b\u00adc\u2011d");
    QTest::addRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}")
                                  << QStringLiteral("a\tb\u2028c");
    QTest::addRow("named characters")
        << QByteArray("{\\rtf1 \\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash}")
        << QStringLiteral("\u2018\u2019\u201c\u201d\u2022\u2013\u2014");
    QTest::addRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par\\par three}")
                                << QStringLiteral("one\ntwo\n\nthree");
    QTest::addRow("final par makes no empty paragraph")
        << QByteArray("{\\rtf1 one\\par two\\par}") << QStringLiteral("one\ntwo");
    QTest::addRow("backslash newline is par")
        << QByteArray("{\\rtf1 one\\\ntwo}") << QStringLiteral("one\ntwo");
    QTest::addRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}")
                                 << QStringLiteral("\u041f\u0440\u0438");
    QTest::addRow("fcharset overrides ansicpg")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset161 Greek;}}\\f0 "
                      "\\'e1\\'e2}")
        << QStringLiteral("\u03b1\u03b2");
    QTest::addRow("fcharset0 in a cp950 document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0\\fcharset0 Helvetica;}}\\f0 "
                      "\\'a9}")
        << QStringLiteral("\u00a9");
    QTest::addRow("shift-jis pairs")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}")
        << QStringLiteral("\u3042\u3044");
    QTest::addRow("dbcs lead byte with literal trail")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82a}") << QStringLiteral("\uff22");
    QTest::addRow("gbk") << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ba\\'c3}")
                         << QStringLiteral("\u4f60\u597d");
    QTest::addRow("pc code page") << QByteArray("{\\rtf1\\pc \\'f1\\'f2\\'f3}")
                                  << QStringLiteral("\u00b1\u2265\u2264");
    QTest::addRow("mac roman") << QByteArray("{\\rtf1\\mac \\'8e\\'a5}")
                               << QStringLiteral("\u00e9\u2022");
    QTest::addRow("wrong code page still shows every byte")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 a\\'81\\'ffb}")
        << QStringLiteral("a\u0081\u00ffb");
    QTest::addRow("unknown code page reads as 1252")
        << QByteArray("{\\rtf1\\ansi\\ansicpg12345 \\'e9}") << QStringLiteral("\u00e9");
    QTest::addRow("symbol font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\f1 \\'61\\'b3}}")
        << QStringLiteral("\u03b1\u2265");
    QTest::addRow("skipped destinations")
        << QByteArray("{\\rtf1{\\info{\\title T}}{\\*\\generator G;}{\\stylesheet{\\s0 Normal;}}"
                      "a{\\*\\unknown x}b{\\header h}{\\footnote f}c}")
        << QStringLiteral("a\u2060b\u2060\u2060c"); // kept in the text behind markers
    QTest::addRow("frame marks break paragraphs")
        << QByteArray("{\\rtf1 a\\u-560?b\\u-559?c\\par d}") << QStringLiteral("a\nb\nc\nd");
    QTest::addRow("hidden text") << QByteArray("{\\rtf1 a{\\v hidden}b}") << QStringLiteral("ab");
    QTest::addRow("number fallbacks skipped")
        << QByteArray("{\\rtf1 {\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}one\\par}")
        << QStringLiteral("one");
    QTest::addRow("unicode font names")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset134 {\\uc1 \\u23435 ?};}}\\f1 x}")
        << QStringLiteral("x");
    QTest::addRow("junk before header") << QByteArray("/{\\rtf1 text}") << QStringLiteral("text");
    QTest::addRow("text after final brace")
        << QByteArray("{\\rtf1 text}\r\nmore") << QStringLiteral("textmore");
    QTest::addRow("object result kept")
        << QByteArray("{\\rtf1 a{\\object{\\*\\objdata 0102}{\\result b}}c}")
        << QStringLiteral("abc");
    QTest::addRow("upr reads unicode half")
        << QByteArray("{\\rtf1{\\upr{\\fonttbl{\\f0 A;}}{\\*\\ud{\\fonttbl{\\f0 B;}}}}x}")
        << QStringLiteral("x");
}

void tst_RtfReader::text() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    RtfReadResult result;
    QCOMPARE(readText(rtf, &result), expected);
    QVERIFY(result.ok());
}

void tst_RtfReader::notRtf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("plain text") << QByteArray("foobar\n");
    QTest::addRow("empty group") << QByteArray("{}");
    QTest::addRow("unknown first word") << QByteArray("{\\foobar}");
    QTest::addRow("header too late") << QByteArray(2000, ' ') + QByteArray("{\\rtf1 x}");
}

void tst_RtfReader::notRtf() {
    QFETCH(QByteArray, bytes);
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));
    const RtfReadResult result = readRtf(bytes, document);
    QCOMPARE(result.status, RtfReadResult::Status::NotRtf);
    QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
}

void tst_RtfReader::characterFormats() {
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "Plain {\\b Bold}{\\i Ital}{\\strike Strike}{\\f0\\fs36 Big}{\\super Sup}{\\sub Sub}"
        "{\\up6 Raised}{\\cf1 Red}{\\highlight2 Blue}{\\cb1 Back}{\\protect Prot}"
        "{\\b\\plain Reset}{\\scaps Small}{\\caps Upper}{\\b Not\\b0 Off}}";
    QVERIFY(readRtf(rtf, document).ok());
    const auto at = [&document](const char *marker) {
        return formatAt(document, QString::fromLatin1(marker));
    };
    QCOMPARE(at("Plain").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QCOMPARE(at("Plain").fontPointSize(), 12.0);
    QCOMPARE(at("Plain").fontWeight(), int(QFont::Normal));
    QCOMPARE(at("Bold").fontWeight(), int(QFont::Bold));
    QVERIFY(at("Ital").fontItalic());
    QVERIFY(at("Strike").fontStrikeOut());
    QCOMPARE(at("Big").fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(at("Big").fontPointSize(), 18.0);
    QCOMPARE(at("Sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(at("Sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(at("Raised").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(at("Red").foreground().color(), QColor(255, 0, 0));
    QVERIFY(!at("Plain").hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(at("Blue").background().color(), QColor(0, 0, 255));
    QCOMPARE(at("Back").background().color(), QColor(255, 0, 0));
    QVERIFY(at("Prot").boolProperty(RtfFormatProperty::Protected));
    QVERIFY(!at("Plain").boolProperty(RtfFormatProperty::Protected));
    QCOMPARE(at("Reset").fontWeight(), int(QFont::Normal));
    QCOMPARE(at("Small").fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(at("Upper").fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(at("Not").fontWeight(), int(QFont::Bold));
    QCOMPARE(at("Off").fontWeight(), int(QFont::Normal));
}

void tst_RtfReader::formatsFollowTablesReadLate_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QColor>("foreground");
    // "b" stands in a state met before the table that gives it its look.
    QTest::addRow("font table") << QByteArray("{\\rtf1 {\\f1 a}{\\fonttbl{\\f1 Arial;}}{\\f1 b}}")
                                << QStringLiteral("Arial") << QColor();
    QTest::addRow("font table, another state between")
        << QByteArray("{\\rtf1 {\\f1 a}c{\\fonttbl{\\f1 Arial;}}{\\f1 b}}")
        << QStringLiteral("Arial") << QColor();
    QTest::addRow("colour table")
        << QByteArray("{\\rtf1 {\\cf1 a}c{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 b}}")
        << QString() << QColor(255, 0, 0);
    QTest::addRow("default font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}} a\\deff1 b}")
        << QStringLiteral("Courier New") << QColor();
}

void tst_RtfReader::formatsFollowTablesReadLate() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, family);
    QFETCH(QColor, foreground);
    QTextDocument document;
    QVERIFY(readRtf(rtf, document).ok());
    const QTextCharFormat format = formatAt(document, QStringLiteral("b"));
    QCOMPARE(format.fontFamilies().toStringList().value(0), family);
    QCOMPARE(format.foreground().color().isValid() &&
                     format.hasProperty(QTextFormat::ForegroundBrush)
                 ? format.foreground().color()
                 : QColor(),
             foreground);
}

void tst_RtfReader::runsKeepTheirOwnFormats() {
    // Runs taken in turns from a few formats, and two runs that claim one serial but differ:
    // the document shows each run's own format.
    QTextDocument document;
    QVERIFY(readRtf("{\\rtf1 \\b B1\\b0  p1 \\i I1\\i0  p2\\par \\b B2\\b0  p3}", document).ok());
    QCOMPARE(formatAt(document, QStringLiteral("B2")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatAt(document, QStringLiteral("I1")).fontItalic());
    for (const char *plain : {"p1", "p2", "p3"}) {
        const QTextCharFormat format = formatAt(document, QString::fromLatin1(plain));
        QVERIFY2(format.fontWeight() == QFont::Normal && !format.fontItalic(), plain);
    }
    QTextDocument built;
    {
        RtfDocumentSink sink(built);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        RtfParagraph paragraph;
        paragraph.inlines.push_back(RtfInline{QStringLiteral("x"), bold, {}, 7});
        paragraph.inlines.push_back(RtfInline{QStringLiteral("y"), italic, {}, 7});
        sink.paragraph(std::move(paragraph));
    }
    QCOMPARE(formatAt(built, QStringLiteral("x")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(built, QStringLiteral("y")).fontWeight(), int(QFont::Normal));
    QVERIFY(formatAt(built, QStringLiteral("y")).fontItalic());
}

void tst_RtfReader::underlineKinds_data() {
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("type");
    QTest::addRow("ul") << QByteArray("\\ul") << 1;
    QTest::addRow("ulw") << QByteArray("\\ulw") << 2;
    QTest::addRow("uldb") << QByteArray("\\uldb") << 3;
    QTest::addRow("uld") << QByteArray("\\uld") << 4;
    QTest::addRow("uldash") << QByteArray("\\uldash") << 4;
    QTest::addRow("ulwave") << QByteArray("\\ulwave") << 5;
    QTest::addRow("ulth") << QByteArray("\\ulth") << 1;
    QTest::addRow("ulnone") << QByteArray("\\ul\\ulnone") << 0;
    QTest::addRow("ul0") << QByteArray("\\ul\\ul0") << 0;
}

void tst_RtfReader::underlineKinds() {
    QFETCH(QByteArray, word);
    QFETCH(int, type);
    QTextDocument document;
    QVERIFY(readRtf("{\\rtf1 {" + word + " x}}", document).ok());
    const QTextCharFormat format = formatAt(document, QStringLiteral("x"));
    QCOMPARE(format.intProperty(RtfFormatProperty::UnderlineType), type);
    // What the control reads back; words-only text has Qt's own line off.
    QCOMPARE(RichTextFormat::underlineType(format), type);
}

void tst_RtfReader::paragraphFormats() {
    QTextDocument document;
    const QByteArray rtf = "{\\rtf1 \\pard\\qc Centre\\par"
                           "\\pard\\qr\\fi-360\\li720\\ri240\\sb120\\sa240 Right\\par"
                           "\\pard\\qj\\sl360\\slmult1 Justified\\par"
                           "\\pard\\sl-300\\slmult0 Exact\\par"
                           "\\pard\\sl300 AtLeast\\par"
                           "\\pard\\tqr\\tx2880\\tx4320 Tabs\\par"
                           "\\qc{\\pard Reset\\par}}";
    QVERIFY(readRtf(rtf, document).ok());
    QCOMPARE(document.blockCount(), 7);
    const auto block = [&document](int n) { return document.findBlockByNumber(n).blockFormat(); };
    QCOMPARE(block(0).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(block(1).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(block(1).textIndent(), DocumentUnits::fromTwips(-360));
    QCOMPARE(block(1).leftMargin(), DocumentUnits::fromTwips(720));
    QCOMPARE(block(1).rightMargin(), DocumentUnits::fromTwips(240));
    QCOMPARE(block(1).topMargin(), DocumentUnits::fromTwips(120));
    QCOMPARE(block(1).bottomMargin(), DocumentUnits::fromTwips(240));
    QCOMPARE(block(2).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    QCOMPARE(block(2).lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(block(2).lineHeight(), 150.0);
    QCOMPARE(block(3).lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(block(3).lineHeight(), DocumentUnits::fromTwips(300));
    QCOMPARE(block(4).lineHeightType(), int(QTextBlockFormat::MinimumHeight));
    const QList<QTextOption::Tab> tabs = block(5).tabPositions();
    QCOMPARE(tabs.size(), 2);
    QCOMPARE(tabs[0].type, QTextOption::RightTab);
    QCOMPARE(tabs[0].position, DocumentUnits::fromTwips(2880));
    QCOMPARE(tabs[1].type, QTextOption::LeftTab);
    QCOMPARE(block(6).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

void tst_RtfReader::pageBreak() {
    QTextDocument document;
    QVERIFY(readRtf("{\\rtf1 one\\par\\page two\\page three\\par}", document).ok());
    QCOMPARE(document.toPlainText(), QStringLiteral("one\ntwo\nthree"));
    const auto policy = [&document](int n) {
        return document.findBlockByNumber(n).blockFormat().pageBreakPolicy();
    };
    QCOMPARE(policy(0), QTextFormat::PageBreak_Auto);
    QCOMPARE(policy(1), QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(policy(2), QTextFormat::PageBreak_AlwaysBefore);
}

void tst_RtfReader::lists() {
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'"
        "00)"
        ";}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01.;}}\\listid7}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid8\\ls2}}"
        "\\pard\\ls1 {\\listtext 1)\\tab}One\\par"
        "\\pard\\ls1\\ilvl1 {\\listtext a.\\tab}Sub\\par"
        "\\pard\\ls1 Two\\par"
        "\\pard\\ls2 Bullet\\par"
        "\\pard Body\\par"
        "{\\pntext I.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart1{\\pntxta .}}Roman\\par"
        "{\\pntext \\'b7\\tab}\\pard{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}Old bullet\\par}";
    QVERIFY(readRtf(rtf, document).ok());
    QCOMPARE(document.toPlainText(),
             QStringLiteral("One\nSub\nTwo\nBullet\nBody\nRoman\nOld bullet"));
    const auto list = [&document](int n) { return document.findBlockByNumber(n).textList(); };
    QVERIFY(list(0) != nullptr);
    QCOMPARE(list(0), list(2));
    QCOMPARE(list(0)->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(list(0)->format().numberSuffix(), QStringLiteral(")"));
    QCOMPARE(list(0)->itemText(document.findBlockByNumber(2)), QStringLiteral("2)"));
    QVERIFY(list(1) != nullptr && list(1) != list(0));
    QCOMPARE(list(1)->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(list(1)->format().indent(), 2);
    QCOMPARE(list(3)->format().style(), QTextListFormat::ListDisc);
    QVERIFY(list(4) == nullptr);
    QCOMPARE(list(5)->format().style(), QTextListFormat::ListUpperRoman);
    QCOMPARE(list(6)->format().style(), QTextListFormat::ListDisc);
    QVERIFY(list(5) != list(6));
}

void tst_RtfReader::listItemsStayEditable() {
    // A numbered list with bullets between its items, and one item inside a table cell.
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid2}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
        "\\pard\\ls1 N1\\par\\pard\\ls2 B1\\par\\pard\\ls1 N2\\par\\pard\\ls2 B2\\par"
        "\\trowd\\cellx2000\\pard\\intbl\\ls1 N3\\cell\\row\\pard\\ls1 N4\\par}";
    QVERIFY(readRtf(rtf, document).ok());
    const auto block = [&document](const char *text) {
        for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
            if (b.text() == QLatin1String(text))
                return b;
        }
        return QTextBlock();
    };
    QTextList *numbers = block("N1").textList();
    QTextList *bullets = block("B1").textList();
    QVERIFY(numbers != nullptr && bullets != nullptr && numbers != bullets);
    QCOMPARE(numbers->count(), 4);
    const char *order[] = {"N1", "N2", "N3", "N4"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(numbers->item(i).text(), QLatin1String(order[i]));
        QCOMPARE(block(order[i]).textList(), numbers);
    }
    QCOMPARE(numbers->itemText(block("N4")), QStringLiteral("4."));
    // Taking an item out renumbers the rest; undo puts it back.
    QTextCursor cursor(block("N2"));
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QCOMPARE(numbers->count(), 3);
    QCOMPARE(numbers->itemText(block("N4")), QStringLiteral("3."));
    document.undo();
    QCOMPARE(numbers->count(), 4);
    QCOMPARE(numbers->itemText(block("N4")), QStringLiteral("4."));
}

void tst_RtfReader::tables() {
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1{\\colortbl;\\red230\\green230\\blue255;}Before\\par"
        "\\trowd\\cellx1440\\cellx4320\\pard\\intbl A1\\cell B1\\par B1b\\cell\\row"
        "\\trowd\\cellx1440\\clcbpat1\\cellx4320\\pard\\intbl A2\\cell B2\\cell\\row"
        "\\pard After\\par}";
    QVERIFY(readRtf(rtf, document).ok());
    QTextTable *table = nullptr;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        table = qobject_cast<QTextTable *>(frame);
    QVERIFY(table != nullptr);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const auto cellText = [table](int r, int c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cursor.selectedText();
    };
    QCOMPARE(cellText(0, 0), QStringLiteral("A1"));
    QCOMPARE(cellText(0, 1), QStringLiteral("B1\u2029B1b"));
    QCOMPARE(cellText(1, 1), QStringLiteral("B2"));
    QVERIFY(!table->cellAt(0, 0).format().hasProperty(QTextFormat::BackgroundBrush));
    QCOMPARE(table->cellAt(1, 1).format().background().color(), QColor(230, 230, 255));
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[1].rawValue(), DocumentUnits::fromTwips(2880));
    QVERIFY(document.toPlainText().startsWith(QStringLiteral("Before\n")));
    QVERIFY(document.toPlainText().endsWith(QStringLiteral("\nAfter")));
}

void tst_RtfReader::nestedTable() {
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1\\trowd\\cellx4000\\cellx8000\\pard\\intbl Outer\\par"
        "\\pard\\intbl\\itap2 In1\\nestcell In2\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx2000\\cellx4000\\nestrow}{\\nonesttables\\par}"
        "\\pard\\intbl\\itap1 \\cell Second\\cell\\row}";
    QVERIFY(readRtf(rtf, document).ok());
    QTextTable *outer = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
    QVERIFY(outer != nullptr);
    QCOMPARE(outer->rows(), 1);
    QCOMPARE(outer->columns(), 2);
    QTextTable *inner = nullptr;
    for (QTextFrame *frame : outer->childFrames())
        inner = qobject_cast<QTextTable *>(frame);
    QVERIFY(inner != nullptr);
    QCOMPARE(inner->columns(), 2);
    QCOMPARE(inner->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("In2"));
    QCOMPARE(outer->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("Second"));
}

// Each level of nesting doubles the layout's work, so tables nested deeper than the reader's
// limit become rows of the table at the limit, their text kept.
void tst_RtfReader::tablesNestedDeeperGoOnInTheDeepestShown() {
    constexpr int levels = 7;
    QByteArray rtf = "{\\rtf1\\trowd\\cellx8000\\pard\\intbl Level 1\\par";
    for (int depth = 2; depth <= levels; ++depth)
        rtf += "\\pard\\intbl\\itap" + QByteArray::number(depth) + " Level " +
               QByteArray::number(depth) + "\\par";
    for (int depth = levels; depth >= 2; --depth)
        rtf += "\\pard\\intbl\\itap" + QByteArray::number(depth) +
               "\\nestcell{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}"
               "{\\nonesttables\\par}";
    rtf += "\\pard\\intbl\\itap1\\cell\\row}";
    QTextDocument document;
    QVERIFY(readRtf(rtf, document).ok());
    int deepest = 0;
    std::function<void(QTextFrame *, int)> walk = [&](QTextFrame *frame, int depth) {
        deepest = std::max(deepest, depth);
        for (QTextFrame *child : frame->childFrames())
            walk(child, depth + (qobject_cast<QTextTable *>(child) ? 1 : 0));
    };
    walk(document.rootFrame(), 0);
    QCOMPARE(deepest, RtfReader::maxTableDepth);
    for (int depth = 1; depth <= levels; ++depth)
        QVERIFY(document.toPlainText().contains(QStringLiteral("Level %1").arg(depth)));
}

void tst_RtfReader::hyperlink() {
    QTextDocument document;
    const QByteArray rtf =
        "{\\rtf1 See {\\field{\\*\\fldinst{HYPERLINK \"http://example.com/a b\"}}"
        "{\\fldrslt{\\ul\\cf1 the site}}} and "
        "{\\field{\\*\\fldinst HYPERLINK \\\\l \"Mark\"}{\\fldrslt here}} or "
        "{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}.\\par{\\*\\bkmkstart Mark}Target"
        "{\\*\\bkmkend Mark}\\par{\\*\\bkmkstart One}{\\*\\bkmkstart Two}Both\\par}";
    RtfReadResult result = readRtf(rtf, document);
    QVERIFY(result.ok());
    QCOMPARE(document.toPlainText(), QStringLiteral("See the site and here or 7.\nTarget\nBoth"));
    QTextCharFormat link = formatAt(document, QStringLiteral("the site"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("http://example.com/a b"));
    QCOMPARE(formatAt(document, QStringLiteral("here")).anchorHref(), QStringLiteral("#Mark"));
    QCOMPARE(formatAt(document, QStringLiteral("Target")).anchorNames(), QStringList{"Mark"});
    QVERIFY(formatAt(document, QStringLiteral("arget")).anchorNames().isEmpty());
    QCOMPARE(formatAt(document, QStringLiteral("Both")).anchorNames(), (QStringList{"One", "Two"}));
    QVERIFY(!formatAt(document, QStringLiteral(" and")).isAnchor());
    // The page field is kept with its result.
    QCOMPARE(result.dropped.fields, 0);
    QCOMPARE(formatAt(document, QStringLiteral("7")).intProperty(RtfFormatProperty::FieldSerial),
             1);
}

void tst_RtfReader::droppedContent() {
    // Headers, footers, notes, comments and drawings are kept where they stand; hidden text is
    // dropped.
    RtfReadResult result;
    const QString text = readText("{\\rtf1{\\header H}{\\footerl F}a{\\footnote N}"
                                  "{\\*\\annotation C}b{\\v x}{\\v y}c{\\shp{\\*\\shpinst S}}d}",
                                  &result);
    QCOMPARE(text, QStringLiteral("a\u2060\u2060bc\u2060d"));
    QCOMPARE(result.dropped.headersFooters, 0);
    QCOMPARE(result.dropped.footnotes, 0);
    QCOMPARE(result.dropped.annotations, 0);
    QCOMPARE(result.dropped.hiddenText, 1);
    QCOMPARE(result.dropped.objects, 0);
    QVERIFY(!result.dropped.isEmpty());
    QCOMPARE(result.dropped.describe().first(), QStringLiteral("1 piece of hidden text"));
    // Where they cannot be kept (inside a field instruction), they count.
    readText("{\\rtf1 {\\field{\\*\\fldinst X{\\footnote N}{\\header H}}{\\fldrslt r}}}", &result);
    QCOMPARE(result.dropped.footnotes, 1);
    QCOMPARE(result.dropped.headersFooters, 1);
    readText("{\\rtf1 plain}", &result);
    QVERIFY(result.dropped.isEmpty());
}

void tst_RtfReader::picture() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    QTextDocument document;
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450 " +
                           png.toHex() + "}b{\\pict\\wmetafile8\\picw2540\\pich2540 0102030405}c}";
    QVERIFY(readRtf(rtf, document).ok());
    QCOMPARE(document.toPlainText(), QStringLiteral("a\ufffcb\ufffcc"));
    QTextCursor cursor(&document);
    cursor.setPosition(2);
    const QTextImageFormat first = cursor.charFormat().toImageFormat();
    QVERIFY(first.isValid());
    QCOMPARE(first.width(), 40.0);
    QCOMPARE(first.height(), 30.0);
    QCOMPARE(first.property(RtfFormatProperty::PictureData).toByteArray(), png);
    const QImage shown =
        document.resource(QTextDocument::ImageResource, QUrl(first.name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(4, 3));
    QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::red));
    cursor.setPosition(4);
    const QTextImageFormat metafile = cursor.charFormat().toImageFormat();
    QCOMPARE(metafile.intProperty(RtfFormatProperty::PictureKindProperty), int(PictureKind::Wmf));
    QCOMPARE(metafile.property(RtfFormatProperty::PictureData).toByteArray(),
             QByteArray::fromHex("0102030405"));
    QCOMPARE(metafile.width(), 96.0);
}

void tst_RtfReader::malformed_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addRow("unclosed groups") << QByteArray("{\\rtf1 {\\b a{\\i b") << QStringLiteral("ab");
    QTest::addRow("surplus closing braces")
        << QByteArray("{\\rtf1 a}}}} b}") << QStringLiteral("a b");
    QTest::addRow("truncated escape") << QByteArray("{\\rtf1 a\\'4") << QStringLiteral("a");
    QTest::addRow("truncated word") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::addRow("broken hex") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::addRow("chained broken hex")
        << QByteArray("{\\rtf1 a\\'\\'\\'\\'b c}") << QStringLiteral("a c");
    QTest::addRow("huge numbers")
        << QByteArray("{\\rtf1\\fs99999999999999999\\f-99999999999999{\\uc999999999 "
                      "\\u99999999999 a}\\li2147483648 b}")
        << QStringLiteral("b");
    QTest::addRow("bin longer than file")
        << QByteArray("{\\rtf1 a{\\pict\\bin999999 xy") << QStringLiteral("a\ufffc");
    QTest::addRow("bin with braces inside")
        << QByteArray("{\\rtf1 a{\\*\\blob\\bin4 }}{{}b}") << QStringLiteral("a\u2060b");
    QTest::addRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::addRow("long control word")
        << QByteArray("{\\rtf1 a\\") + QByteArray(5000, 'x') + QByteArray(" b}")
        << QStringLiteral("ab");
    QTest::addRow("deep nesting") << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "deep" +
                                         QByteArray(100000, '}') + "}"
                                  << QStringLiteral("deep");
    QTest::addRow("binary junk") << QByteArray("{\\rtf1 a\x01\x02\x7f\xff\x00z}", 16)
                                 << QStringLiteral("a\u007f\u00ffz");
    QTest::addRow("cells without rows")
        << QByteArray("{\\rtf1 \\intbl a\\cell b\\cell") << QStringLiteral("\na\nb\n");
    QTest::addRow("row without cells")
        << QByteArray("{\\rtf1 \\row\\nestrow x}") << QStringLiteral("x");
    QTest::addRow("too many columns")
        << QByteArray("{\\rtf1 \\trowd") + QByteArray("\\cellx100").repeated(500) +
               QByteArray("\\intbl x\\cell").repeated(200) + "\\row}"
        << QString();
    QTest::addRow("itap beyond limit")
        << QByteArray("{\\rtf1 \\intbl\\itap9999 a\\nestcell\\nestrow\\cell\\row}") << QString();
    QTest::addRow("field without instruction")
        << QByteArray("{\\rtf1 {\\field{\\fldrslt x}}}") << QStringLiteral("x");
    QTest::addRow("list with no table")
        << QByteArray("{\\rtf1 \\ls5\\ilvl99 x\\par}") << QStringLiteral("x");
    QTest::addRow("picture garbage")
        << QByteArray("{\\rtf1 {\\pict\\pngblip\\picwgoal-5\\pichgoal99999999 zz0102}}")
        << QStringLiteral("\ufffc");
}

void tst_RtfReader::malformed() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(readRtf(rtf, document).ok());
    if (!expected.isEmpty())
        QCOMPARE(rawText(document), expected);
    // Whatever was read can be written and read again.
    QTextDocument again;
    QVERIFY(readRtf(rtfFromDocument(document), again).ok());
    QCOMPARE(rawText(again), rawText(document));
}

QUILLET_TEST_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
