#include "platform/usererror.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QByteArray readFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString loadError(const std::function<void()> &load) {
    try {
        load();
    } catch (const UserError &error) {
        return error.text();
    }
    return {};
}

QString documentText(const QTextDocument &document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(QLatin1Char('\n'));
}

} // namespace

// Loading and saving through streams and files per stream format, plain text encodings and
// line breaks.
class tst_RtfDocumentIo : public QObject {
    Q_OBJECT

private slots:
    void streamFormatRules_data();
    void streamFormatRules();
    void loadTriesTheOtherFormat_data();
    void loadTriesTheOtherFormat();
    void failedLoadLeavesTheDocument();
    void failedSave();
    void saveIsAtomic();
    void plainTextDetection_data();
    void plainTextDetection();
    void plainTextWrittenBackAsRead_data();
    void plainTextWrittenBackAsRead();
    void windows1252FallsBackToUtf8();
    void plainTextOfARichDocument();
};

void tst_RtfDocumentIo::streamFormatRules_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("plainText");
    QTest::addColumn<StreamFormat>("expected");
    QTest::addRow("txt") << "notes.txt" << false << StreamFormat::PlainText;
    QTest::addRow("TXT upper case") << "NOTES.TXT" << false << StreamFormat::PlainText;
    QTest::addRow("rtf in plain mode") << "letter.rtf" << true << StreamFormat::RichText;
    QTest::addRow("other, rich mode") << "readme.md" << false << StreamFormat::RichText;
    QTest::addRow("other, plain mode") << "readme.md" << true << StreamFormat::PlainText;
    QTest::addRow("no extension") << "/tmp/folder.rtf/file" << false << StreamFormat::RichText;
}

void tst_RtfDocumentIo::streamFormatRules() {
    QFETCH(QString, fileName);
    QFETCH(bool, plainText);
    QFETCH(StreamFormat, expected);
    QCOMPARE(resolveStreamFormat(streamFormatForFileName(fileName), plainText), expected);
}

void tst_RtfDocumentIo::loadTriesTheOtherFormat_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<StreamFormat>("format");
    QTest::addColumn<StreamFormat>("loadedAs");
    QTest::addColumn<QString>("text");
    QTest::addRow("rtf as rtf") << QByteArray("{\\rtf1 Hi\\par}") << StreamFormat::RichText
                                << StreamFormat::RichText << QStringLiteral("Hi");
    QTest::addRow("text asked as rtf")
        << QByteArray("just text\r\nline two") << StreamFormat::RichText << StreamFormat::PlainText
        << QStringLiteral("just text\nline two");
    QTest::addRow("rtf asked as plain shows its source")
        << QByteArray("{\\rtf1 Hi}") << StreamFormat::PlainText << StreamFormat::PlainText
        << QStringLiteral("{\\rtf1 Hi}");
    QTest::addRow("empty asked as rtf")
        << QByteArray() << StreamFormat::RichText << StreamFormat::PlainText << QString();
}

void tst_RtfDocumentIo::loadTriesTheOtherFormat() {
    QFETCH(QByteArray, bytes);
    QFETCH(StreamFormat, format);
    QFETCH(StreamFormat, loadedAs);
    QFETCH(QString, text);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QTextDocument document;
    const LoadOutcome outcome = loadDocument(buffer, document, format, false);
    QCOMPARE(outcome.format, loadedAs);
    QCOMPARE(documentText(document), text);
}

void tst_RtfDocumentIo::failedLoadLeavesTheDocument() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("keep me"));
    QBuffer closed;
    QCOMPARE(loadError([&] { loadDocument(closed, document, StreamFormat::RichText, false); }),
             QStringLiteral("Failed to Load Stream"));
    QCOMPARE(loadError([&] {
                 loadDocumentFile(QStringLiteral("/nonexistent/file.rtf"), document, false);
             }),
             QStringLiteral("Failed to Load Stream"));
    QCOMPARE(document.toPlainText(), QStringLiteral("keep me"));
}

void tst_RtfDocumentIo::failedSave() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("text"));
    QBuffer readOnly;
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QCOMPARE(loadError([&] { saveDocument(document, readOnly, StreamFormat::RichText, false); }),
             QStringLiteral("Failed to Save Stream"));
    QCOMPARE(loadError([&] {
                 saveDocumentFile(document, QStringLiteral("/nonexistent/dir/out.txt"), false);
             }),
             QStringLiteral("Failed to Save Stream"));
}

void tst_RtfDocumentIo::saveIsAtomic() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    QVERIFY(writeFile(path, "{\\rtf1 old}"));
    QTextDocument document;
    document.setPlainText(QStringLiteral("new text"));
    saveDocumentFile(document, path, false);
    QTextDocument loaded;
    QCOMPARE(loadDocumentFile(path, loaded, false).format, StreamFormat::RichText);
    QCOMPARE(loaded.toPlainText(), QStringLiteral("new text"));
    // No stray temporary files beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("doc.rtf")});
}

void tst_RtfDocumentIo::plainTextDetection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<LineBreak>("lineBreak");
    QTest::addColumn<QString>("text");
    QTest::addRow("utf-8 lf") << QByteArray("caf\xc3\xa9\nx") << TextEncoding::Utf8 << LineBreak::LF
                              << QStringLiteral("caf\u00e9\nx");
    QTest::addRow("1252 crlf") << QByteArray("caf\xe9\r\n\x80") << TextEncoding::Windows1252
                               << LineBreak::CRLF << QStringLiteral("caf\u00e9\n\u20ac");
    QTest::addRow("cr only") << QByteArray("a\rb\rc") << TextEncoding::Utf8 << LineBreak::CR
                             << QStringLiteral("a\nb\nc");
    QTest::addRow("mixed breaks all split") << QByteArray("a\r\nb\nc\rd") << TextEncoding::Utf8
                                            << LineBreak::CRLF << QStringLiteral("a\nb\nc\nd");
    QTest::addRow("bom") << QByteArray("\xef\xbb\xbfx") << TextEncoding::Utf8 << LineBreak::LF
                         << QStringLiteral("x");
    QTest::addRow("nul shown as 1") << QByteArray("a\0b", 3) << TextEncoding::Utf8 << LineBreak::LF
                                    << QStringLiteral("a\u0001b");
    QTest::addRow("truncated utf-8 is 1252") << QByteArray("ab\xc3") << TextEncoding::Windows1252
                                             << LineBreak::LF << QStringLiteral("ab\u00c3");
}

void tst_RtfDocumentIo::plainTextDetection() {
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineBreak, lineBreak);
    QFETCH(QString, text);
    const TextFormat format = detectPlainTextFormat(bytes);
    QCOMPARE(format.encoding, encoding);
    QCOMPARE(format.lineBreak, lineBreak);
    QCOMPARE(decodePlainText(bytes, format), text);
}

void tst_RtfDocumentIo::plainTextWrittenBackAsRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("utf-8 lf") << QByteArray("caf\xc3\xa9\nline\n");
    QTest::addRow("1252 crlf") << QByteArray("caf\xe9\r\n\x80 \x81\r\n");
    QTest::addRow("cr") << QByteArray("a\rb");
    QTest::addRow("bom") << QByteArray("\xef\xbb\xbfx\ny");
    QTest::addRow("no final break") << QByteArray("one\r\ntwo");
}

// Loading a text file and saving it unedited gives the same bytes.
void tst_RtfDocumentIo::plainTextWrittenBackAsRead() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(writeFile(in, bytes));
    QTextDocument document;
    QCOMPARE(loadDocumentFile(in, document, false).format, StreamFormat::PlainText);
    saveDocumentFile(document, out, false);
    QCOMPARE(readFile(out), bytes);
}

// A character Windows-1252 cannot hold is not lost: the file becomes UTF-8.
void tst_RtfDocumentIo::windows1252FallsBackToUtf8() {
    QTextDocument document;
    QByteArray bytes("caf\xe9");
    QBuffer in(&bytes);
    QVERIFY(in.open(QIODevice::ReadOnly));
    loadDocument(in, document, StreamFormat::PlainText, true);
    QCOMPARE(documentPlainTextFormat(document).encoding, TextEncoding::Windows1252);
    QTextCursor(&document).insertText(QStringLiteral("\u4e2d "));
    QByteArray saved;
    QBuffer out(&saved);
    QVERIFY(out.open(QIODevice::WriteOnly));
    saveDocument(document, out, StreamFormat::Default, true);
    QCOMPARE(saved, QByteArray("\xe4\xb8\xad caf\xc3\xa9"));
}

void tst_RtfDocumentIo::plainTextOfARichDocument() {
    QTextDocument document;
    QVERIFY(
        readRtf("{\\rtf1 a\\line b\\par\\trowd\\cellx1000\\cellx2000\\intbl x\\cell y\\cell\\row"
                "\\pard{\\pict\\wmetafile8 0102}z\\par}",
                document)
            .ok());
    QCOMPARE(encodePlainText(document, TextFormat{}), QByteArray("a\nb\nx\ny\nz"));
}

QUILLET_TEST_MAIN(tst_RtfDocumentIo)
#include "tst_rtfdocumentio.moc"
