// Importing a .docx of about 1 MB (about 100 pages with formatting, lists, tables and photos)
// into the editing area and exporting it again, through the project's converter: in the helper
// process the editor uses, and in this process for comparison. Prints medians of five runs in
// milliseconds: wall time, and processor time (this process and its helpers), which stays
// meaningful on a machine busy with other work.
#include "benchsupport.h"
#include "convert/converterdiscovery.h"
#include "convert/isolatedconverters.h"
#include "convert/office/officedocument.h"
#include "convert/textconverters.h"
#include "platform/settingsstore.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rxrichedit.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Processor time of this process and of its ended children, in milliseconds.
double processorTime() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
                 usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    }
    return total;
}

struct Timing {
    std::vector<double> wall, processor;
    void measure(const std::function<void()> &work) {
        const double before = processorTime();
        wall.push_back(BenchSupport::timed(work));
        processor.push_back(processorTime() - before);
    }
    void print(const char *what) const {
        std::printf("%-48s %6.0f ms wall, %6.0f ms processor\n", what, BenchSupport::median(wall),
                    BenchSupport::median(processor));
    }
};

const QString Name = QStringLiteral("Office Open XML Document");

// A photo-like picture that compresses as photos do.
QImage photo(int seed) {
    QImage image(640, 480, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x + seed * 40) % 256, (y * 2) % 256, rng.bounded(256)));
    return image;
}

void buildDocument(QTextDocument &document) {
    QTextCursor cursor(&document);
    const QString text = BenchSupport::prose(360000);
    const QStringList paragraphs = text.split(QStringLiteral("\r\n"));
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    italic.setForeground(QColor(0, 0, 160));
    int picture = 0;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const QString &p = paragraphs[i];
        if (i > 0)
            cursor.insertBlock();
        if (i % 40 == 5) {
            QTextListFormat list;
            list.setStyle(i % 80 == 5 ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
            cursor.createList(list);
        }
        const qsizetype third = p.size() / 3;
        cursor.insertText(p.left(third), plain);
        cursor.insertText(p.mid(third, third), i % 2 ? bold : italic);
        cursor.insertText(p.mid(2 * third), plain);
        if (i % 120 == 60) {
            QTextTable *table = cursor.insertTable(4, 3);
            for (int c = 0; c < 12; ++c)
                table->cellAt(c / 3, c % 3)
                    .firstCursorPosition()
                    .insertText(QStringLiteral("Cell %1").arg(c));
            cursor.movePosition(QTextCursor::End);
        }
        if (i % 250 == 100 && picture < 12) {
            const QString name = QStringLiteral("bench:photo%1").arg(picture);
            const QImage shot = photo(picture++);
            document.addResource(QTextDocument::ImageResource, QUrl(name), shot);
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            shot.save(&buffer, "JPEG", 80);
            QTextImageFormat image;
            image.setName(name);
            image.setProperty(RtfFormatProperty::PictureData, jpeg);
            image.setProperty(RtfFormatProperty::PictureKindProperty, int(PictureKind::Jpeg));
            image.setWidth(320);
            image.setHeight(240);
            cursor.insertImage(image);
        }
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    qputenv("QUILLET_MACHINE_STORE", dir.filePath(QStringLiteral("machine.reg")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        SettingsStore store(SettingsStore::machineStorePath(), SettingsStore::Access::ReadWrite);
        for (auto direction : {Convert::Direction::Import, Convert::Direction::Export}) {
            const QString key = Convert::directionKey(direction) + QStringLiteral("\\Docx");
            store.writeString(key, QStringLiteral("Name"), Name);
            store.writeString(key, QStringLiteral("Extensions"), QStringLiteral("docx"));
            store.writeString(key, QStringLiteral("Path"),
                              QStringLiteral(QUILLET_OFFICE_CONVERTER));
        }
    }
    const QString source = dir.filePath(QStringLiteral("book.docx"));
    {
        QTextDocument document;
        buildDocument(document);
        const auto bytes = OfficeDocument::write(document, OfficeDocument::Format::Docx);
        QFile file(source);
        if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size())
            return 1;
        std::printf("source: %.2f MB .docx, %d paragraphs\n", double(bytes->size()) / 1e6,
                    document.blockCount());
    }

    auto ignore = [](const QString &) {};
    Convert::IsolatedConverters isolated(QStringLiteral(QUILLET_CONVERTER_HOST), ignore);
    Convert::TextConverters inProcess(SettingsStore::machineStorePath(), ignore);
    TRxRichEdit editor;
    editor.resize(800, 600);
    Timing helperImport, helperExport, localImport, localExport;
    for (int run = 0; run < 5; ++run) {
        helperImport.measure([&] { isolated.ImportWithConverter(source, Name, editor); });
        helperExport.measure([&] {
            isolated.ExportWithConverter(dir.filePath(QStringLiteral("out1.docx")), Name, editor);
        });
        localImport.measure([&] { inProcess.ImportWithConverter(source, Name, editor); });
        localExport.measure([&] {
            inProcess.ExportWithConverter(dir.filePath(QStringLiteral("out2.docx")), Name, editor);
        });
    }
    std::printf("editing area holds %d characters\n", editor.TextLength());
    helperImport.print("import into the editing area, helper process:");
    helperExport.print("export from the editing area, helper process:");
    localImport.print("import into the editing area, in process:");
    localExport.print("export from the editing area, in process:");
    return 0;
}
