#include "richtext/documentio.h"
#include "richtext/rtfconvert.h"
#include "platform/usererror.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextStream>

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
// line breaks, and the headless converter built on them.
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
    void convert_data();
    void convert();
    void convertExecutable();
    void convertShowsProgress();
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
    QTest::addColumn<LineBreakStyle>("lineBreak");
    QTest::addColumn<QString>("text");
    QTest::addRow("utf-8 lf") << QByteArray("caf\xc3\xa9\nx") << TextEncoding::Utf8
                              << LineBreakStyle::Lf << QStringLiteral("caf\u00e9\nx");
    QTest::addRow("1252 crlf") << QByteArray("caf\xe9\r\n\x80") << TextEncoding::Windows1252
                               << LineBreakStyle::CrLf << QStringLiteral("caf\u00e9\n\u20ac");
    QTest::addRow("cr only") << QByteArray("a\rb\rc") << TextEncoding::Utf8 << LineBreakStyle::Cr
                             << QStringLiteral("a\nb\nc");
    QTest::addRow("mixed breaks all split") << QByteArray("a\r\nb\nc\rd") << TextEncoding::Utf8
                                            << LineBreakStyle::CrLf << QStringLiteral("a\nb\nc\nd");
    QTest::addRow("bom") << QByteArray("\xef\xbb\xbfx") << TextEncoding::Utf8 << LineBreakStyle::Lf
                         << QStringLiteral("x");
    QTest::addRow("nul shown as 1") << QByteArray("a\0b", 3) << TextEncoding::Utf8
                                    << LineBreakStyle::Lf << QStringLiteral("a\u0001b");
    QTest::addRow("truncated utf-8 is 1252") << QByteArray("ab\xc3") << TextEncoding::Windows1252
                                             << LineBreakStyle::Lf << QStringLiteral("ab\u00c3");
}

void tst_RtfDocumentIo::plainTextDetection() {
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineBreakStyle, lineBreak);
    QFETCH(QString, text);
    const PlainTextFormat format = detectPlainTextFormat(bytes);
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
    QCOMPARE(encodePlainText(document, PlainTextFormat{}), QByteArray("a\nb\nx\ny\nz"));
}

void tst_RtfDocumentIo::convert_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("output");
    const QString rtf = QStringLiteral("%1/in.rtf");
    const QString text = QStringLiteral("%1/in.txt");
    QTest::addRow("rtf to text") << QStringList{rtf, QStringLiteral("%1/out.txt")} << 0 << QString()
                                 << QByteArray("Hello \xc3\xa9t\xc3\xa9\nsecond");
    QTest::addRow("text to rtf") << QStringList{text, QStringLiteral("%1/out.rtf")} << 0
                                 << QString() << QByteArray("{\\rtf1");
    QTest::addRow("other extension is rtf") << QStringList{text, QStringLiteral("%1/out.doc")} << 0
                                            << QString() << QByteArray("{\\rtf1");
    QTest::addRow("dropped content reported")
        << QStringList{QStringLiteral("%1/notes.rtf"), QStringLiteral("%1/out.txt")} << 0
        << QStringLiteral("quillet-convert: %1/notes.rtf: not converted: 1 footnote\n")
        << QByteArray("Body");
    QTest::addRow("missing input")
        << QStringList{QStringLiteral("%1/none.rtf"), QStringLiteral("%1/out.txt")} << 1
        << QStringLiteral("quillet-convert: %1/none.rtf: No such file\n") << QByteArray();
    QTest::addRow("unwritable output")
        << QStringList{rtf, QStringLiteral("%1/missing/out.txt")} << 3
        << QStringLiteral(
               "quillet-convert: %1/missing/out.txt: cannot write: Failed to Save Stream\n")
        << QByteArray();
    QTest::addRow("output is a folder")
        << QStringList{rtf, QStringLiteral("%1")} << 3
        << QStringLiteral("quillet-convert: %1: Is a folder\n") << QByteArray();
    QTest::addRow("one argument") << QStringList{rtf} << 2 << QString() << QByteArray();
    QTest::addRow("help") << QStringList{QStringLiteral("--help")} << 0 << QString()
                          << QByteArray();
}

void tst_RtfDocumentIo::convert() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("in.rtf")),
                      "{\\rtf1\\ansi Hello \\'e9t\\'e9\\par second\\par}"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("in.txt")), "plain {text}\n"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("notes.rtf")),
                      "{\\rtf1 Body{\\footnote the note}\\par}"));
    for (QString &argument : arguments)
        argument = argument.arg(dir.path());
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RtfConvert::run(arguments, err, false), exitCode);
    err.flush();
    if (!message.isEmpty())
        QCOMPARE(errors, message.arg(dir.path()));
    else if (exitCode == RtfConvert::Usage || arguments.value(0) == QLatin1String("--help"))
        QVERIFY(errors.contains(QLatin1String("usage: quillet-convert IN OUT")));
    else
        QCOMPARE(errors, QString());
    if (!output.isEmpty())
        QVERIFY(readFile(arguments[1]).startsWith(output));
}

// The real program: exit status and messages as a shell sees them.
void tst_RtfDocumentIo::convertExecutable() {
    const QString program = QStringLiteral(QUILLET_BINARY_DIR "/src/app/quillet-convert");
    if (!QFile::exists(program))
        QSKIP("quillet-convert is not built in this tree");
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.rtf"));
    QVERIFY(writeFile(in, "{\\rtf1 converted\\par}"));
    QProcess process;
    process.start(program, {in, dir.filePath(QStringLiteral("a.txt"))});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(readFile(dir.filePath(QStringLiteral("a.txt"))), QByteArray("converted"));
    process.start(program, {dir.filePath(QStringLiteral("none.rtf")), in});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("none.rtf: No such file"));
}

// Files above the size limit report their progress on a terminal, as one line rewritten in
// place; smaller ones convert silently.
void tst_RtfDocumentIo::convertShowsProgress() {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("big.txt"));
    QVERIFY(writeFile(in, QByteArray("A line of plain text that repeats.\n").repeated(100)));
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RtfConvert::run({in, dir.filePath(QStringLiteral("big.rtf"))}, err, true, 1000),
             int(RtfConvert::Success));
    QCOMPARE(RtfConvert::run({in, dir.filePath(QStringLiteral("quiet.rtf"))}, err, true, 10000),
             int(RtfConvert::Success));
    err.flush();
    QVERIFY2(
        errors.endsWith(
            QStringLiteral("\rWriting %1: 100%\n").arg(dir.filePath(QStringLiteral("big.rtf")))),
        qPrintable(errors.right(200)));
    QVERIFY(errors.contains(QStringLiteral("\rReading %1: 100%\n").arg(in)));
}

QUILLET_TEST_MAIN(tst_RtfDocumentIo)
#include "tst_rtfdocumentio.moc"
