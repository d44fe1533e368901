#pragma once

#include <QString>
#include <QStringList>

// What the RTF reader could not carry into the document, counted per kind so that the editor can
// warn before a save would lose it. Headers, footers, notes, comments, fields and groups the
// reader does not know are kept as they came and written back, so they count only where they
// cannot be kept (inside a table of the file's header, a field instruction or an object).
struct RtfDroppedContent {
    int headersFooters = 0;
    int footnotes = 0; // footnotes and endnotes, with their reference marks
    int annotations = 0;
    int fields = 0;     // fields other than links: their last result is kept as plain text
    int hiddenText = 0; // runs of hidden text
    int objects = 0;    // embedded objects and drawing shapes (a picture result is kept)

    bool isEmpty() const {
        return headersFooters == 0 && footnotes == 0 && annotations == 0 && fields == 0 &&
               hiddenText == 0 && objects == 0;
    }
    // One short English line per kind present, e.g. "2 footnotes".
    QStringList describe() const;

    RtfDroppedContent &operator+=(const RtfDroppedContent &other);
};

// The outcome of reading RTF into a document: on error the document is left as it was.
struct RtfReadResult {
    enum class Status { Ok, NotRtf, ReadError };
    Status status = Status::Ok;
    QString errorText;
    RtfDroppedContent dropped;
    // What the document keeps as it came without showing it: written back to RTF, lost to
    // plain text.
    RtfDroppedContent kept;

    bool ok() const { return status == Status::Ok; }
};
