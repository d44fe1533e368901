#include "convert/office/officedocument.h"

#include "convert/office/docxreader.h"
#include "convert/office/docxwriter.h"
#include "convert/office/odtreader.h"
#include "convert/office/zippackage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace OfficeDocument {

std::optional<Format> detect(const QString &fileName) {
    const auto package = ZipPackage::read(fileName, nullptr);
    if (!package)
        return std::nullopt;
    if (DocxReader::recognises(*package))
        return Format::Docx;
    if (OdtReader::recognises(*package))
        return Format::Odt;
    return std::nullopt;
}

Format formatForFileName(const QString &fileName) {
    return QFileInfo(fileName).suffix().compare(QLatin1String("odt"), Qt::CaseInsensitive) == 0
               ? Format::Odt
               : Format::Docx;
}

std::optional<QString> read(const QString &fileName, QTextDocument &document) {
    QString error;
    const auto package = ZipPackage::read(fileName, &error);
    if (!package)
        return error;
    if (DocxReader::recognises(*package))
        return DocxReader::read(*package, document);
    if (OdtReader::recognises(*package))
        return OdtReader::read(*package, document);
    return QStringLiteral("not a text document");
}

std::optional<QByteArray> write(const QTextDocument &document, Format format) {
    if (format == Format::Docx)
        return DocxWriter::write(document);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(&document))
        return std::nullopt;
    return bytes;
}

} // namespace OfficeDocument
