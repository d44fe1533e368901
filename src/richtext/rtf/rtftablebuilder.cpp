#include "richtext/rtf/rtftablebuilder.h"

#include "richtext/rtf/rtfcolortable.h"

namespace {

// Cell edges in twips: wide tables reach beyond any page, but sums must not overflow.
constexpr int maxTableEdge = 1000000;

} // namespace

RtfTableBuilder::RtfTableBuilder(RtfSink &sink, const RtfColorTable &colors,
                                 ParagraphPending paragraphPending, CellParagraph cellParagraph)
    : m_sink(sink)
    , m_colors(colors)
    , m_paragraphPending(std::move(paragraphPending))
    , m_cellParagraph(std::move(cellParagraph)) {}

RtfTableBuilder::TableLevel &RtfTableBuilder::level(int depth) {
    depth = qBound(1, depth, maxDepth);
    if (m_tables.size() < static_cast<std::size_t>(depth))
        m_tables.resize(static_cast<std::size_t>(depth));
    return m_tables[static_cast<std::size_t>(depth - 1)];
}

bool RtfTableBuilder::definitionWord(RtfWord word, int parameter, int depth) {
    TableLevel &table = level(depth);
    switch (word) {
    case RtfWord::Trowd:
        table.definitions.clear();
        table.pendingDefinition = CellDefinition();
        table.leftEdge = 0;
        return true;
    case RtfWord::Trleft:
        table.leftEdge = qBound(-maxTableEdge, parameter, maxTableEdge);
        return true;
    case RtfWord::Cellx:
        if (table.definitions.size() < static_cast<std::size_t>(maxColumns)) {
            table.pendingDefinition.rightEdge = qBound(-maxTableEdge, parameter, maxTableEdge);
            table.definitions.push_back(table.pendingDefinition);
        }
        table.pendingDefinition = CellDefinition();
        return true;
    case RtfWord::Clmgf:
        return true;
    case RtfWord::Clmrg:
        table.pendingDefinition.mergeWithPrevious = true;
        return true;
    case RtfWord::Clvmgf:
        return true;
    case RtfWord::Clvmrg:
        table.pendingDefinition.mergeWithAbove = true;
        return true;
    case RtfWord::Clcbpat:
        table.pendingDefinition.background = qMax(0, parameter);
        return true;
    default:
        return false;
    }
}

void RtfTableBuilder::addParagraph(int depth, RtfParagraph &&paragraph) {
    level(depth).cell.blocks.push_back(RtfCellBlock{std::move(paragraph), nullptr});
}

void RtfTableBuilder::closeTablesAbove(int depth) {
    for (int d = static_cast<int>(m_tables.size()); d > depth; --d) {
        TableLevel &table = m_tables[static_cast<std::size_t>(d - 1)];
        if (!table.cell.blocks.empty())
            endCell(d);
        if (!table.row.cells.empty())
            endRow(d);
        closeTable(d);
    }
}

void RtfTableBuilder::closeTable(int depth) {
    TableLevel &table = level(depth);
    if (!table.table)
        return;
    std::shared_ptr<RtfTable> done = std::move(table.table);
    table.table.reset();
    if (depth == 1)
        m_sink.table(std::move(*done));
}

void RtfTableBuilder::endCell(int depth) {
    depth = qBound(1, depth, maxDepth);
    closeTablesAbove(depth);
    // \cell ends the cell's last paragraph, an empty one too (as after "\par\cell").
    RtfParagraph paragraph = m_cellParagraph();
    TableLevel &table = level(depth);
    table.cell.blocks.push_back(RtfCellBlock{std::move(paragraph), nullptr});
    if (table.row.cells.size() < static_cast<std::size_t>(maxColumns)) {
        table.row.cells.push_back(std::move(table.cell));
    } else {
        // Beyond the column limit, content joins the last cell.
        auto &last = table.row.cells.back().blocks;
        for (auto &block : table.cell.blocks)
            last.push_back(std::move(block));
    }
    table.cell = RtfTableCell();
}

void RtfTableBuilder::endRow(int depth) {
    depth = qBound(1, depth, maxDepth);
    if (m_paragraphPending() || !level(depth).cell.blocks.empty())
        endCell(depth);
    else
        closeTablesAbove(depth);
    TableLevel &table = level(depth);
    RtfTableRow row = std::move(table.row);
    table.row = RtfTableRow();
    if (row.cells.empty())
        return;
    int left = table.leftEdge;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        RtfTableCell &cell = row.cells[i];
        if (i >= table.definitions.size())
            continue;
        const CellDefinition &definition = table.definitions[i];
        cell.hasEdges = true;
        cell.leftEdge = left;
        cell.rightEdge = definition.rightEdge;
        left = definition.rightEdge;
        cell.mergeWithPrevious = definition.mergeWithPrevious && i > 0;
        cell.mergeWithAbove = definition.mergeWithAbove;
        cell.background = m_colors.color(definition.background);
    }
    TableLevel &self = level(depth);
    if (!self.table) {
        self.table = std::make_shared<RtfTable>();
        // A nested table takes its place in the parent cell with its first row.
        if (depth > 1)
            level(depth - 1).cell.blocks.push_back(RtfCellBlock{RtfParagraph(), self.table});
    }
    self.table->rows.push_back(std::move(row));
}
