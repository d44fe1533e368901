#pragma once

#include <QString>
#include <optional>

class QTextDocument;
class ZipPackage;

// Reads an Office Open XML text document (.docx) into a QTextDocument: paragraphs with
// alignment, indents and spacing; runs with bold, italic, underline kinds, strike, super- and
// subscript, font, size, colour and highlight; lists with levels; tables; inline PNG and JPEG
// pictures; hyperlinks; page breaks. What it does not know it skips, keeping the text around it.
namespace DocxReader {

// Whether the container holds a text document of this format.
bool recognises(const ZipPackage &package);
// Fills an empty document; answers the reason when the package cannot be read (the document
// then holds a part of it and is to be dropped).
std::optional<QString> read(const ZipPackage &package, QTextDocument &document);

} // namespace DocxReader
