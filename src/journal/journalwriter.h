#pragma once

#include "journal/journalentry.h"
#include "journal/journalstore.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class DocumentCopier;
class QTextDocument;
struct DocumentCopy;

// What a journal is written from. All references must outlive the writer.
struct JournalSource {
    QTextDocument &document;
    // The document's name, mode, text format and caret, read on the user-interface thread when a
    // copy of the text is complete; the writer fills in the content and the time.
    std::function<JournalEntry()> describe;
    // Turns a copy with formats into RTF. Runs on a worker thread, so it may only use the copy.
    std::function<QByteArray(const DocumentCopy &)> rtf;
    // When set and answering a text, the document is not what holds the text: the journal takes
    // this plain text instead (read on the user-interface thread), and noteEdit tells of edits.
    std::function<std::optional<QString>()> plainText = {};
};

// Keeps the journal of one document while it is modified: a few seconds after typing pauses,
// and at least every half minute while it goes on, the document is copied in short slices on
// the user-interface thread, then turned into the journal's bytes and written atomically on a
// worker thread. The journal goes when the document stops being modified (saved, renewed,
// replaced) and when the writer is destroyed. The writer holds its owner's name (see
// JournalStore) for the life of the process.
class JournalWriter : public QObject {
    Q_OBJECT

public:
    JournalWriter(JournalSource source, const JournalStore::ClaimFunction &claim,
                  QObject *parent = nullptr);
    // Waits for a write under way, then removes the journal.
    ~JournalWriter() override;

    QString ownerId() const { return m_ownerId; }
    // Where this writer's journal is.
    QString path() const { return m_path; }

    // Writes the journal now (after the copy), whatever the timers say.
    void writeNow();
    // An edit of a text the document does not hold (see JournalSource::plainText).
    void noteEdit() { edited(); }
    // Removes the journal and stops writing until the document changes again.
    void discard();
    // Takes the journal at `path` (of an ended owner, being restored) as this writer's own, so
    // that the work it holds is on disk until this writer's next journal replaces it.
    bool adopt(const QString &path);

    // The pause after the last edit, and the longest time between an edit and its journal.
    void setDelays(int pauseMilliseconds, int longestMilliseconds);
    static constexpr int DefaultPause = 2000;
    static constexpr int DefaultLongest = 30000;

signals:
    void written();
    // A journal could not be written; said once until a later write works.
    void writeFailed(const QString &reason);

private:
    void edited();
    void capture();
    void copied(std::shared_ptr<const DocumentCopy> copy);
    void finished(const std::optional<QString> &error);
    void removeFile();

    JournalSource m_source;
    QString m_ownerId;
    QString m_path;
    DocumentCopier *m_copier = nullptr;
    QTimer m_pause;
    QTimer m_longest;
    QThreadPool m_pool;
    bool m_wanted = false;  // the document is modified: a journal belongs to it
    bool m_writing = false; // a write runs on the worker
    bool m_again = false;   // an edit came while copying or writing
    bool m_reported = false;
};
