#pragma once

#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtfsink.h"

#include <functional>
#include <memory>
#include <vector>

class RtfColorTable;

// Builds tables from row definitions (\trowd, \cellx, merges, shading) and the paragraphs,
// cells and rows the reader ends, nested ones (\itap) inside their parent cell; delivers each
// outermost table to the sink once a paragraph outside it follows.
class RtfTableBuilder {
public:
    // Tables nested deeper go on in the table at this depth. Qt lays a nested table out again
    // for each pass over the cell around it, so every level doubles the layout's work: eight
    // levels of a thousand rows took twenty seconds, four take one.
    static constexpr int maxDepth = 4;
    static constexpr int maxColumns = 64;

    // The reader's side: whether text of a paragraph is still being read (its pending bytes
    // decoded first), and that paragraph ended as the last of a cell.
    using ParagraphPending = std::function<bool()>;
    using CellParagraph = std::function<RtfParagraph()>;

    RtfTableBuilder(RtfSink &sink, const RtfColorTable &colors, ParagraphPending paragraphPending,
                    CellParagraph cellParagraph);

    // A row or cell definition word for the table at this depth; false for other words.
    bool definitionWord(RtfWord word, int parameter, int depth);
    // A paragraph ended inside a cell of the table at this depth (1 or more).
    void addParagraph(int depth, RtfParagraph &&paragraph);
    void endCell(int depth);
    void endRow(int depth);
    // Ends the tables deeper than this depth, delivering rows a file left open as they are.
    void closeTablesAbove(int depth);

private:
    struct CellDefinition {
        int rightEdge = 0;
        bool mergeWithPrevious = false;
        bool mergeWithAbove = false;
        int background = 0;
    };
    // A table being read at one nesting depth.
    struct TableLevel {
        std::vector<CellDefinition> definitions;
        CellDefinition pendingDefinition;
        int leftEdge = 0;
        RtfTableRow row;
        RtfTableCell cell;
        // The table of this level while its rows follow each other; a nested one is already
        // in its parent cell.
        std::shared_ptr<RtfTable> table;
    };

    TableLevel &level(int depth);
    void closeTable(int depth);

    RtfSink &m_sink;
    const RtfColorTable &m_colors;
    ParagraphPending m_paragraphPending;
    CellParagraph m_cellParagraph;
    std::vector<TableLevel> m_tables;
};
