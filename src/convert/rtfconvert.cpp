#include "convert/rtfconvert.h"

#include "platform/usererror.h"
#include "richtext/rtf/documentio.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QTextStream>

namespace {

const QString program = QStringLiteral("quillet-convert");

QString usage() {
    return QStringLiteral("usage: %1 IN OUT\n"
                          "Converts between rich text (.rtf) and plain text (.txt): IN is read "
                          "by its extension, OUT is written by its extension (other extensions "
                          "mean rich text).")
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
