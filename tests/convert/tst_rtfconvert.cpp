#include "convert/rtfconvert.h"
#include "testenvironment.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
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

} // namespace

// The headless converter "quillet-convert IN OUT": its work, exit codes and messages.
class tst_RtfConvert : public QObject {
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void convertExecutable();
    void convertShowsProgress();
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

QUILLET_TEST_MAIN(tst_RtfConvert)
#include "tst_rtfconvert.moc"
