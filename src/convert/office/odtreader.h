#pragma once

#include <QString>
#include <optional>

class QTextDocument;
class ZipPackage;

// Reads an OpenDocument text document (.odt) into a QTextDocument, keeping what the .docx reader
// keeps (see docxreader.h). Styles come from the automatic and the common styles, parents first.
namespace OdtReader {

bool recognises(const ZipPackage &package);
// Fills an empty document; answers the reason when the package cannot be read.
std::optional<QString> read(const ZipPackage &package, QTextDocument &document);

} // namespace OdtReader
