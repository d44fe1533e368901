#pragma once

#include <QByteArray>
#include <optional>

class QTextDocument;

// Writes a QTextDocument as an Office Open XML text document (.docx), keeping what DocxReader
// reads back.
namespace DocxWriter {

// The container's bytes; nullopt when it could not be built.
std::optional<QByteArray> write(const QTextDocument &document);

} // namespace DocxWriter
