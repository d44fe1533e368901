#include "editor/richtext/rtfdocumentsink.h"

#include "editor/richtext/rtfformatproperties.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

QTextTableFormat tableFormatFor(const RtfTableRow &row) {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    QList<QTextLength> widths;
    bool anyWidth = false;
    for (const RtfTableCell &cell : row.cells) {
        if (cell.widthTwips > 0) {
            anyWidth = true;
            widths.append(
                QTextLength(QTextLength::FixedLength, DocumentUnits::fromTwips(cell.widthTwips)));
        } else {
            widths.append(QTextLength());
        }
    }
    if (anyWidth)
        format.setColumnWidthConstraints(widths);
    return format;
}

} // namespace

RtfDocumentSink::RtfDocumentSink(QTextDocument &document)
    : m_document(document) {
    m_undoWasEnabled = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    m_position.cursor = QTextCursor(&document);
    m_position.cursor.beginEditBlock();
}

RtfDocumentSink::~RtfDocumentSink() {
    finish();
}

void RtfDocumentSink::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_position.cursor.endEditBlock();
    // Turning undo back on after the load leaves an empty undo stack: a load cannot be undone.
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentSink::paragraph(RtfParagraph &&paragraph) {
    if (m_table.table != nullptr) {
        m_table = OpenTable();
        m_position.cursor.movePosition(QTextCursor::End);
        m_position.blockUsed = false;
    }
    writeParagraph(m_position, paragraph);
}

void RtfDocumentSink::tableRow(RtfTableRow &&row) {
    if (row.cells.empty())
        return;
    appendRow(m_position, m_table, row);
    m_position.cursor.movePosition(QTextCursor::End);
    m_position.blockUsed = false;
}

void RtfDocumentSink::writeParagraph(Position &at, RtfParagraph &paragraph) {
    QTextCursor &cursor = at.cursor;
    if (at.blockUsed) {
        cursor.insertBlock(paragraph.format, paragraph.markFormat);
    } else {
        cursor.setBlockFormat(paragraph.format);
        cursor.setBlockCharFormat(paragraph.markFormat);
    }
    at.blockUsed = true;
    if (paragraph.listKey >= 0) {
        QTextList *&list = m_lists[paragraph.listKey];
        if (list == nullptr)
            list = cursor.createList(paragraph.listFormat);
        else
            list->add(cursor.block());
    }
    for (RtfInline &piece : paragraph.inlines) {
        if (piece.format.isImageFormat())
            insertPicture(cursor, piece);
        else
            cursor.insertText(piece.text, piece.format);
    }
}

void RtfDocumentSink::insertPicture(QTextCursor &cursor, RtfInline &picture) {
    QTextImageFormat format = picture.format.toImageFormat();
    const QByteArray data = format.property(RtfFormatProperty::PictureData).toByteArray();
    // Named after the bytes, so that one picture used twice is stored once.
    const QString name =
        QStringLiteral("rtfpicture:") +
        QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
    format.setName(name);
    if (!m_document.resource(QTextDocument::ImageResource, QUrl(name)).isValid())
        m_document.addResource(QTextDocument::ImageResource, QUrl(name), picture.image);
    cursor.insertImage(format);
}

void RtfDocumentSink::writeTable(Position &at, RtfTable &table) {
    OpenTable open;
    for (RtfTableRow &row : table.rows) {
        if (!row.cells.empty())
            appendRow(at, open, row);
    }
    if (open.table != nullptr) {
        at.cursor.setPosition(open.table->lastPosition() + 1);
        at.blockUsed = false;
    }
}

void RtfDocumentSink::appendRow(Position &at, OpenTable &open, RtfTableRow &row) {
    const int cellCount = static_cast<int>(row.cells.size());
    int rowIndex = 0;
    if (open.table == nullptr) {
        // The table goes after the cursor's block (an unused one stays empty before it: a
        // document or cell cannot start with a table).
        open.table = at.cursor.insertTable(1, cellCount, tableFormatFor(row));
        open.mergeStartRow.assign(static_cast<std::size_t>(cellCount), 0);
    } else {
        QTextTable *table = open.table;
        rowIndex = table->rows();
        table->appendRows(1);
        if (cellCount > table->columns()) {
            table->appendColumns(cellCount - table->columns());
            open.mergeStartRow.resize(static_cast<std::size_t>(cellCount), rowIndex);
        }
    }
    QTextTable *table = open.table;
    for (int column = 0; column < cellCount; ++column) {
        RtfTableCell &cell = row.cells[static_cast<std::size_t>(column)];
        if (!cell.mergeWithPrevious && !cell.mergeWithAbove)
            writeCell(table, rowIndex, column, cell);
    }
    // A short row: its last cell spans the remaining columns.
    if (cellCount < table->columns())
        table->mergeCells(rowIndex, cellCount - 1, 1, table->columns() - cellCount + 1);
    for (int column = 0; column < cellCount; ++column) {
        const RtfTableCell &cell = row.cells[static_cast<std::size_t>(column)];
        auto &start = open.mergeStartRow[static_cast<std::size_t>(column)];
        if (cell.mergeWithAbove && !cell.mergeWithPrevious && rowIndex > 0) {
            const QTextTableCell above = table->cellAt(start, column);
            if (above.isValid() && above.columnSpan() == 1)
                table->mergeCells(start, column, rowIndex - start + 1, 1);
        } else {
            start = rowIndex;
        }
    }
    int column = 0;
    while (column < cellCount) {
        int span = 1;
        while (column + span < cellCount &&
               row.cells[static_cast<std::size_t>(column + span)].mergeWithPrevious)
            ++span;
        if (span > 1)
            table->mergeCells(rowIndex, column, 1, span);
        column += span;
    }
}

void RtfDocumentSink::writeCell(QTextTable *table, int row, int column, RtfTableCell &cell) {
    QTextTableCell target = table->cellAt(row, column);
    if (!target.isValid())
        return;
    if (cell.background.isValid()) {
        QTextTableCellFormat format = target.format().toTableCellFormat();
        format.setBackground(cell.background);
        target.setFormat(format);
    }
    Position at{target.firstCursorPosition(), false};
    for (RtfCellBlock &block : cell.blocks) {
        if (block.table)
            writeTable(at, *block.table);
        else
            writeParagraph(at, block.paragraph);
    }
}
