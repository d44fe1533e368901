#include "convert/textconverters.h"
#include "machinestorefixture.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <dlfcn.h>

using Convert::Direction;
using Convert::TextConverters;

namespace {

const QString Name = QStringLiteral("Test Format");
const QString InitFailed = QStringLiteral("Please report: InitConverter failed");
const QString WrongFormat = QStringLiteral("Not the correct file format");
const QString CannotExport = QStringLiteral("Coult not export document");
const QByteArray SmallRtf = "{\\rtf1\\ansi Hello {\\b bold} world\\par}";

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool isLoaded(const QString &path) {
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

} // namespace

// Import and export through a converter library: its entry points, the callbacks and the
// messages of every failure.
class tst_TextConverters : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        m_machine.reset(new MachineStoreFixture);
        m_log = m_dir->filePath(QStringLiteral("log.txt"));
        m_messages.clear();
        for (const char *name : {"QUILLET_TESTCONV_INIT", "QUILLET_TESTCONV_FORMAT",
                                 "QUILLET_TESTCONV_RESULT", "QUILLET_TESTCONV_DISCARD"})
            qunsetenv(name);
        qputenv("QUILLET_TESTCONV_LOG", QFile::encodeName(m_log));
        m_converters.reset(new TextConverters(
            m_machine->path(), [this](const QString &text) { m_messages.append(text); }));
    }
    void cleanup() {
        m_converters.reset();
        qunsetenv("QUILLET_TESTCONV_LOG");
    }

    void importLoadsTheConvertedRtf();
    void importInTextModeShowsTheSource();
    void importGrowsPastTheFirstStream();
    void importFailures_data();
    void importFailures();
    void exportChunks_data();
    void exportChunks();
    void exportWithAnUnlockableBufferAnswersNoMemory();
    void exportFailures_data();
    void exportFailures();
    void lastRegistrationWins();
    void secondImportReleasesTheFirstLibrary();
    void releaseUnloads();

private:
    QStringList logLines() const {
        return QString::fromUtf8(readBytes(m_log)).split('\n', Qt::SkipEmptyParts);
    }
    QString source(const QByteArray &bytes) {
        const QString path = m_dir->filePath(QStringLiteral("in.tst"));
        writeBytes(path, bytes);
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MachineStoreFixture> m_machine;
    std::unique_ptr<TextConverters> m_converters;
    QStringList m_messages;
    QString m_log;
};

void tst_TextConverters::importLoadsTheConvertedRtf() {
    m_machine->add(Direction::Import, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    TRxRichEdit editor;
    editor.SetText(QStringLiteral("before"));
    const QString file = source(SmallRtf);
    QVERIFY(m_converters->ImportWithConverter(file, Name, editor));
    QCOMPARE(editor.Text(), QStringLiteral("Hello bold world"));
    QVERIFY(m_messages.isEmpty());
    QVERIFY(m_converters->failure().isEmpty());
    const QStringList log = logLines();
    // The module is the program's path in upper case; no storage and an empty class name.
    QCOMPARE(log.value(0),
             QStringLiteral("init 0 ") + QCoreApplication::applicationFilePath().toUpper());
    QCOMPARE(log.value(1), QStringLiteral("format 0 ") + file);
    QCOMPARE(log.value(2), QStringLiteral("import 0 ") + file);
    QCOMPARE(log.value(3), QStringLiteral("out %1 ").arg(SmallRtf.size()));
}

void tst_TextConverters::importInTextModeShowsTheSource() {
    m_machine->add(Direction::Import, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    TRxRichEdit editor;
    editor.SetPlainText(true);
    QVERIFY(m_converters->ImportWithConverter(source(SmallRtf), Name, editor));
    QCOMPARE(editor.Text(), QString::fromLatin1(SmallRtf));
}

void tst_TextConverters::importGrowsPastTheFirstStream() {
    m_machine->add(Direction::Import, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    QByteArray big = "{\\rtf1 ";
    while (big.size() < 3 * TextConverters::InitialStreamSize + 17)
        big += "Some text that fills the stream. ";
    big += "}";
    const auto rtf = m_converters->importRtf(source(big), Name);
    QVERIFY(rtf);
    QCOMPARE(*rtf, big);
    // Exactly the stream's size, then one byte more.
    QCOMPARE(
        m_converters->importRtf(source(big.left(TextConverters::InitialStreamSize)), Name)->size(),
        TextConverters::InitialStreamSize);
    QCOMPARE(m_converters->importRtf(source(big.left(TextConverters::InitialStreamSize + 1)), Name)
                 ->size(),
             TextConverters::InitialStreamSize + 1);
}

void tst_TextConverters::importFailures_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("messages");

    const QString full = QStringLiteral(QUILLET_TESTCONVERTER_FULL);
    QTest::addRow("library missing")
        << QStringLiteral("/nonexistent/conv.so") << QByteArray() << QByteArray() << QStringList();
    QTest::addRow("init answers 0") << full << QByteArray("QUILLET_TESTCONV_INIT")
                                    << QByteArray("0") << QStringList{InitFailed, WrongFormat};
    QTest::addRow("init absent") << QStringLiteral(QUILLET_TESTCONVERTER_NOINIT) << QByteArray()
                                 << QByteArray() << QStringList{InitFailed, WrongFormat};
    QTest::addRow("format answers 0") << full << QByteArray("QUILLET_TESTCONV_FORMAT")
                                      << QByteArray("0") << QStringList{WrongFormat};
    QTest::addRow("format test absent") << QStringLiteral(QUILLET_TESTCONVERTER_NOFORMAT)
                                        << QByteArray() << QByteArray() << QStringList{WrongFormat};
    QTest::addRow("conversion answers 3")
        << full << QByteArray("QUILLET_TESTCONV_RESULT") << QByteArray("3") << QStringList();
    QTest::addRow("conversion absent") << QStringLiteral(QUILLET_TESTCONVERTER_NOIMPORT)
                                       << QByteArray() << QByteArray() << QStringList();
}

void tst_TextConverters::importFailures() {
    QFETCH(QString, library);
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(QStringList, messages);
    m_machine->add(Direction::Import, QStringLiteral("t"), Name, QStringLiteral("tst"), library);
    if (!variable.isEmpty())
        qputenv(variable.constData(), value);
    TRxRichEdit editor;
    editor.SetText(QStringLiteral("unchanged"));
    editor.SetModified(true);
    QVERIFY(!m_converters->ImportWithConverter(source(SmallRtf), Name, editor));
    QCOMPARE(m_messages, messages);
    QCOMPARE(editor.Text(), QStringLiteral("unchanged"));
    QVERIFY(editor.Modified());
    QVERIFY(!m_converters->failure().isEmpty());
}

void tst_TextConverters::exportChunks_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("chunks");
    QTest::addRow("4096") << 4096 << QStringList{"in 4096 ", "in 0 "};
    QTest::addRow("4097") << 4097 << QStringList{"in 4096 ", "in 1 ", "in 0 "};
    QTest::addRow("empty") << 0 << QStringList{"in 0 "};
}

void tst_TextConverters::exportChunks() {
    QFETCH(int, size);
    QFETCH(QStringList, chunks);
    m_machine->add(Direction::Export, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    QByteArray rtf(size, 'x');
    for (int i = 0; i < size; ++i)
        rtf[i] = char('a' + i % 26);
    const QString target = m_dir->filePath(QStringLiteral("out.tst"));
    QVERIFY(m_converters->exportRtf(target, Name, rtf));
    QCOMPARE(readBytes(target), rtf);
    const QStringList log = logLines();
    QCOMPARE(log.mid(2), chunks);
    QVERIFY(m_messages.isEmpty());
}

void tst_TextConverters::exportWithAnUnlockableBufferAnswersNoMemory() {
    m_machine->add(Direction::Export, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    qputenv("QUILLET_TESTCONV_DISCARD", "1");
    const QString target = m_dir->filePath(QStringLiteral("out.tst"));
    writeBytes(target, "old");
    QVERIFY(!m_converters->exportRtf(target, Name, SmallRtf));
    QCOMPARE(logLines().mid(2), QStringList{QStringLiteral("in -8 ")});
    QCOMPARE(readBytes(target), QByteArray("old"));
}

void tst_TextConverters::exportFailures_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QStringList>("messages");
    const QString full = QStringLiteral(QUILLET_TESTCONVERTER_FULL);
    QTest::addRow("library missing")
        << QStringLiteral("/nonexistent/conv.so") << QByteArray() << QStringList();
    QTest::addRow("init answers 0")
        << full << QByteArray("QUILLET_TESTCONV_INIT") << QStringList{InitFailed};
    QTest::addRow("init absent") << QStringLiteral(QUILLET_TESTCONVERTER_NOINIT) << QByteArray()
                                 << QStringList{InitFailed};
    QTest::addRow("conversion absent") << QStringLiteral(QUILLET_TESTCONVERTER_NOEXPORT)
                                       << QByteArray() << QStringList{CannotExport};
    QTest::addRow("conversion answers 3")
        << full << QByteArray("QUILLET_TESTCONV_RESULT") << QStringList();
    // The export has no format test.
    QTest::addRow("format test absent is fine")
        << QStringLiteral(QUILLET_TESTCONVERTER_NOFORMAT) << QByteArray() << QStringList();
}

void tst_TextConverters::exportFailures() {
    QFETCH(QString, library);
    QFETCH(QByteArray, variable);
    QFETCH(QStringList, messages);
    m_machine->add(Direction::Export, QStringLiteral("t"), Name, QStringLiteral("tst"), library);
    if (!variable.isEmpty())
        qputenv(variable.constData(), variable.endsWith("RESULT") ? "3" : "0");
    const QString target = m_dir->filePath(QStringLiteral("out.tst"));
    writeBytes(target, "old");
    const bool succeeds = QTest::currentDataTag() == QByteArray("format test absent is fine");
    QCOMPARE(m_converters->exportRtf(target, Name, SmallRtf), succeeds);
    QCOMPARE(m_messages, messages);
    // A failed export leaves the file as it was.
    QCOMPARE(readBytes(target), succeeds ? SmallRtf : QByteArray("old"));
}

void tst_TextConverters::lastRegistrationWins() {
    m_machine->add(Direction::Import, QStringLiteral("a"), Name, QStringLiteral("tst"),
                   QStringLiteral("/nonexistent/first.so"));
    m_machine->add(Direction::Import, QStringLiteral("b"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    m_machine->add(Direction::Import, QStringLiteral("c"), QStringLiteral("test format"),
                   QStringLiteral("tst"), QStringLiteral("/nonexistent/case.so"));
    QCOMPARE(m_converters->converterPath(Name, Direction::Import),
             QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    QVERIFY(m_converters->importRtf(source(SmallRtf), Name));
}

void tst_TextConverters::secondImportReleasesTheFirstLibrary() {
    const QString copy = m_dir->filePath(QStringLiteral("second.so"));
    QVERIFY(QFile::copy(QStringLiteral(QUILLET_TESTCONVERTER_FULL), copy));
    m_machine->add(Direction::Import, QStringLiteral("a"), QStringLiteral("First"),
                   QStringLiteral("tst"), QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    m_machine->add(Direction::Import, QStringLiteral("b"), QStringLiteral("Second"),
                   QStringLiteral("tst"), copy);
    QVERIFY(m_converters->importRtf(source(SmallRtf), QStringLiteral("First")));
    QVERIFY(isLoaded(QStringLiteral(QUILLET_TESTCONVERTER_FULL)));
    QVERIFY(m_converters->importRtf(source(SmallRtf), QStringLiteral("Second")));
    QCOMPARE(m_converters->loadedPath(), copy);
    QVERIFY(isLoaded(copy));
    QVERIFY(!isLoaded(QStringLiteral(QUILLET_TESTCONVERTER_FULL)));
    // A name with no converter keeps the loaded library but uses none of it.
    QVERIFY(!m_converters->importRtf(source(SmallRtf), QStringLiteral("Unknown")));
    QCOMPARE(m_converters->loadedPath(), copy);
}

void tst_TextConverters::releaseUnloads() {
    m_machine->add(Direction::Import, QStringLiteral("t"), Name, QStringLiteral("tst"),
                   QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    QVERIFY(m_converters->importRtf(source(SmallRtf), Name));
    m_converters->ReleaseConverter();
    QVERIFY(m_converters->loadedPath().isEmpty());
    QVERIFY(!isLoaded(QStringLiteral(QUILLET_TESTCONVERTER_FULL)));
}

QUILLET_TEST_MAIN(tst_TextConverters)
#include "tst_textconverters.moc"
