#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>
#include <memory>
#include <vector>

// Inline content of a paragraph: text in one format, or a picture (format is then a
// QTextImageFormat and image the picture to show).
struct RtfInline {
    QString text;
    QTextCharFormat format;
    QImage image;
    int formatSerial = -1; // runs of the same serial share a format and merge
};

struct RtfParagraph {
    std::vector<RtfInline> inlines;
    QTextBlockFormat format;
    QTextCharFormat markFormat; // the format of the paragraph mark, for empty paragraphs
    int listKey = -1;           // paragraphs of one key form one QTextList
    QTextListFormat listFormat;

    bool isEmpty() const { return inlines.empty(); }
};

struct RtfTable;

// A paragraph or a nested table inside a table cell.
struct RtfCellBlock {
    RtfParagraph paragraph;
    std::shared_ptr<RtfTable> table;
};

struct RtfTableCell {
    std::vector<RtfCellBlock> blocks;
    bool hasEdges = false; // the row defined where the cell is
    int leftEdge = 0;      // twips from the table's origin
    int rightEdge = 0;
    bool mergeWithPrevious = false; // a horizontal continuation cell
    bool mergeWithAbove = false;    // a vertical continuation cell
    QColor background;
};

struct RtfTableRow {
    std::vector<RtfTableCell> cells;
};

struct RtfTable {
    std::vector<RtfTableRow> rows;
};

// What the reader kept of the file at document level, for the writer to put back.
struct RtfKeptDocument {
    QByteArray prologue;        // groups and words before the text, as they came
    QHash<int, QString> fonts;  // the file's font names by number, which kept bytes refer to
    std::vector<QColor> colors; // the file's colours by number (invalid: automatic)
};

// The output side of the RTF reader: receives the document's content in reading order.
class RtfSink {
public:
    virtual ~RtfSink() = default;
    virtual void paragraph(RtfParagraph &&paragraph) = 0;
    virtual void table(RtfTable &&table) = 0;
    // Once, before finish.
    virtual void keptDocument(RtfKeptDocument &&kept) = 0;
    virtual void finish() = 0;
};
