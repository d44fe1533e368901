#pragma once

#include "editor/richtext/rtfsink.h"

#include <QHash>
#include <QTextCursor>

class QTextDocument;
class QTextList;
class QTextTable;

// Builds a QTextDocument from what the RTF reader delivers. The document is emptied first; undo
// is off while it fills and the whole load is one edit block.
class RtfDocumentSink : public RtfSink {
public:
    explicit RtfDocumentSink(QTextDocument &document);
    ~RtfDocumentSink() override;

    void paragraph(RtfParagraph &&paragraph) override;
    void tableRow(RtfTableRow &&row) override;
    void finish() override;

private:
    // Where the next block goes: into the cursor's block when it is still unused, else after it.
    struct Position {
        QTextCursor cursor;
        bool blockUsed = false;
    };
    // A table being filled row by row, with the first rows of vertical merges still open.
    struct OpenTable {
        QTextTable *table = nullptr;
        std::vector<int> mergeStartRow; // per column
    };

    void writeParagraph(Position &at, RtfParagraph &paragraph);
    void writeTable(Position &at, RtfTable &table);
    void appendRow(Position &at, OpenTable &open, RtfTableRow &row);
    void writeCell(QTextTable *table, int row, int column, RtfTableCell &cell);
    void insertPicture(QTextCursor &cursor, RtfInline &picture);

    QTextDocument &m_document;
    Position m_position;
    OpenTable m_table; // the top-level table rows go to, while rows follow each other
    QHash<int, QTextList *> m_lists;
    bool m_undoWasEnabled = false;
    bool m_finished = false;
};
