#include "convert/isolatedconverters.h"

#include "convert/converterhost.h"
#include "convert/textconverters.h"
#include "platform/busycursor.h"
#include "platform/savefile.h"
#include "richtext/richeditstrings.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <exception>

namespace Convert {

IsolatedConverters::IsolatedConverters(QString host, MessageSink message, int timeoutMs)
    : m_host(std::move(host))
    , m_message(std::move(message))
    , m_timeout(timeoutMs) {}

std::optional<QByteArray> IsolatedConverters::runHost(const QString &direction,
                                                      const QString &fileName,
                                                      const QString &displayName,
                                                      const QByteArray &input) {
    m_failure.clear();
    const BusyCursor busy;
    QTemporaryDir scratch;
    const QString rtfFile = scratch.filePath(QStringLiteral("document.rtf"));
    if (!scratch.isValid() ||
        (direction == QLatin1String("export") && saveFileAtomically(rtfFile, input).has_value())) {
        m_failure = QStringLiteral("no room for a temporary file");
        return std::nullopt;
    }
    QProcess process;
    // The helper's own output is not read; a chatty converter must not fill a pipe and stall.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(m_host, {direction, displayName, fileName, rtfFile,
                           QCoreApplication::applicationFilePath()});
    if (!process.waitForStarted()) {
        m_failure = QStringLiteral("the converter helper cannot start: ") + process.errorString();
        m_message(QStringLiteral("The converter helper %1 cannot start.").arg(m_host));
        return std::nullopt;
    }
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(m_timeout);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    // What the helper said before it ended, in its order.
    for (const QString &line : QString::fromUtf8(process.readAllStandardError())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString kind;
        QString text;
        if (!ConverterHost::parseReportLine(line, &kind, &text))
            continue;
        if (kind == QLatin1String("message"))
            m_message(text);
        else if (kind == QLatin1String("failure"))
            m_failure = text;
    }
    const QString untouched = direction == QLatin1String("import")
                                  ? QStringLiteral("the document is unchanged")
                                  : QStringLiteral("no file was written");
    if (!finished) {
        m_failure = QStringLiteral("the converter did not finish and was stopped");
        m_message(QStringLiteral("The converter \"%1\" did not finish in %2 seconds and was "
                                 "stopped; %3.")
                      .arg(displayName)
                      .arg(m_timeout / 1000)
                      .arg(untouched));
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        m_failure = QStringLiteral("the converter stopped unexpectedly");
        m_message(QStringLiteral("The converter \"%1\" stopped unexpectedly; %2.")
                      .arg(displayName, untouched));
        return std::nullopt;
    }
    if (process.exitCode() != ConverterHost::Done) {
        if (m_failure.isEmpty())
            m_failure =
                QStringLiteral("the converter helper ended with code %1").arg(process.exitCode());
        return std::nullopt;
    }
    if (direction == QLatin1String("export"))
        return QByteArray();
    QFile result(rtfFile);
    if (!result.open(QIODevice::ReadOnly)) {
        m_failure = QStringLiteral("the converter helper passed no RTF on");
        return std::nullopt;
    }
    return result.readAll();
}

std::optional<QByteArray> IsolatedConverters::importRtf(const QString &fileName,
                                                        const QString &displayName) {
    return runHost(QStringLiteral("import"), fileName, displayName, QByteArray());
}

bool IsolatedConverters::ImportWithConverter(const QString &fileName, const QString &displayName,
                                             TRxRichEdit &editor) {
    const std::optional<QByteArray> rtf = importRtf(fileName, displayName);
    if (!rtf)
        return false;
    return loadConvertedRtf(*rtf, editor, m_failure);
}

bool IsolatedConverters::exportRtf(const QString &fileName, const QString &displayName,
                                   const QByteArray &rtf) {
    return runHost(QStringLiteral("export"), fileName, displayName, rtf).has_value();
}

bool IsolatedConverters::ExportWithConverter(const QString &fileName, const QString &displayName,
                                             TRxRichEdit &editor) {
    return exportRtf(fileName, displayName, editor.RtfBytes());
}

} // namespace Convert
