#include "richtext/rtf/rtftablelayout.h"

#include <algorithm>

namespace {

constexpr int defaultCellWidth = 1440; // twips, for cells a row does not define
constexpr int snapTolerance = 20;      // twips: edges closer than this are one column edge

// Sorted edges, merged where closer than the tolerance, widening it until few enough remain.
std::vector<int> snapEdges(std::vector<int> edges, int maxEdges) {
    std::sort(edges.begin(), edges.end());
    std::vector<int> snapped;
    for (int tolerance = snapTolerance;; tolerance *= 2) {
        snapped.clear();
        for (int edge : edges) {
            if (snapped.empty() || edge - snapped.back() >= tolerance)
                snapped.push_back(edge);
        }
        if (static_cast<int>(snapped.size()) <= maxEdges || tolerance > (1 << 24))
            return snapped;
    }
}

int nearestEdge(const std::vector<int> &edges, int edge) {
    const auto it = std::lower_bound(edges.begin(), edges.end(), edge);
    if (it == edges.begin())
        return 0;
    if (it == edges.end())
        return static_cast<int>(edges.size()) - 1;
    const auto index = static_cast<int>(it - edges.begin());
    return (*it - edge) < (edge - *(it - 1)) ? index : index - 1;
}

std::size_t tableWeight(const RtfTable &table);

std::size_t rowWeight(const RtfTableRow &row) {
    std::size_t weight = 0;
    for (const RtfTableCell &cell : row.cells) {
        ++weight;
        for (const RtfCellBlock &block : cell.blocks)
            weight += block.table ? tableWeight(*block.table) : 1;
    }
    return weight;
}

std::size_t tableWeight(const RtfTable &table) {
    std::size_t weight = 0;
    for (const RtfTableRow &row : table.rows)
        weight += rowWeight(row);
    return weight;
}

} // namespace

RtfTableGrid layoutRtfTable(const RtfTable &table, int maxColumns) {
    RtfTableGrid grid;
    // Each cell's extent, with undefined cells placed after their row's defined ones.
    std::vector<std::vector<std::pair<int, int>>> extents(table.rows.size());
    std::vector<int> edges;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const RtfTableRow &row = table.rows[r];
        int left =
            row.cells.empty() || !row.cells.front().hasEdges ? 0 : row.cells.front().leftEdge;
        for (const RtfTableCell &cell : row.cells) {
            int right =
                cell.hasEdges && cell.rightEdge > left ? cell.rightEdge : left + defaultCellWidth;
            extents[r].emplace_back(left, right);
            edges.push_back(left);
            edges.push_back(right);
            left = right;
        }
    }
    edges = snapEdges(std::move(edges), maxColumns + 1);
    if (edges.size() < 2)
        edges = {0, defaultCellWidth};
    for (std::size_t i = 1; i < edges.size(); ++i)
        grid.columnWidths.push_back(edges[i] - edges[i - 1]);

    // Per column, the cell a vertical merge continues: (row, index in row).
    std::vector<std::pair<int, int>> openAbove;
    grid.cells.resize(table.rows.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const RtfTableRow &row = table.rows[r];
        auto &placements = grid.cells[r];
        placements.resize(row.cells.size());
        // Columns first, horizontal merges included, so that a vertical merge compares the
        // whole width of a cell with the cell above.
        int nextColumn = 0;
        int previous = -1; // the last cell of this row with a place of its own
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            RtfTableGrid::Placement &place = placements[i];
            int column = qMax(nearestEdge(edges, extents[r][i].first), nextColumn);
            int end = nearestEdge(edges, extents[r][i].second);
            if (column >= grid.columnCount()) {
                // Snapping left no room: the cell gets a column of its own at the end.
                grid.columnWidths.push_back(extents[r][i].second - extents[r][i].first);
                column = grid.columnCount() - 1;
                end = column + 1;
            }
            end = qBound(column + 1, end, grid.columnCount());
            nextColumn = end;
            if (row.cells[i].mergeWithPrevious && previous >= 0) {
                RtfTableGrid::Placement &first = placements[static_cast<std::size_t>(previous)];
                first.columnSpan = end - first.column;
                place.covered = true;
                place.originRow = static_cast<int>(r);
                place.originIndex = previous;
                continue;
            }
            place.column = column;
            place.columnSpan = end - column;
            previous = static_cast<int>(i);
        }
        if (openAbove.size() < static_cast<std::size_t>(grid.columnCount()))
            openAbove.resize(static_cast<std::size_t>(grid.columnCount()), {-1, -1});
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            RtfTableGrid::Placement &place = placements[i];
            if (place.covered)
                continue;
            auto &above = openAbove[static_cast<std::size_t>(place.column)];
            if (row.cells[i].mergeWithAbove && above.first >= 0) {
                RtfTableGrid::Placement &origin =
                    grid.cells[static_cast<std::size_t>(above.first)]
                              [static_cast<std::size_t>(above.second)];
                if (origin.column == place.column && origin.columnSpan == place.columnSpan &&
                    origin.rowSpan == static_cast<int>(r) - above.first) {
                    ++origin.rowSpan;
                    place.covered = true;
                    place.originRow = above.first;
                    place.originIndex = above.second;
                    continue;
                }
            }
            above = {static_cast<int>(r), static_cast<int>(i)};
        }
    }
    return grid;
}

std::vector<std::size_t> rtfTablePieceStarts(const RtfTable &table, const RtfTableGrid &grid,
                                             std::size_t maxWeight) {
    std::vector<std::size_t> starts{0};
    if (tableWeight(table) <= maxWeight)
        return starts;
    std::size_t pieceWeight = 0;
    std::size_t spannedTo = 0; // the last row a cell of the rows so far reaches
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::size_t weight = rowWeight(table.rows[r]);
        if (r > starts.back() && spannedTo < r && pieceWeight + weight > maxWeight) {
            starts.push_back(r);
            pieceWeight = 0;
        }
        pieceWeight += weight;
        for (const RtfTableGrid::Placement &place : grid.cells[r]) {
            if (!place.covered)
                spannedTo = std::max(spannedTo, r + static_cast<std::size_t>(place.rowSpan) - 1);
        }
    }
    return starts;
}
