#pragma once

#include "journal/journalstore.h"

#include <QObject>

class Prompts;
class QWidget;
class Shell;
class TDocumentJournal;
class TDocumentState;
class TEditorActions;
class TEditorModes;
class TFileCommands;
class TRxRichEdit;
struct TModeFlags;

struct JournalRestoreContext {
    QWidget &window;
    const TModeFlags &flags;
    TEditorActions &actions;
    TEditorModes &modes;
    TRxRichEdit &Memo;
    TDocumentState &document;
    TFileCommands &fileCommands;
    TDocumentJournal &journal;
    Prompts &prompts;
    Shell &shell;
    JournalStore::ClaimFunction claim;
    // The program started for each further journal restored; empty: this process's own.
    QString programPath = {};
};

// At start, offers the journals that ended editors left (never those of a running one), and
// restores a journal as a modified document under its old name and in its old mode, so that
// Save writes it where the user meant and the file on disk stays as it was until then. The first
// journal restored goes into this window; each further one into a new editor process, which
// finds it named in kRestoreVariable.
class TJournalRestore : public QObject {
    Q_OBJECT

public:
    explicit TJournalRestore(JournalRestoreContext context, QObject *parent = nullptr);

    // Restores the journal named by kRestoreVariable when this process was started for one,
    // otherwise offers the journals of ended editors.
    void OfferJournals();
    // Replaces the document (after the save question) by the journal's; false when the user
    // cancelled or the journal could not be read into the editing area.
    bool Restore(const JournalStore::Found &found);

    static constexpr char kRestoreVariable[] = "QUILLET_RESTORE_JOURNAL";
    static QString damagedText(const JournalStore::Damaged &damaged);
    static QString unreadableText(const QString &path, const QString &reason);

private:
    void restoreHandedOver(const QString &path);
    void restoreElsewhere(const JournalStore::Found &found);
    void load(const JournalStore::Found &found);

    JournalRestoreContext m_context;
};
