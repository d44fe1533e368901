#include "convert/office/documentbuilder.h"

#include "richtext/rtf/rtfformatproperties.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

DocumentBuilder::DocumentBuilder(QTextDocument &document)
    : m_document(document)
    , m_cursor(&document) {}

void DocumentBuilder::startParagraph(const QTextBlockFormat &given) {
    QTextBlockFormat format = given;
    if (m_pageBreak && m_tables.isEmpty())
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_pageBreak = false;
    if (m_fresh) {
        // Only the paragraph format: a cell keeps its own format in the block's character
        // format.
        m_cursor.setBlockFormat(format);
        m_fresh = false;
    } else {
        m_cursor.insertBlock(format, QTextCharFormat());
    }
}

void DocumentBuilder::setList(const QString &key, const QTextListFormat &format) {
    QTextList *list = m_lists.value(key);
    if (list && list->format().indent() == format.indent())
        list->add(m_cursor.block());
    else
        m_lists.insert(key, m_cursor.createList(format));
}

void DocumentBuilder::addText(const QString &text, const QTextCharFormat &format) {
    if (m_fresh)
        startParagraph(QTextBlockFormat());
    m_cursor.insertText(text, format);
}

void DocumentBuilder::addPicture(const QByteArray &bytes, const QString &name, double width,
                                 double height, const QTextCharFormat &charFormat) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray kind = reader.format();
    const QImage image = reader.read();
    if (image.isNull())
        return; // what cannot be shown is skipped; the text around it stays
    if (m_fresh)
        startParagraph(QTextBlockFormat());
    const QString resource =
        QStringLiteral("office:") +
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    if (!m_document.resource(QTextDocument::ImageResource, QUrl(resource)).isValid())
        m_document.addResource(QTextDocument::ImageResource, QUrl(resource), image);
    QTextImageFormat format;
    format.merge(charFormat);
    format.setName(resource);
    format.setWidth(width > 0 ? width : image.width());
    format.setHeight(height > 0 ? height : image.height());
    // PNG and JPEG go back out as the bytes they came in.
    if (kind == "png" || kind == "jpeg") {
        format.setProperty(RtfFormatProperty::PictureData, bytes);
        format.setProperty(RtfFormatProperty::PictureKindProperty,
                           int(kind == "png" ? PictureKind::Png : PictureKind::Jpeg));
    }
    Q_UNUSED(name);
    m_cursor.insertImage(format);
}

void DocumentBuilder::startTable() {
    // The table goes into an empty block, which then follows it.
    if (!m_fresh)
        m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_pageBreak = false;
    TableState state;
    QTextTableFormat format;
    format.setCellPadding(2);
    format.setBorder(1);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    state.table = m_cursor.insertTable(1, 1, format);
    state.after = QTextCursor(m_document.findBlock(state.table->lastPosition() + 1));
    m_tables.append(state);
}

void DocumentBuilder::startRow() {
    if (m_tables.isEmpty())
        return;
    TableState &state = m_tables.last();
    if (++state.row > 0)
        state.table->appendRows(1);
    state.column = -1;
}

void DocumentBuilder::startCell(const QTextCharFormat &background) {
    if (m_tables.isEmpty())
        return;
    TableState &state = m_tables.last();
    if (state.row < 0)
        startRow();
    if (++state.column >= state.table->columns())
        state.table->appendColumns(1);
    QTextTableCell cell = state.table->cellAt(state.row, state.column);
    if (background.hasProperty(QTextFormat::BackgroundBrush)) {
        QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
        cellFormat.setBackground(background.background());
        cell.setFormat(cellFormat);
    }
    m_cursor = cell.firstCursorPosition();
    m_fresh = true;
}

void DocumentBuilder::endTable() {
    if (m_tables.isEmpty())
        return;
    const TableState state = m_tables.takeLast();
    m_cursor = state.after;
    m_cursor.movePosition(QTextCursor::EndOfBlock);
    // The block after the table is empty and serves the next paragraph.
    m_fresh = m_cursor.block().length() <= 1;
}
