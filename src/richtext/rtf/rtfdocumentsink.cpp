#include "richtext/rtf/rtfdocumentsink.h"

#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfreader.h"
#include "richtext/rtf/rtftablelayout.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QtGui/private/qtextdocument_p.h>
#include <QtGui/private/qtextobject_p.h>
#include <algorithm>

namespace {

// Above this many cells a table draws each cell's own frame instead of one shared grid: Qt
// works out a shared grid line from both neighbours of every cell edge, looking each neighbour up
// by position, which made a table of 200 rows of 64 cells take twice as long to lay out.
constexpr std::size_t maxCellsWithSharedGrid = 10000;

// Above this weight (cells and paragraphs) a table of the text is held in pieces of about this
// weight, each laid out on its own: about a screen of an ordinary table, a few milliseconds.
constexpr std::size_t maxTablePieceWeight = 2000;

QTextTableFormat tableFormatFor(const RtfTableGrid &grid, std::size_t rows) {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(rows * static_cast<std::size_t>(grid.columnCount()) <=
                             maxCellsWithSharedGrid);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    QList<QTextLength> widths;
    for (int width : grid.columnWidths)
        widths.append(QTextLength(QTextLength::FixedLength, DocumentUnits::fromTwips(width)));
    format.setColumnWidthConstraints(widths);
    return format;
}

// The width a table's columns take with their borders and spacing, and a little to spare.
qreal tableWidth(const QTextTableFormat &format) {
    const QList<QTextLength> columns = format.columnWidthConstraints();
    qreal width = 2 * (format.border() + format.padding() + format.cellSpacing()) + 4;
    for (const QTextLength &column : columns)
        width += column.rawValue() + 2 * format.border() + format.cellSpacing();
    return width;
}

// Formats remembered by the reader's serial, at most: a file that keeps making new formats
// falls back to the document's own look-up beyond.
constexpr std::size_t maxSerialsKept = 1 << 16;

} // namespace

RtfDocumentSink::RtfDocumentSink(QTextDocument &document)
    : m_document(document)
    , m_content(QTextDocumentPrivate::get(&document)) {
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
    attachListItems();
    m_position.cursor.endEditBlock();
    // Turning undo back on after the load leaves an empty undo stack: a load cannot be undone.
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentSink::paragraph(RtfParagraph &&paragraph) {
    writeParagraph(m_position, paragraph);
}

void RtfDocumentSink::table(RtfTable &&table) {
    writeTable(m_position, table);
}

void RtfDocumentSink::keptDocument(RtfKeptDocument &&kept) {
    if (kept.prologue.isEmpty() && kept.fonts.isEmpty() && kept.colors.empty())
        return;
    // The root frame goes with the content: clearing the document or loading another drops it.
    QTextFrameFormat format = m_document.rootFrame()->frameFormat();
    format.setProperty(RtfFormatProperty::KeptPrologue, kept.prologue);
    QVariantHash fonts;
    for (auto it = kept.fonts.cbegin(); it != kept.fonts.cend(); ++it)
        fonts.insert(QString::number(it.key()), it.value());
    format.setProperty(RtfFormatProperty::KeptFonts, fonts);
    QVariantList colors;
    for (const QColor &color : kept.colors)
        colors.append(color);
    format.setProperty(RtfFormatProperty::KeptColors, colors);
    m_document.rootFrame()->setFrameFormat(format);
}

void RtfDocumentSink::writeParagraph(Position &at, RtfParagraph &paragraph) {
    QTextCursor &cursor = at.cursor;
    if (at.blockUsed) {
        // As the cursor's insertBlock does, less finding the formats' numbers again and again;
        // the cursor moves behind the new paragraph mark like any cursor at the place.
        m_content->insertBlock(cursor.position(), formatIndex(paragraph.format),
                               formatIndex(paragraph.markFormat));
    } else {
        cursor.setBlockFormat(paragraph.format);
        // Merged, not set: the first block of a table cell carries the cell's own format
        // (spans, background) in the same place.
        cursor.mergeBlockCharFormat(paragraph.markFormat);
    }
    at.blockUsed = true;
    if (paragraph.listKey >= 0) {
        QPointer<QTextList> &list = m_lists[paragraph.listKey];
        // Qt deletes a list that loses its last item; then the key starts a new one.
        if (list.isNull()) {
            list = cursor.createList(paragraph.listFormat);
            m_listIndex.insert(list.data(), m_listItems.size());
            m_listItems.push_back(ListItems{list, paragraph.listFormat, {}});
        } else {
            // Joins its list at the end of the load, with all the others at once.
            auto &items = m_listItems[m_listIndex[list.data()]];
            items.blocks.push_back(cursor.block());
        }
    }
    for (RtfInline &piece : paragraph.inlines) {
        if (piece.format.isImageFormat())
            insertPicture(cursor, piece);
        else
            insertText(cursor, piece);
    }
}

void RtfDocumentSink::attachListItems() {
    // Qt's way in, one paragraph at a time, marks every item of the list changed each time: a
    // list of 20,000 items took half a minute. The items are new paragraphs, not laid out yet,
    // and the whole load counts as changed, so they join their list's format and its item list
    // directly, in document order.
    QTextDocumentPrivate::BlockMap &blocks = m_content->blockMap();
    for (ListItems &pending : m_listItems) {
        if (pending.blocks.empty())
            continue;
        if (pending.list.isNull()) {
            // Its first item went (nothing removes paragraphs while a load runs): the rest
            // make a list of their own.
            pending.list = QTextCursor(pending.blocks.front()).createList(pending.format);
            pending.blocks.erase(pending.blocks.begin());
        }
        QTextList *list = pending.list.data();
        auto *group = static_cast<QTextBlockGroupPrivate *>(QObjectPrivate::get(list));
        QHash<int, int> joined; // a paragraph format's number -> the same format in the list
        for (const QTextBlock &block : pending.blocks) {
            QTextBlockData *data = blocks.fragment(static_cast<uint>(block.fragmentIndex()));
            auto it = joined.find(data->format);
            if (it == joined.end()) {
                QTextBlockFormat format = m_content->formatCollection()->blockFormat(data->format);
                format.setObjectIndex(list->objectIndex());
                it = joined.insert(data->format, formatIndex(format));
            }
            data->format = it.value();
            group->blocks.append(block);
        }
        if (!std::is_sorted(group->blocks.cbegin(), group->blocks.cend()))
            std::sort(group->blocks.begin(), group->blocks.end());
    }
    m_listItems.clear();
    m_listIndex.clear();
}

int RtfDocumentSink::formatIndex(const QTextFormat &format, int serial) {
    // Formats the reader hands out again share their data, which compares at once; a serial
    // only says where to look, the comparison decides.
    const auto bySerial = static_cast<std::size_t>(serial);
    if (serial >= 0 && bySerial < m_formatsBySerial.size()) {
        const KnownFormat &known = m_formatsBySerial[bySerial];
        if (known.index >= 0 && known.format == format)
            return known.index;
    }
    for (const KnownFormat &known : m_knownFormats) {
        if (known.index >= 0 && known.format == format)
            return known.index;
    }
    KnownFormat &slot = m_knownFormats[m_nextKnown];
    m_nextKnown = (m_nextKnown + 1) % m_knownFormats.size();
    slot.format = format;
    slot.index = m_content->formatCollection()->indexForFormat(format);
    if (serial >= 0 && bySerial < maxSerialsKept) {
        if (bySerial >= m_formatsBySerial.size())
            m_formatsBySerial.resize(bySerial + 1);
        m_formatsBySerial[bySerial] = slot;
    }
    return slot.index;
}

void RtfDocumentSink::insertText(QTextCursor &cursor, const RtfInline &run) {
    const bool breaks = std::any_of(run.text.cbegin(), run.text.cend(), [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator ||
               c == QChar(QTextBeginningOfFrame) || c == QChar(QTextEndOfFrame);
    });
    if (breaks || run.format.objectIndex() != -1) {
        cursor.insertText(run.text, run.format);
        return;
    }
    m_content->insert(cursor.position(), run.text, formatIndex(run.format, run.formatSerial));
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
    if (table.rows.empty())
        return;
    const RtfTableGrid grid = layoutRtfTable(table, RtfReader::maxColumns);
    // Cells covered by a span hand what they hold to the cell that spans them.
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        auto &cells = table.rows[r].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const RtfTableGrid::Placement &place = grid.cells[r][i];
            const auto holdsSomething = [](const RtfCellBlock &block) {
                return block.table || !block.paragraph.isEmpty();
            };
            if (!place.covered ||
                std::none_of(cells[i].blocks.begin(), cells[i].blocks.end(), holdsSomething))
                continue;
            auto &origin = table.rows[static_cast<std::size_t>(place.originRow)]
                               .cells[static_cast<std::size_t>(place.originIndex)]
                               .blocks;
            for (RtfCellBlock &block : cells[i].blocks)
                origin.push_back(std::move(block));
            cells[i].blocks.clear();
        }
    }
    QTextTableFormat format = tableFormatFor(grid, table.rows.size());
    // Only a table of the text itself is held in pieces; one in a cell is laid out with its cell.
    std::vector<std::size_t> starts{0};
    if (&at == &m_position)
        starts = rtfTablePieceStarts(table, grid, maxTablePieceWeight);
    starts.push_back(table.rows.size());
    if (starts.size() > 2) {
        // A width of its own that holds every column keeps Qt from laying a piece wider than
        // the page out a second time with words broken anywhere.
        format.setWidth(QTextLength(QTextLength::FixedLength, tableWidth(format)));
    }
    QTextTableFormat continuing = format;
    continuing.setProperty(RtfFormatProperty::TableContinues, true);
    // Up against the piece before, as its rows would be in one table: the outer border of both
    // pieces would otherwise leave a gap. Rows of a shared grid share the line between them too.
    const qreal edge = 2 * format.border() + format.cellSpacing();
    continuing.setTopMargin(format.borderCollapse() ? -2 * edge : -edge);
    for (std::size_t piece = 0; piece + 1 < starts.size(); ++piece)
        writeTableRows(at, table, grid, starts[piece], starts[piece + 1],
                       piece == 0 ? format : continuing);
}

void RtfDocumentSink::writeTableRows(Position &at, RtfTable &table, const RtfTableGrid &grid,
                                     std::size_t first, std::size_t end,
                                     const QTextTableFormat &format) {
    // The table goes after the cursor's block; an unused one stays empty before it, as a
    // document or cell cannot start with a table.
    QTextTable *qtTable =
        at.cursor.insertTable(static_cast<int>(end - first), grid.columnCount(), format);
    // Spans first, while every cell is empty: merging cells that hold text makes Qt move it
    // and can take a block (and the list it was the last item of) away.
    for (std::size_t r = first; r < end; ++r) {
        for (const RtfTableGrid::Placement &place : grid.cells[r]) {
            if (!place.covered && (place.rowSpan > 1 || place.columnSpan > 1))
                qtTable->mergeCells(static_cast<int>(r - first), place.column, place.rowSpan,
                                    place.columnSpan);
        }
    }
    for (std::size_t r = first; r < end; ++r) {
        auto &cells = table.rows[r].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const RtfTableGrid::Placement &place = grid.cells[r][i];
            if (!place.covered)
                writeCell(qtTable->cellAt(static_cast<int>(r - first), place.column), cells[i]);
        }
    }
    at.cursor.setPosition(qtTable->lastPosition() + 1);
    at.blockUsed = false;
}

void RtfDocumentSink::writeCell(QTextTableCell target, RtfTableCell &cell) {
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
