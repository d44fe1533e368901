#include "convert/rtfconvert.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextStream>
#include <fcntl.h>
#include <unistd.h>

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

} // namespace

// The headless converter "quillet-convert IN OUT": its work, exit codes and messages.
class tst_RtfConvert : public QObject {
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void convertExecutable();
    void convertShowsProgress();
    void plainTextGivesWhatTheDocumentGives_data();
    void plainTextGivesWhatTheDocumentGives();
};

void tst_RtfConvert::convert_data() {
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

void tst_RtfConvert::convert() {
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
        QVERIFY(errors.contains(
            QLatin1String("usage: quillet-convert [--paper letter|a4] [--margins MM] IN OUT")));
    else
        QCOMPARE(errors, QString());
    if (!output.isEmpty())
        QVERIFY(readFile(arguments[1]).startsWith(output));
}

// The real program: exit status and messages as a shell sees them.
void tst_RtfConvert::convertExecutable() {
    const QString program = QStringLiteral(QUILLET_CONVERT_EXECUTABLE);
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

    // A name that is not UTF-8 exists, but cannot be opened by its text: the reason is given.
    // The shell passes the name's bytes, which a QProcess argument cannot.
    const QByteArray latin1Name = QFile::encodeName(dir.path()) + "/latin1-\xe9.rtf";
    QVERIFY(::close(::open(latin1Name.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("exec \"$0\" \"$1\"$(printf '\\351').rtf out.txt"), program,
                   dir.filePath(QStringLiteral("latin1-"))});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QStringLiteral("quillet-convert: The file name \"%1\" is not valid UTF-8, so it "
                            "cannot be opened. Rename the file and open it again.\n")
                 .arg(QFile::decodeName(latin1Name)));
}

// Files above the size limit report their progress on a terminal, as one line rewritten in
// place; smaller ones convert silently.
void tst_RtfConvert::convertShowsProgress() {
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

void tst_RtfConvert::plainTextGivesWhatTheDocumentGives_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("LF") << QByteArray("one\ntwo\n");
    QTest::newRow("CR LF, no last break") << QByteArray("one\r\n\r\ntwo");
    QTest::newRow("bare CR") << QByteArray("\r\r\rx\r");
    QTest::newRow("mixed breaks") << QByteArray("a\rb\nc\r\nd");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 {\\}\n");
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x80 \x81\tend\r\n");
    QTest::newRow("NUL byte") << QByteArray("a\0b\n", 5);
    QTest::newRow("empty") << QByteArray();
}

// Plain text goes to text and RTF without a document; the bytes are those the document's way
// gives.
void tst_RtfConvert::plainTextGivesWhatTheDocumentGives() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    QVERIFY(writeFile(in, bytes));
    QTextDocument document;
    loadDocumentFile(in, document, false);
    for (const QString &name : {QStringLiteral("out.txt"), QStringLiteral("out.rtf")}) {
        const QString out = dir.filePath(name);
        const QString expected = dir.filePath(QStringLiteral("expected-") + name);
        QVERIFY(!writeDocumentFile(document, expected, false));
        QString errors;
        QTextStream err(&errors);
        QCOMPARE(RtfConvert::run({in, out}, err, false), int(RtfConvert::Success));
        QCOMPARE(errors, QString());
        QCOMPARE(readFile(out), readFile(expected));
    }
}

QUILLET_TEST_MAIN(tst_RtfConvert)
#include "tst_rtfconvert.moc"
