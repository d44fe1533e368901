#pragma once

#include <QStringList>

class QTextStream;

// The work of the converter helper process "quillet-converter-host": runs one import or export
// through a converter library, so that a converter that crashes or hangs takes only this process
// with it. The editor starts it for each conversion:
//
//   quillet-converter-host import NAME FILE RTF [MODULE]   writes the converted RTF to RTF
//   quillet-converter-host export NAME FILE RTF [MODULE]   converts the RTF read from RTF
//
// NAME is the converter's display name, MODULE the editor's path for "InitConverter32". The RTF
// travels in a file, as converters may write to the standard channels themselves. Every message
// for the user goes to stderr as a line "message TEXT", the reason of a failure as
// "failure TEXT" (line breaks in TEXT written as "\n"). Exit code 0: done; 1: failed; 2: usage.
namespace ConverterHost {

enum ExitCode { Done = 0, Failed = 1, Usage = 2 };

int run(const QStringList &arguments, QTextStream &err);

// The protocol's line for a report, and its reading.
QString reportLine(const QString &kind, const QString &text);
bool parseReportLine(const QString &line, QString *kind, QString *text);

} // namespace ConverterHost
