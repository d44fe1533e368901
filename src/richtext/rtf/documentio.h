#pragma once

#include "platform/textfile.h"
#include "richtext/rtf/rtfreadresult.h"

#include <QString>
#include <functional>
#include <optional>

class QIODevice;
class QTextDocument;

// Loading and saving the editing area's document through streams and files, in rich text (RTF)
// or plain text. Load and save failures raise UserError with the control's own texts.

enum class StreamFormat { RichText, PlainText, Default };

// Plain text is stored in the program's one text format (platform/textfile.h), so that saving
// writes it back the way it was read; its data-file flag has no meaning here.

struct LoadOutcome {
    StreamFormat format = StreamFormat::RichText; // the format actually read: RichText or PlainText
    TextFormat plainText;                         // when read as plain text
    RtfDroppedContent dropped;                    // when read as rich text
    RtfDroppedContent kept; // when read as rich text: kept for RTF, lost to plain text
};

// Called now and then while reading or writing with the bytes done and the total (0: unknown).
using ProgressCallback = std::function<void(qint64 done, qint64 total)>;

// Default resolves to PlainText when the document is in plain-text mode, else RichText.
StreamFormat resolveStreamFormat(StreamFormat format, bool plainText);

// The stream format a file name asks for: "txt" plain, "rtf" rich (case ignored), else Default.
StreamFormat streamFormatForFileName(const QString &fileName);

// Replaces the document with the device's content in the given format; if that fails, retries
// once in the other format, then raises UserError("Failed to Load Stream") and leaves the
// document as it was. The plain-text format read is also kept on the document (see below).
LoadOutcome loadDocument(QIODevice &device, QTextDocument &document, StreamFormat format,
                         bool plainText, const ProgressCallback &progress = {});
LoadOutcome loadDocumentFile(const QString &fileName, QTextDocument &document, bool plainText,
                             const ProgressCallback &progress = {});

// Writes the document to the device in the given format; raises UserError("Failed to Save
// Stream") on failure. Plain text is written in the document's plain-text format.
void saveDocument(const QTextDocument &document, QIODevice &device, StreamFormat format,
                  bool plainText, const ProgressCallback &progress = {});
// The document as a file of that name holds it: RTF or plain text by the name's extension and the
// plain-text switch. Written atomically: the old file stays untouched when writing fails, and
// the system's reason is answered.
std::optional<QString> writeDocumentFile(const QTextDocument &document, const QString &fileName,
                                         bool plainText, const ProgressCallback &progress = {});
// The same, raising UserError("Failed to Save Stream") on failure, as the control's SaveToFile.
void saveDocumentFile(const QTextDocument &document, const QString &fileName, bool plainText,
                      const ProgressCallback &progress = {});

// Plain text: UTF-8 when the bytes are valid UTF-8, else Windows-1252; line breaks of the first
// break found. Every paragraph becomes a block, all with the document's default format.
TextFormat detectPlainTextFormat(const QByteArray &bytes);
QString decodePlainText(const QByteArray &bytes, const TextFormat &format);
QByteArray encodePlainText(const QTextDocument &document, const TextFormat &format);
// The same for a text whose lines end with '\n' (breaksToConvert: written in the format's
// style; otherwise the text already holds them so).
QByteArray encodePlainText(QStringView text, const TextFormat &format, bool breaksToConvert);

// The plain-text format a document was loaded with (UTF-8 with LF for new documents).
TextFormat documentPlainTextFormat(const QTextDocument &document);
void setDocumentPlainTextFormat(QTextDocument &document, const TextFormat &format);

// Reads RTF into the document, replacing its content. Never throws; on error the document is
// left as it was.
RtfReadResult readRtf(QIODevice &device, QTextDocument &document,
                      const ProgressCallback &progress = {});
RtfReadResult readRtf(const QByteArray &bytes, QTextDocument &document,
                      const ProgressCallback &progress = {});

// Writes the document as RTF. Answers false when the device fails.
bool writeRtf(const QTextDocument &document, QIODevice &device,
              const ProgressCallback &progress = {});
// Whether the document holds what it keeps of its RTF file without showing it as text formats
// (page setup, notes, comments, fields, shapes and other groups): plain text loses it.
bool hasKeptRtf(const QTextDocument &document);
QByteArray rtfFromDocument(const QTextDocument &document, const ProgressCallback &progress = {});
