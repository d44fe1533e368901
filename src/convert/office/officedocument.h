#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QTextDocument;

// The office formats of the project's converter: reading a .docx or .odt file into a document
// and writing a document as either, chosen by the file's content when reading and by its
// extension when writing (".odt", else .docx).
namespace OfficeDocument {

enum class Format { Docx, Odt };

// The format of a file by its content; nullopt when it is neither or cannot be read.
std::optional<Format> detect(const QString &fileName);
Format formatForFileName(const QString &fileName);

// Fills an empty document from the file; answers the reason when it cannot be read.
std::optional<QString> read(const QString &fileName, QTextDocument &document);
// The file's bytes in the format; nullopt when they could not be made.
std::optional<QByteArray> write(const QTextDocument &document, Format format);

} // namespace OfficeDocument
