#pragma once

#include "journal/journalstore.h"

#include <QObject>

class JournalWriter;
class TDocumentState;
class TRxRichEdit;
class TStatusPanels;
struct JournalEntry;

struct DocumentJournalContext {
    TRxRichEdit &Memo;
    TDocumentState &document;
    TStatusPanels &status;
    JournalStore::ClaimFunction claim;
};

// Keeps the crash journal of the editor window's document: what the journal says of the
// document (name, mode, text format, caret) and its RTF, and the report of a journal that
// cannot be written, once, in the "Comments" panel so that typing is never interrupted.
class TDocumentJournal : public QObject {
    Q_OBJECT

public:
    explicit TDocumentJournal(DocumentJournalContext context, QObject *parent = nullptr);

    JournalWriter &writer() const { return *m_writer; }
    JournalEntry describe() const;

    static QString writeFailedText(const QString &reason);

private:
    DocumentJournalContext m_context;
    JournalWriter *m_writer = nullptr;
};
