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
#include <QTextList>
#include <QTextTable>

namespace {

QString corpusDir() {
    return QStringLiteral(QUILLET_CORPUS "/rtf");
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Words of a text, case folded, split at white space, table bars and punctuation that the
// expectation formats write differently.
QHash<QString, int> wordBag(const QString &text) {
    static const QRegularExpression separators(QStringLiteral("[\\s|\u00a0\u2028\u2029]+"));
    QHash<QString, int> bag;
    for (const QString &word : text.split(separators, Qt::SkipEmptyParts))
        ++bag[word.toCaseFolded()];
    return bag;
}

// The share of the expected words (with repeats) that the document has.
double coverage(const QHash<QString, int> &expected, const QHash<QString, int> &actual) {
    int total = 0;
    int found = 0;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        total += it.value();
        found += qMin(it.value(), actual.value(it.key()));
    }
    return total == 0 ? 1.0 : double(found) / total;
}

QString documentText(const QTextDocument &document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(QLatin1Char('\n'));
}

// The text of a pandoc AST dump without its metadata: Str contents joined as they stand, with
// a space for every Space, break and block.
QString nativeText(const QString &native) {
    QString body = native;
    const qsizetype meta = body.indexOf(QLatin1String("unMeta"));
    if (meta >= 0) {
        const qsizetype blocks = body.indexOf(QLatin1String("\n  ["), meta);
        body = blocks >= 0 ? body.mid(blocks) : QString();
    }
    QString text;
    static const QRegularExpression token(QStringLiteral(
        "Str \"((?:[^\"\\\\]|\\\\.)*)\"|\\b(?:Space|SoftBreak|LineBreak|Para|Plain|Header)\\b"));
    for (const auto &match : token.globalMatch(body)) {
        if (!match.captured(0).startsWith(QLatin1String("Str"))) {
            text.append(QLatin1Char(' '));
            continue;
        }
        const QString raw = match.captured(1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != QLatin1Char('\\') || i + 1 >= raw.size()) {
                text.append(raw[i]);
                continue;
            }
            const QChar next = raw[++i];
            if (next.isDigit()) {
                qsizetype end = i;
                while (end < raw.size() && raw[end].isDigit())
                    ++end;
                const char32_t code = raw.mid(i, end - i).toUInt();
                text.append(QString::fromUcs4(&code, 1));
                i = end - 1;
            } else if (next == QLatin1Char('n') || next == QLatin1Char('t')) {
                text.append(QLatin1Char(' '));
            } else if (next != QLatin1Char('&')) {
                text.append(next);
            }
        }
    }
    return text;
}

// The decoded characters of an rtfparserkit token dump: everything the file holds as text,
// destinations the reader skips included.
QString tokenDumpText(const QString &xml) {
    QString text;
    static const QRegularExpression chars(QStringLiteral("<chars>([^<]*)</chars>"));
    for (const auto &match : chars.globalMatch(xml)) {
        QString piece = match.captured(1);
        piece.replace(QLatin1String("&lt;"), QLatin1String("<"));
        piece.replace(QLatin1String("&gt;"), QLatin1String(">"));
        piece.replace(QLatin1String("&quot;"), QLatin1String("\""));
        piece.replace(QLatin1String("&apos;"), QLatin1String("'"));
        piece.replace(QLatin1String("&amp;"), QLatin1String("&"));
        text += piece;
    }
    return text;
}

} // namespace

// The reader over real files written by other programs: every file reads in bounded time, and
// the files with an expected text give that text.
class tst_RtfCorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QUILLET_REQUIRE_CORPUS(); }
    void readsEveryFile_data();
    void readsEveryFile();
    void expectedText_data();
    void expectedText();
    void codePageCharacters_data();
    void codePageCharacters();
    void keyFormats();
    void keyStructure();
};

void tst_RtfCorpus::readsEveryFile_data() {
    QTest::addColumn<QString>("path");
    const QStringList files =
        QDir(corpusDir()).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(), "the corpus is missing");
    for (const QString &file : files)
        QTest::addRow("%s", qPrintable(file)) << QDir(corpusDir()).filePath(file);
}

void tst_RtfCorpus::readsEveryFile() {
    QFETCH(QString, path);
    const QByteArray bytes = readFile(path);
    QTextDocument document;
    const RtfReadResult result = readRtf(bytes, document);
    // Files without an RTF header are refused whole; the loader shows them as plain text.
    static const QStringList notRtf = {
        QStringLiteral("osxcart-RtfInterpreterTest_fail_0.rtf"),
        QStringLiteral("osxcart-RtfInterpreterTest_fail_3.rtf"),
        QStringLiteral("pandoc-tables.rtf"),
        QStringLiteral("rtfpipe-RtfParserTest_fail_4.rtf"),
        QStringLiteral("rtfpipe-RtfParserTest_fail_5.rtf"),
    };
    const QString name = QFileInfo(path).fileName();
    if (notRtf.contains(name)) {
        QCOMPARE(result.status, RtfReadResult::Status::NotRtf);
        return;
    }
    QVERIFY(result.ok());
}

void tst_RtfCorpus::expectedText_data() {
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<QString>("expectation");
    QTest::addColumn<double>("minimum");

    const QDir dir(corpusDir());
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    // Expectations written by other conventions get a lower bar, each for its own reason.
    const QHash<QString, double> exceptions = {
        // The expected text is pandoc's writer input, not what a reader shows.
        {QStringLiteral("pandoc-writer.rtf"), 0.85},
        // Footnote text is dropped here and kept by pandoc.
        {QStringLiteral("pandoc-footnote.rtf"), 0.5},
        // The expected text keeps undecoded escapes of destinations written without "\".
        {QStringLiteral("striprtf-encoding.rtf"), 0.5},
        // The expected HTML shows header and footer text, which is dropped here.
        {QStringLiteral("rtfpipe-rtf2xml_headers_footers.rtf"), 0.3},
        // The expected text is the encapsulated HTML, not the RTF text.
        {QStringLiteral("rtfde-multiple-encodings.rtf"), 0.0},
        {QStringLiteral("rtfde-encapsulated_example.rtf"), 0.0},
        // No RTF header: the loader shows it as plain text.
        {QStringLiteral("pandoc-tables.rtf"), 0.0},
        // The expected text is the picture's alternative text only.
        {QStringLiteral("pandoc-image.rtf"), 0.0},
        // The expected HTML belongs to another document.
        {QStringLiteral("rtfpipe-phprtflite_image_from_strings.rtf"), 0.0},
        // Footnote text, dropped here, is in the expected HTML.
        {QStringLiteral("rtfpipe-rtf2xml_inline_mix.rtf"), 0.9},
        // The expected HTML cuts Japanese runs elsewhere and keeps stray fallback bytes.
        {QStringLiteral("rtfpipe-rtf2xml_japanese.rtf"), 0.85},
    };
    for (const QString &file : files) {
        const QString stem = QFileInfo(file).completeBaseName();
        for (const char *suffix : {".txt", ".native", ".html"}) {
            const QString expectation = dir.filePath(stem + QLatin1String(suffix));
            if (!QFile::exists(expectation))
                continue;
            const double minimum = exceptions.value(file, 0.97);
            if (minimum > 0)
                QTest::addRow("%s", qPrintable(file))
                    << dir.filePath(file) << expectation << minimum;
        }
    }
}

void tst_RtfCorpus::expectedText() {
    QFETCH(QString, rtf);
    QFETCH(QString, expectation);
    QFETCH(double, minimum);
    QTextDocument document;
    QVERIFY(readRtf(readFile(rtf), document).ok());
    const QString raw = QString::fromUtf8(readFile(expectation));
    QString expected;
    if (expectation.endsWith(QLatin1String(".native"))) {
        expected = nativeText(raw);
    } else if (expectation.endsWith(QLatin1String(".html"))) {
        QTextDocument html;
        html.setHtml(raw);
        expected = html.toPlainText();
    } else {
        expected = raw;
    }
    const double share = coverage(wordBag(expected), wordBag(documentText(document)));
    QVERIFY2(share >= minimum,
             qPrintable(QStringLiteral("%1 of the expected words found").arg(share, 0, 'f', 3)));
}

void tst_RtfCorpus::codePageCharacters_data() {
    QTest::addColumn<QString>("rtf");
    const QDir dir(corpusDir());
    for (const QString &xml : dir.entryList({QStringLiteral("rpk-*.xml")}, QDir::Files)) {
        const QString stem = QFileInfo(xml).completeBaseName();
        QTest::addRow("%s", qPrintable(stem)) << dir.filePath(stem + QStringLiteral(".rtf"));
    }
}

// The token dumps decode every byte by the code page in force: each word read here must be
// one of theirs, so a wrongly decoded word fails.
void tst_RtfCorpus::codePageCharacters() {
    QFETCH(QString, rtf);
    QTextDocument document;
    QVERIFY(readRtf(readFile(rtf), document).ok());
    QString xmlPath = rtf;
    xmlPath.replace(QLatin1String(".rtf"), QLatin1String(".xml"));
    const QString dump = tokenDumpText(QString::fromUtf8(readFile(xmlPath))).toCaseFolded();
    const QHash<QString, int> words = wordBag(documentText(document));
    QVERIFY(!words.isEmpty());
    for (auto it = words.cbegin(); it != words.cend(); ++it)
        QVERIFY2(dump.contains(it.key()),
                 qPrintable(QStringLiteral("unexpected word: ") + it.key()));
}

namespace {

struct Loaded {
    std::unique_ptr<QTextDocument> document = std::make_unique<QTextDocument>();
    QString text;

    explicit Loaded(const char *name) {
        readRtf(readFile(corpusDir() + QLatin1Char('/') + QLatin1String(name)), *document);
        text = documentText(*document);
    }
    // The format of the first character of the first occurrence of a text.
    QTextCharFormat formatOf(const QString &marker) const {
        const qsizetype at = text.indexOf(marker);
        if (at < 0)
            return {};
        QTextCursor cursor(document.get());
        cursor.setPosition(static_cast<int>(at) + 1);
        return cursor.charFormat();
    }
    QTextTable *firstTable() const {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            if (auto *table = qobject_cast<QTextTable *>(QTextCursor(block).currentFrame()))
                return table;
        }
        return nullptr;
    }
};

} // namespace

// Formats the files' sources state or their expectations show.
void tst_RtfCorpus::keyFormats() {
    const Loaded formatting("pandoc-formatting.rtf");
    QCOMPARE(formatting.formatOf(QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatting.formatOf(QStringLiteral("italics")).fontItalic());
    QCOMPARE(formatting.formatOf(QStringLiteral("underlined"))
                 .intProperty(RtfFormatProperty::UnderlineType),
             int(UnderlineType::Solid));
    QVERIFY(formatting.formatOf(QStringLiteral("strikeout")).fontStrikeOut());
    QCOMPARE(formatting.formatOf(QStringLiteral("superscript")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatting.formatOf(QStringLiteral("subscript")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    QCOMPARE(formatting.formatOf(QStringLiteral("Small")).fontCapitalization(), QFont::SmallCaps);
    QVERIFY(!formatting.text.contains(QLatin1String("hidden text")));

    // \highlightN takes colour N of the table; 0 is none.
    const Loaded highlight("lo-fdo79599.rtf");
    QVERIFY(
        !highlight.formatOf(QStringLiteral("Should")).hasProperty(QTextFormat::BackgroundBrush));
    static const QRegularExpression named(QStringLiteral("#([0-9A-F]{6}) ="));
    int checked = 0;
    for (const auto &match : named.globalMatch(highlight.text)) {
        QCOMPARE(highlight.formatOf(match.captured(0)).background().color(),
                 QColor(QLatin1Char('#') + match.captured(1)));
        ++checked;
    }
    QCOMPARE(checked, 15);

    const Loaded link("pandoc-link.rtf");
    QCOMPARE(link.formatOf(QStringLiteral("pandoc")).anchorHref(),
             QStringLiteral("http://pandoc.org"));

    const Loaded locked("rtfpipe-Issue50-1.rtf");
    QVERIFY(locked.formatOf(QStringLiteral("Kxkbmvtg Swqc"))
                .boolProperty(RtfFormatProperty::Protected));

    QCOMPARE(Loaded("lo-fdo85889-pc.rtf").text, QStringLiteral("\u00b1\u2265\u2264"));
    QCOMPARE(Loaded("lo-fdo64671.rtf").text, QStringLiteral("\u017d"));
    QVERIFY(Loaded("lo-fdo52389.rtf").text.endsWith(QLatin1String("dania!")));
    QVERIFY(Loaded("rtfde-surrogate_pairs.rtf").text.contains(QStringLiteral("\U0001F60A")));
}

void tst_RtfCorpus::keyStructure() {
    const Loaded image("pandoc-image.rtf");
    QTextCursor cursor(image.document.get());
    cursor.setPosition(static_cast<int>(image.text.indexOf(QChar::ObjectReplacementCharacter)) + 1);
    const QTextImageFormat picture = cursor.charFormat().toImageFormat();
    QVERIFY(picture.isValid());
    QCOMPARE(picture.intProperty(RtfFormatProperty::PictureKindProperty), int(PictureKind::Jpeg));
    QCOMPARE(picture.width(), 192.0); // 2 inches
    const QImage decoded =
        image.document->resource(QTextDocument::ImageResource, QUrl(picture.name()))
            .value<QImage>();
    QCOMPARE(decoded.size(), QSize(250, 250));

    // Four cells to a row, though the row defines one.
    const Loaded simple("pandoc-table_simple.rtf");
    QTextTable *table = simple.firstTable();
    QVERIFY(table != nullptr);
    QCOMPARE(table->columns(), 4);
    QCOMPARE(table->rows(), 2);

    const Loaded lists("pandoc-list_simple.rtf");
    const auto listOf = [&lists](const char *text) {
        const int at = static_cast<int>(lists.text.indexOf(QLatin1String(text)));
        return lists.document->findBlock(at).textList();
    };
    QVERIFY(listOf("one") != nullptr);
    QCOMPARE(listOf("one"), listOf("two"));
    QCOMPARE(listOf("one")->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(listOf("sub")->format().indent(), 2);
    QVERIFY(listOf("new list") != nullptr);

    const Loaded pages("osxcart-p065_vhcenter.rtf");
    bool pageBreak = false;
    for (QTextBlock block = pages.document->begin(); block.isValid(); block = block.next())
        pageBreak |= block.blockFormat().pageBreakPolicy() == QTextFormat::PageBreak_AlwaysBefore;
    QVERIFY(pageBreak);

    const Loaded nested("pandoc-table_nested.rtf");
    QTextTable *outer = nested.firstTable();
    QVERIFY(outer != nullptr);
    QVERIFY(!outer->childFrames().isEmpty());
}

QUILLET_TEST_MAIN(tst_RtfCorpus)
#include "tst_rtfcorpus.moc"
