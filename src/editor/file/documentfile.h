#pragma once

#include <QString>

class TRxRichEdit;

// Writes the editing area's content to a file the way its name asks: a name ending in ".rtf" as
// RTF and one ending in ".txt" as plain text (any letter case), any other name as plain text
// while the PlainText switch is on and as RTF otherwise. Plain text keeps the encoding and
// line-break style the document was read with. The file is replaced atomically and keeps its
// permissions; a failure leaves it as it was and raises UserError naming the file and the
// system's reason.
void SaveMemoToFile(const TRxRichEdit &memo, const QString &target);

// Makes the document's plain-text format that of a new document (UTF-8, LF), for documents that
// were not read from a plain text file.
void ResetPlainTextFormat(TRxRichEdit &memo);
