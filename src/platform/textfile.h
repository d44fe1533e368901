#pragma once

#include <QString>
#include <optional>

// Files on disk as the editor and the text viewer see them.
//
// Plain text is read as UTF-8 when the bytes are valid UTF-8, otherwise as Windows-1252, and the
// line-break style is remembered; LoadTextFile answers the text with every line break turned into
// "\n" plus the format it was read in, and SaveTextFile writes text back in such a format. A data
// file (one holding a NUL byte) is read byte for byte: each byte becomes one character (the
// character code equals the byte), NUL becomes the character 1, and no line break is touched.
// Saving in the data-file format writes it back the same way, so an unedited data file comes out
// byte for byte as it was read (except that a byte 1 of the original comes back as NUL);
// characters above 255, which only typing can bring in, are written as UTF-8.
//
// Nothing here throws except ReadTextFile; every other failure is a value.

enum class TextEncoding { Utf8, Windows1252 };
enum class LineBreak { LF, CRLF, CR };

// How a text file was read, and so how it is written back. The defaults are those of a new
// document: UTF-8 without a byte order mark, LF line breaks.
struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false; // UTF-8 only: the file began with EF BB BF
    LineBreak lineBreak = LineBreak::LF;
    bool dataFile = false; // byte for byte; encoding and lineBreak do not apply

    bool operator==(const TextFormat &) const = default;
};

// Why a file could not be read or written.
struct TextFileError {
    QString path;
    QString reason; // the system's explanation ("Permission denied", "No such file ...")

    // "<path>: <reason>", for a message box.
    QString message() const;
};

struct TextFileContent {
    QString text;      // line breaks as "\n" (data files: untouched bytes, see above)
    TextFormat format; // how to write it back
    std::optional<TextFileError> error; // set: nothing was read, text is empty
    // A data file's own bytes: its text cannot tell a NUL from a byte 1.
    QByteArray dataBytes;
};

// The whole content of a regular file; nullopt with the system's reason when it cannot be read.
// Anything but a regular file (folder, device, pipe) is refused, so that no caller hangs on it.
std::optional<QByteArray> readWholeFile(const QString &path, QString *reason);

// Reads a whole file and decides its format. A file that is not a regular file (folder, device,
// pipe) is an error, so that no caller ever hangs reading one. When a file mixes line-break
// styles, the first line break decides the style it is written back with.
TextFileContent LoadTextFile(const QString &path);

struct TextFileSaveResult {
    // The format actually written: like the one asked for, except that text which Windows-1252
    // cannot hold is written as UTF-8 instead of being lost.
    TextFormat written;
    std::optional<TextFileError> error; // set: the file on disk was left as it was
};

// Writes the text atomically (a temporary file renamed over the target, so a failure leaves the
// old file whole) in the given format. Any of "\r\n", "\r" and "\n" in the text counts as one line
// break and is written in the format's style. An existing file keeps its permissions; a symbolic
// link is followed and its target replaced.
TextFileSaveResult SaveTextFile(const QString &path, const QString &text, const TextFormat &format);

// The format LoadTextFile would decide for these bytes (the data-file flag included).
TextFormat DetectTextFormat(const QByteArray &bytes);

// The text of these bytes read in that format, and the bytes of that text written in it. These two
// are what LoadTextFile and SaveTextFile do between the disk and the caller. Encode answers the
// format it used (see TextFileSaveResult::written).
QString DecodeText(const QByteArray &bytes, const TextFormat &format);
QByteArray EncodeText(const QString &text, const TextFormat &format, TextFormat *used = nullptr);

// True when the file holds at least one NUL byte. An empty file, a file that is not a regular
// file, or any error while reading gives false.
bool IsDataFile(const QString &path);

// The whole file byte for byte as a data file is read (NUL shown as the character 1, every other
// byte one character of the same code, line breaks untouched). Throws UserError with the reason
// when the file cannot be read.
QString ReadTextFile(const QString &path);

// The file's size in bytes divided by 1024 (remainder dropped) plus 1. A file that cannot be
// found, and anything that is not a regular file, counts as 1.
int FileSizeKB(const QString &path);
