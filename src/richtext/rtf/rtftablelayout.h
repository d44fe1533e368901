#pragma once

#include "richtext/rtf/rtfsink.h"

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
