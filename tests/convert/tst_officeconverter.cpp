#include "convert/office/officedocument.h"
#include "convert/office/zippackage.h"
#include "convert/textconverters.h"
#include "machinestorefixture.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rtf/richtextformat.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

using Convert::Direction;

namespace {

const QString DocxName = QStringLiteral("Office Open XML Document");
const QString OdtName = QStringLiteral("OpenDocument Text");

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray pngPicture() {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The fixture folder as a container, "mimetype" first and stored, with the picture added.
QByteArray containerOf(const QString &folder, const QString &picturePart) {
    ZipWriter zip;
    if (QFile::exists(folder + QStringLiteral("/mimetype")))
        zip.add(QStringLiteral("mimetype"), readBytes(folder + QStringLiteral("/mimetype")), true);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (name != QLatin1String("mimetype"))
            zip.add(name, readBytes(path));
    }
    zip.add(picturePart, pngPicture(), true);
    return zip.finish().value_or(QByteArray());
}

QString fixtureFolder(const QString &format) {
    return QStringLiteral(QUILLET_TEST_DATA "/office/features.") + format;
}

QTextCursor find(const QTextDocument &document, const QString &text) {
    return document.find(text, 0, QTextDocument::FindCaseSensitively);
}

// The format of the characters of `text` where it first occurs.
QTextCharFormat formatOf(const QTextDocument &document, const QString &text) {
    QTextCursor cursor = find(document, text);
    if (cursor.isNull())
        return {};
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.charFormat();
}

QTextBlock blockOf(const QTextDocument &document, const QString &text) {
    const QTextCursor cursor = find(document, text);
    return cursor.isNull() ? QTextBlock() : cursor.block();
}

bool near(double a, double b) {
    return qAbs(a - b) < 0.6;
}

} // namespace

// The project's .docx and .odt converter: files with every kept feature, read directly and
// through the converter library, written and read back, and damaged containers.
class tst_OfficeConverter : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_machine = std::make_unique<MachineStoreFixture>();
        for (Direction direction : {Direction::Import, Direction::Export}) {
            m_machine->add(direction, QStringLiteral("QuilletOfficeDocx"), DocxName,
                           QStringLiteral("docx"), QStringLiteral(QUILLET_OFFICE_CONVERTER));
            m_machine->add(direction, QStringLiteral("QuilletOfficeOdt"), OdtName,
                           QStringLiteral("odt"), QStringLiteral(QUILLET_OFFICE_CONVERTER));
        }
        m_messages.clear();
        m_converters = std::make_unique<Convert::TextConverters>(
            m_machine->path(), [this](const QString &text) { m_messages.append(text); });
    }
    void cleanup() { m_converters.reset(); }

    void importKeepsTheFeatures_data();
    void importKeepsTheFeatures();
    void exportReadsBack_data();
    void exportReadsBack();
    void damagedFilesFailCleanly_data();
    void damagedFilesFailCleanly();
    void exportReadsInLibreOffice_data();
    void exportReadsInLibreOffice();

private:
    QString fixture(const QString &format) {
        const QString path = m_dir->filePath(QStringLiteral("features.") + format);
        writeBytes(path,
                   containerOf(fixtureFolder(format), format == QLatin1String("docx")
                                                          ? QStringLiteral("word/media/image1.png")
                                                          : QStringLiteral("Pictures/image1.png")));
        return path;
    }
    // The file read the way the editor gets it: through the converter library as RTF.
    bool importThroughConverter(const QString &file, const QString &name, QTextDocument &document) {
        const auto rtf = m_converters->importRtf(file, name);
        return rtf && readRtf(*rtf, document).ok();
    }
    // Qt's ODF writer keeps neither the double underline (it writes a single one) nor the shading
    // of table cells.
    void checkFeatures(const QTextDocument &document, bool writtenByQtOdf);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MachineStoreFixture> m_machine;
    std::unique_ptr<Convert::TextConverters> m_converters;
    QStringList m_messages;
};

void tst_OfficeConverter::checkFeatures(const QTextDocument &document, bool writtenByQtOdf) {
    const QString text = document.toPlainText();
    for (const QString &paragraph :
         {QStringLiteral("Title"),
          QStringLiteral("Plain italic double wave struck E=mc2 H2O code see the site\tend"),
          QStringLiteral("First bullet"), QStringLiteral("Nested bullet"),
          QStringLiteral("Step one"), QStringLiteral("Step two"), QStringLiteral("Before break"),
          QStringLiteral("After break"), QStringLiteral("Kept around the unknown")})
        QVERIFY2(blockOf(document, paragraph).text() == paragraph, qPrintable(paragraph));

    const QTextBlock title = blockOf(document, QStringLiteral("Title"));
    QCOMPARE(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QVERIFY(near(title.blockFormat().topMargin(), 16));
    QCOMPARE(formatOf(document, QStringLiteral("Title")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatOf(document, QStringLiteral("Title")).fontPointSize(), 16.0);

    const QTextBlock body = blockOf(document, QStringLiteral("Plain"));
    QCOMPARE(body.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    const RichTextFormat::ParagraphIndents indents =
        RichTextFormat::paragraphIndents(body.blockFormat());
    QVERIFY2(
        near(indents.first, 72) && near(indents.left, -24) && near(indents.right, 24),
        qPrintable(
            QStringLiteral("%1 %2 %3").arg(indents.first).arg(indents.left).arg(indents.right)));
    QVERIFY(formatOf(document, QStringLiteral("italic")).fontItalic());
    QVERIFY(!formatOf(document, QStringLiteral("Plain")).fontItalic());
    QCOMPARE(RichTextFormat::underlineType(formatOf(document, QStringLiteral("double"))),
             writtenByQtOdf ? int(RichTextFormat::utSolid) : int(RichTextFormat::utDouble));
    QCOMPARE(RichTextFormat::underlineType(formatOf(document, QStringLiteral("wave"))),
             int(RichTextFormat::utWave));
    QVERIFY(formatOf(document, QStringLiteral("struck")).fontStrikeOut());
    QCOMPARE(formatOf(document, QStringLiteral("2 H")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(document, QStringLiteral("2O")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    const QTextCharFormat code = formatOf(document, QStringLiteral("code"));
    QCOMPARE(code.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(code.fontPointSize(), 10.0);
    QCOMPARE(code.foreground().color(), QColor(255, 0, 0));
    QCOMPARE(code.background().color(), QColor(255, 255, 0));
    const QTextCharFormat link = formatOf(document, QStringLiteral("the site"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/"));

    const QTextBlock first = blockOf(document, QStringLiteral("First bullet"));
    const QTextBlock nested = blockOf(document, QStringLiteral("Nested bullet"));
    const QTextBlock one = blockOf(document, QStringLiteral("Step one"));
    const QTextBlock two = blockOf(document, QStringLiteral("Step two"));
    QVERIFY(first.textList() && nested.textList() && one.textList() && two.textList());
    QCOMPARE(first.textList()->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(first.textList()->format().indent(), 1);
    QCOMPARE(nested.textList()->format().indent(), 2);
    QCOMPARE(one.textList()->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(one.textList(), two.textList());
    QVERIFY(!blockOf(document, QStringLiteral("Title")).textList());

    QTextTable *table = find(document, QStringLiteral("A1")).currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("B2"));
    if (!writtenByQtOdf)
        QCOMPARE(table->cellAt(0, 0).format().background().color(), QColor(0xcc, 0xcc, 0xcc));

    const QTextBlock picture = blockOf(document, QStringLiteral("Picture:"));
    QCOMPARE(picture.text(), QStringLiteral("Picture: ") + QChar::ObjectReplacementCharacter +
                                 QStringLiteral(" after"));
    QTextCursor at(picture);
    at.setPosition(picture.position() + 10);
    const QTextImageFormat image = at.charFormat().toImageFormat();
    QVERIFY(image.isValid());
    QVERIFY2(near(image.width(), 40) && near(image.height(), 20),
             qPrintable(QStringLiteral("%1x%2").arg(image.width()).arg(image.height())));
    QCOMPARE(document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                 .value<QImage>()
                 .pixelColor(5, 5),
             QColor(Qt::red));

    QVERIFY(blockOf(document, QStringLiteral("After break")).blockFormat().pageBreakPolicy() &
            QTextFormat::PageBreak_AlwaysBefore);
    QVERIFY(!(blockOf(document, QStringLiteral("Before break")).blockFormat().pageBreakPolicy() &
              QTextFormat::PageBreak_AlwaysBefore));
    QVERIFY(!text.contains(QStringLiteral("unknown K")));
}

void tst_OfficeConverter::importKeepsTheFeatures_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("throughConverter");
    QTest::addRow("docx directly") << QStringLiteral("docx") << false;
    QTest::addRow("docx through the converter") << QStringLiteral("docx") << true;
    QTest::addRow("odt directly") << QStringLiteral("odt") << false;
    QTest::addRow("odt through the converter") << QStringLiteral("odt") << true;
}

void tst_OfficeConverter::importKeepsTheFeatures() {
    QFETCH(QString, format);
    QFETCH(bool, throughConverter);
    const QString file = fixture(format);
    QTextDocument document;
    if (throughConverter)
        QVERIFY(importThroughConverter(file, format == QLatin1String("docx") ? DocxName : OdtName,
                                       document));
    else
        QCOMPARE(OfficeDocument::read(file, document), std::nullopt);
    checkFeatures(document, false);
    QVERIFY(m_messages.isEmpty());
}

void tst_OfficeConverter::exportReadsBack_data() {
    QTest::addColumn<QString>("format");
    QTest::addRow("docx") << QStringLiteral("docx");
    QTest::addRow("odt") << QStringLiteral("odt");
}

void tst_OfficeConverter::exportReadsBack() {
    QFETCH(QString, format);
    QTextDocument source;
    QVERIFY(importThroughConverter(fixture(QStringLiteral("docx")), DocxName, source));
    const QString name = format == QLatin1String("docx") ? DocxName : OdtName;
    const QString target = m_dir->filePath(QStringLiteral("written.") + format);
    QVERIFY2(m_converters->exportRtf(target, name, rtfFromDocument(source)),
             qPrintable(m_converters->failure()));
    QCOMPARE(OfficeDocument::detect(target), format == QLatin1String("docx")
                                                 ? OfficeDocument::Format::Docx
                                                 : OfficeDocument::Format::Odt);
    QTextDocument back;
    QVERIFY(importThroughConverter(target, name, back));
    checkFeatures(back, format == QLatin1String("odt"));
}

void tst_OfficeConverter::damagedFilesFailCleanly_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("messages");
    const QByteArray good =
        containerOf(fixtureFolder(QStringLiteral("docx")), QStringLiteral("word/media/image1.png"));
    const QStringList wrongFormat{QStringLiteral("Not the correct file format")};
    QTest::addRow("empty") << QByteArray() << wrongFormat;
    QTest::addRow("not a zip") << QByteArray("{\\rtf1 plain rtf}") << wrongFormat;
    QTest::addRow("cut short") << good.left(good.size() / 2) << wrongFormat;
    QByteArray flipped = good;
    for (qsizetype i = 200; i < flipped.size() - 200; i += 97)
        flipped[i] = char(flipped[i] ^ 0x5a);
    QTest::addRow("bytes damaged") << flipped << wrongFormat;
    ZipWriter other;
    other.add(QStringLiteral("hello.txt"), "not a document");
    QTest::addRow("zip of something else") << other.finish().value_or(QByteArray()) << wrongFormat;
    ZipWriter broken;
    broken.add(QStringLiteral("word/document.xml"), "<w:document><w:body><w:p>");
    QTest::addRow("document part cut short")
        << broken.finish().value_or(QByteArray()) << QStringList();
}

void tst_OfficeConverter::damagedFilesFailCleanly() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, messages);
    const QString file = m_dir->filePath(QStringLiteral("damaged.docx"));
    QVERIFY(writeBytes(file, bytes));
    QVERIFY(!m_converters->importRtf(file, DocxName));
    QCOMPARE(m_messages, messages);
    QVERIFY(!m_converters->failure().isEmpty());
}

void tst_OfficeConverter::exportReadsInLibreOffice_data() {
    exportReadsBack_data();
}

void tst_OfficeConverter::exportReadsInLibreOffice() {
    QFETCH(QString, format);
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed here");
    QTextDocument source;
    QVERIFY(importThroughConverter(fixture(QStringLiteral("docx")), DocxName, source));
    const QString target = m_dir->filePath(QStringLiteral("written.") + format);
    QVERIFY(m_converters->exportRtf(target, format == QLatin1String("docx") ? DocxName : OdtName,
                                    rtfFromDocument(source)));
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.start(office, {QStringLiteral("-env:UserInstallation=file://") + m_dir->path() +
                               QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                           m_dir->filePath(QStringLiteral("lo")), target});
    QVERIFY(process.waitForFinished(120000));
    const QString text =
        QString::fromUtf8(readBytes(m_dir->filePath(QStringLiteral("lo/written.txt"))));
    for (const QString &paragraph :
         {QStringLiteral("Title"), QStringLiteral("Nested bullet"), QStringLiteral("B2"),
          QStringLiteral("Kept around the unknown")})
        QVERIFY2(text.contains(paragraph), qPrintable(text));
}

QUILLET_TEST_MAIN(tst_OfficeConverter)
#include "tst_officeconverter.moc"
