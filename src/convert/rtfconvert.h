#pragma once

#include <QStringList>

class QTextStream;

// The work of the headless converter "quillet-convert IN OUT": loads IN as the editing area
// would (RTF or plain text by its extension, the other format when that fails) and writes OUT
// as RTF or plain text by its extension, or prints it into a PDF file (.pdf) as the editor's
// "&Print" would. Messages go to err, one line each.
namespace RtfConvert {

enum ExitCode { Success = 0, InputFailed = 1, Usage = 2, OutputFailed = 3 };

// Files above this size get a progress line when showProgress is set.
inline constexpr qint64 progressThreshold = 10 * 1024 * 1024;

// arguments: the command line without the program name. Progress shows for files larger than
// largeFile bytes when showProgress is set.
int run(const QStringList &arguments, QTextStream &err, bool showProgress,
        qint64 largeFile = progressThreshold);

} // namespace RtfConvert
