#include "convert/rtfconvert.h"

#include "convert/converterdiscovery.h"
#include "convert/textconverters.h"
#include "platform/settingsstore.h"
#include "platform/usererror.h"
#include "richtext/documentio.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QTextStream>

namespace {

const QString program = QStringLiteral("quillet-convert");

QString usage() {
    return QStringLiteral("usage: %1 IN OUT\n"
                          "Converts between rich text (.rtf) and plain text (.txt): IN is read "
                          "by its extension, OUT is written by its extension (other extensions "
                          "mean rich text). The formats of the registered converters (.docx, "
                          ".odt, ...) are read and written through them.")
        .arg(program);
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

} // namespace

namespace RtfConvert {

int run(const QStringList &arguments, QTextStream &err, bool showProgress, qint64 largeFile) {
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("-h") || arguments[0] == QLatin1String("--help"))) {
        err << usage() << '\n';
        return Success;
    }
    if (arguments.size() != 2) {
        err << program << ": expected an input and an output file\n" << usage() << '\n';
        return Usage;
    }
    const QString in = arguments[0];
    const QString out = arguments[1];
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

    QTextDocument document;
    // Formats of the registered converters go through them, the others are read here.
    const SettingsStore machine(SettingsStore::machineStorePath(), SettingsStore::Access::ReadOnly);
    QString converterFile = in;
    Convert::TextConverters converters(
        SettingsStore::machineStorePath(), [&err, &converterFile](const QString &message) {
            err << program << ": " << converterFile << ": " << message << '\n';
        });
    if (const QString importer = Convert::converterForFile(machine, Convert::Direction::Import, in);
        !importer.isEmpty()) {
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
            for (const QString &line : outcome.dropped.describe())
                err << program << ": " << in << ": not converted: " << line << '\n';
        } catch (const UserError &error) {
            err << program << ": " << in << ": cannot read: " << error.text() << '\n';
            return InputFailed;
        }
    }
    if (const QString exporter =
            Convert::converterForFile(machine, Convert::Direction::Export, out);
        !exporter.isEmpty()) {
        converterFile = out;
        if (!converters.exportRtf(out, exporter, rtfFromDocument(document))) {
            err << program << ": " << out << ": cannot write: " << converters.failure() << '\n';
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
