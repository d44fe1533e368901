#pragma once

#include "richtext/rtf/rtfsink.h"

#include <QHash>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <array>
#include <cstddef>
#include <vector>

class QTextDocument;
class QTextDocumentPrivate;
class QTextTable;
class QTextTableCell;
class QTextTableFormat;
struct RtfTableGrid;

// Builds a QTextDocument from what the RTF reader delivers. The document is emptied first; undo
// is off while it fills and the whole load is one edit block.
class RtfDocumentSink : public RtfSink {
public:
    explicit RtfDocumentSink(QTextDocument &document);
    ~RtfDocumentSink() override;

    void paragraph(RtfParagraph &&paragraph) override;
    void table(RtfTable &&table) override;
    void keptDocument(RtfKeptDocument &&kept) override;
    void finish() override;

private:
    // Where the next block goes: into the cursor's block when it is still unused, else after it.
    struct Position {
        QTextCursor cursor;
        bool blockUsed = false;
    };
    void writeParagraph(Position &at, RtfParagraph &paragraph);
    void writeTable(Position &at, RtfTable &table);
    void writeTableRows(Position &at, RtfTable &table, const RtfTableGrid &grid, std::size_t first,
                        std::size_t end, const QTextTableFormat &format);
    void writeCell(QTextTableCell target, RtfTableCell &cell);
    void insertPicture(QTextCursor &cursor, RtfInline &picture);
    // The document's own number for a format, remembered for the formats met last and, for a
    // run, under the reader's serial of its format: most runs repeat formats met before, and the
    // document's own look-up compares them in full.
    int formatIndex(const QTextFormat &format, int serial = -1);
    // Inserts a run where the cursor stands, into the document's text directly when the text
    // holds no paragraph or frame breaks (what the cursor would split it at).
    void insertText(QTextCursor &cursor, const RtfInline &run);
    void attachListItems();

    QTextDocument &m_document;
    QTextDocumentPrivate *m_content;
    struct KnownFormat {
        QTextFormat format;
        int index = -1;
    };
    std::array<KnownFormat, 8> m_knownFormats;
    std::size_t m_nextKnown = 0;
    std::vector<KnownFormat> m_formatsBySerial;
    Position m_position;
    QHash<int, QPointer<QTextList>> m_lists;
    // Items of each list after its first, which join it when the load ends.
    struct ListItems {
        QPointer<QTextList> list;
        QTextListFormat format;
        std::vector<QTextBlock> blocks;
    };
    std::vector<ListItems> m_listItems;
    QHash<const QTextList *, std::size_t> m_listIndex;
    bool m_undoWasEnabled = false;
    bool m_finished = false;
};
