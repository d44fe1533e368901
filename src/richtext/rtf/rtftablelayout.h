#pragma once

#include "richtext/rtf/rtfsink.h"

#include <cstddef>
#include <vector>

// Where the cells of an RTF table go in a grid of columns. RTF gives every row its own cell
// edges; a grid table needs one set of columns, so the columns are the edges of all rows, and a
// cell spans the columns between its edges. Merged cells become spans.
struct RtfTableGrid {
    struct Placement {
        int column = 0;
        int columnSpan = 1;
        int rowSpan = 1;
        bool covered = false; // part of another cell's span: no cell of its own
        int originRow = -1;   // for a covered cell: the cell that spans it
        int originIndex = -1;
    };
    std::vector<int> columnWidths;             // twips
    std::vector<std::vector<Placement>> cells; // per row, per cell of the row
    int columnCount() const { return static_cast<int>(columnWidths.size()); }
};

// The grid of a table; at most maxColumns columns (closer edges are merged to get there).
RtfTableGrid layoutRtfTable(const RtfTable &table, int maxColumns);

// A long table is held as pieces, tables one after another that show as one, because the
// editing area lays a table out whole: in pieces the first screen shows before the rest is laid
// out. Answers the first row of each piece. A table of at most `maxWeight` (cells and
// paragraphs, nested tables' too) stays whole; a piece holds rows up to about that weight, at
// least one, and never parts rows a cell spans.
std::vector<std::size_t> rtfTablePieceStarts(const RtfTable &table, const RtfTableGrid &grid,
                                             std::size_t maxWeight);
