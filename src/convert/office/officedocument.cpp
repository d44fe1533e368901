#include "convert/office/officedocument.h"

#include "convert/office/docxreader.h"
#include "convert/office/docxwriter.h"
#include "convert/office/odtreader.h"
#include "convert/office/zippackage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <memory>

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
    // Qt's ODF writer reads a run's font from the single-family property of older versions.
    std::unique_ptr<QTextDocument> copy(document.clone());
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QStringList families = fragment.charFormat().fontFamilies().toStringList();
            if (families.isEmpty())
                continue;
            QTextCursor cursor(copy.get());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat family;
            family.setProperty(QTextFormat::OldFontFamily, families.first());
            cursor.mergeCharFormat(family);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(copy.get()))
        return std::nullopt;
    return bytes;
}

} // namespace OfficeDocument
