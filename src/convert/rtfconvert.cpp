#include "convert/rtfconvert.h"

#include "convert/converterdiscovery.h"
#include "convert/textconverters.h"
#include "plaintext/plaintextrtf.h"
#include "platform/savefile.h"
#include "platform/settingsstore.h"
#include "platform/usererror.h"
#include "print/documentprintable.h"
#include "print/qtprinterdevice.h"
#include "print/richprinter.h"
#include "richtext/rtf/documentio.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <cmath>
#include <optional>

namespace {

const QString program = QStringLiteral("quillet-convert");

QString usage() {
    return QStringLiteral("usage: %1 [--paper letter|a4] [--margins MM] IN OUT\n"
                          "Converts between rich text (.rtf) and plain text (.txt): IN is read "
                          "by its extension, OUT is written by its extension (.pdf prints the "
                          "pages with the editor's header and footer, the formats of the "
                          "registered converters (.docx, .odt, ...) are written through them, "
                          "other extensions mean rich text). IN is read by its extension too, "
                          "through a registered converter where one takes it.\n"
                          "  --paper letter|a4  paper of a .pdf output (default a4)\n"
                          "  --margins MM       all four page margins of a .pdf output, in "
                          "millimetres (default: the editor's)")
        .arg(program);
}

// Options of a PDF output.
struct PageOptions {
    QPageSize::PageSizeId paper = QPageSize::A4;
    std::optional<double> margins;
    bool given = false;
};

// Prints the document as the editor would, into a PDF written atomically at `path`.
void printPdf(const QTextDocument &document, const QString &path, const PageOptions &options) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        auto device = std::make_unique<QtPrinterDevice>(pdf, 600);
        QPdfWriter &writer = *device->pdfWriter();
        writer.setPageSize(QPageSize(options.paper));
        // A PDF has no unprintable edge.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        TRichPrinter printer(std::move(device));
        printer.UseEditorSettings();
        printer.SetShowProgress(false);
        if (options.margins) {
            printer.SetMarginTop(*options.margins);
            printer.SetMarginBottom(*options.margins);
            printer.SetMarginLeft(*options.margins);
            printer.SetMarginRight(*options.margins);
        }
        DocumentPrintable text(document);
        printer.PrintRichEdit(text, 1);
    }
    if (const auto failure = saveFileAtomically(path, pdf.data()))
        throw UserError(*failure);
}

// "Reading in.rtf: 42%", rewritten in place on a terminal.
ProgressCallback progressLine(QTextStream &err, const QString &verb, const QString &name) {
    auto lastPercent = std::make_shared<int>(-1);
    return [&err, verb, name, lastPercent](qint64 done, qint64 total) {
        if (total <= 0)
            return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == *lastPercent)
            return;
        *lastPercent = percent;
        err << '\r' << verb << ' ' << name << ": " << percent << '%';
        if (percent >= 100)
            err << '\n';
        err.flush();
    };
}

// Plain text in and plain text or RTF out need no document: the text is decoded once and written
// line by line, so that millions of lines cost little more than the text itself. Answers the
// exit code.
int convertPlainText(const QString &in, const QString &out, QTextStream &err, bool large) {
    QByteArray bytes;
    {
        QFile file(in);
        if (!file.open(QIODevice::ReadOnly)) {
            err << program << ": " << in << ": cannot read: Failed to Load Stream\n";
            return RtfConvert::InputFailed;
        }
        const ProgressCallback reading =
            large ? progressLine(err, QStringLiteral("Reading"), in) : ProgressCallback();
        if (reading)
            reading(0, file.size());
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            err << program << ": " << in << ": cannot read: Failed to Load Stream\n";
            return RtfConvert::InputFailed;
        }
        if (reading)
            reading(bytes.size(), bytes.size());
    }
    const TextFormat format = detectPlainTextFormat(bytes);
    const QString text = decodePlainText(bytes, format);
    bytes = QByteArray();
    const ProgressCallback writing =
        large ? progressLine(err, QStringLiteral("Writing"), out) : ProgressCallback();
    std::optional<QString> failure;
    if (streamFormatForFileName(out) == StreamFormat::PlainText) {
        failure = saveFileAtomically(out, encodePlainText(text, format, true));
    } else {
        // The font a new document has, as the RTF of a loaded document names it.
        const QFont font = QTextDocument().defaultFont();
        const PlainTextRtf rtf(font.family(), font.pointSizeF() > 0 ? font.pointSizeF() : 12);
        qsizetype start = 0;
        bool headerDone = false;
        bool done = false;
        failure = saveFileAtomically(out, [&]() -> QByteArray {
            if (!headerDone) {
                headerDone = true;
                return rtf.header();
            }
            if (done)
                return {};
            // About a megabyte of paragraphs at a time.
            QByteArray piece;
            while (piece.size() < (1 << 20)) {
                qsizetype end = text.indexOf(QLatin1Char('\n'), start);
                if (end < 0)
                    end = text.size();
                rtf.appendParagraph(piece, QStringView(text).mid(start, end - start));
                start = end + 1;
                if (end == text.size()) {
                    done = true;
                    piece.append(PlainTextRtf::footer());
                    break;
                }
            }
            if (writing)
                writing(std::min(start, text.size()), text.size());
            return piece;
        });
    }
    if (failure) {
        err << program << ": " << out << ": cannot write: Failed to Save Stream\n";
        return RtfConvert::OutputFailed;
    }
    if (writing)
        writing(1, 1);
    return RtfConvert::Success;
}

} // namespace

namespace RtfConvert {

int run(const QStringList &arguments, QTextStream &err, bool showProgress, qint64 largeFile) {
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("-h") || arguments[0] == QLatin1String("--help"))) {
        err << usage() << '\n';
        return Success;
    }
    PageOptions page;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool isPaper = argument == QLatin1String("--paper");
        const bool isMargins = argument == QLatin1String("--margins");
        if (!isPaper && !isMargins) {
            files << argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            err << program << ": " << argument << " needs a value\n" << usage() << '\n';
            return Usage;
        }
        const QString value = arguments[++i];
        page.given = true;
        if (isPaper) {
            if (value.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0) {
                page.paper = QPageSize::A4;
            } else if (value.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0) {
                page.paper = QPageSize::Letter;
            } else {
                err << program << ": --paper must be letter or a4, not " << value << '\n';
                return Usage;
            }
        } else {
            bool ok = false;
            const double margins = value.toDouble(&ok);
            if (!ok || margins < 0 || !std::isfinite(margins)) {
                err << program << ": --margins needs a number of millimetres, not " << value
                    << '\n';
                return Usage;
            }
            page.margins = margins;
        }
    }
    if (files.size() != 2) {
        err << program << ": expected an input and an output file\n" << usage() << '\n';
        return Usage;
    }
    const QString in = files[0];
    const QString out = files[1];
    const bool toPdf =
        QFileInfo(out).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    if (page.given && !toPdf) {
        err << program << ": --paper and --margins apply to a .pdf output only\n";
        return Usage;
    }
    const QFileInfo inInfo(in);
    if (!inInfo.exists()) {
        err << program << ": " << in << ": No such file\n";
        return InputFailed;
    }
    if (inInfo.isDir()) {
        err << program << ": " << in << ": Is a folder\n";
        return InputFailed;
    }
    if (QFileInfo(out).isDir()) {
        err << program << ": " << out << ": Is a folder\n";
        return OutputFailed;
    }
    const bool large = showProgress && inInfo.size() > largeFile;

    // Formats of the registered converters go through them, the others are read here.
    const SettingsStore machine(SettingsStore::machineStorePath(), SettingsStore::Access::ReadOnly);
    const QString importer = Convert::converterForFile(machine, Convert::Direction::Import, in);
    const QString exporter = Convert::converterForFile(machine, Convert::Direction::Export, out);
    if (importer.isEmpty() && exporter.isEmpty() && !toPdf &&
        resolveStreamFormat(streamFormatForFileName(in), false) == StreamFormat::PlainText)
        return convertPlainText(in, out, err, large);

    QTextDocument document;
    QString converterFile = in;
    Convert::TextConverters converters(
        SettingsStore::machineStorePath(), [&err, &converterFile](const QString &message) {
            err << program << ": " << converterFile << ": " << message << '\n';
        });
    if (!importer.isEmpty()) {
        const std::optional<QByteArray> rtf = converters.importRtf(in, importer);
        if (!rtf || !readRtf(*rtf, document).ok()) {
            err << program << ": " << in << ": cannot read: "
                << (rtf ? QStringLiteral("the converter's RTF is damaged") : converters.failure())
                << '\n';
            return InputFailed;
        }
    } else {
        try {
            const LoadOutcome outcome = loadDocumentFile(
                in, document, false,
                large ? progressLine(err, QStringLiteral("Reading"), in) : ProgressCallback());
            // What the document keeps without showing it goes to RTF only.
            RtfDroppedContent lost = outcome.dropped;
            if (streamFormatForFileName(out) == StreamFormat::PlainText)
                lost += outcome.kept;
            for (const QString &line : lost.describe())
                err << program << ": " << in << ": not converted: " << line << '\n';
        } catch (const UserError &error) {
            err << program << ": " << in << ": cannot read: " << error.text() << '\n';
            return InputFailed;
        }
    }
    if (!exporter.isEmpty()) {
        converterFile = out;
        if (!converters.exportRtf(out, exporter, rtfFromDocument(document))) {
            err << program << ": " << out << ": cannot write: " << converters.failure() << '\n';
            return OutputFailed;
        }
        return Success;
    }
    if (toPdf) {
        try {
            printPdf(document, out, page);
        } catch (const UserError &error) {
            err << program << ": " << out << ": cannot write: " << error.text() << '\n';
            return OutputFailed;
        }
        return Success;
    }
    try {
        saveDocumentFile(document, out, false,
                         large ? progressLine(err, QStringLiteral("Writing"), out)
                               : ProgressCallback());
    } catch (const UserError &error) {
        err << program << ": " << out << ": cannot write: " << error.text() << '\n';
        return OutputFailed;
    }
    return Success;
}

} // namespace RtfConvert
