#pragma once

#include "platform/textfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One journalled document: what it was called, how it was edited and its whole content as it
// stood when the journal was written.
struct JournalEntry {
    enum class Mode { Rtf, Text };

    // The document's full path, or "Untitled" for one never saved.
    QString documentName;
    Mode mode = Mode::Rtf;
    // Text mode: the encoding, byte order mark, line-break style and data-file mark the
    // document is saved with.
    TextFormat textFormat;
    int caret = 0;
    QDateTime time;
    // RTF for Mode::Rtf; for Mode::Text the text as UTF-8, one "\n" per line break, so that
    // characters the document's own encoding cannot hold survive too.
    QByteArray content;
    // The first line of text that is not blank (at most 80 characters), for the list that
    // offers the journal.
    QString firstLine;
};
