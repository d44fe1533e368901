#pragma once

#include <QByteArray>
#include <QString>

// Plain text files as the editor reads and writes them: UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252; a file keeps its encoding, its byte-order mark and its line-break style
// (LF, CR LF or CR) from load to save.
namespace PlainTextCodec {

enum class Encoding { Utf8, Windows1252 };

struct TextFile {
    // Lines joined by '\n'.
    QString text;
    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
    // The first line break found in the file; LF for a file without any.
    QByteArray lineBreak = "\n";
};

TextFile decode(const QByteArray &bytes);
// Text with '\n' (or U+2029) between lines, written with `file`'s encoding, mark and line break.
// Characters Windows-1252 cannot hold make the whole file UTF-8 rather than be lost.
QByteArray encode(const QString &text, const TextFile &file);

QString decodeWindows1252(const QByteArray &bytes);

} // namespace PlainTextCodec
