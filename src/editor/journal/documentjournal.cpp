#include "editor/journal/documentjournal.h"

#include "editor/document/documentstate.h"
#include "editor/file/filekind.h"
#include "editor/frame/statuspanels.h"
#include "journal/documentcopy.h"
#include "journal/journalwriter.h"
#include "richtext/richtextdocument.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

#include <QTextDocument>

TDocumentJournal::TDocumentJournal(DocumentJournalContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context)) {
    TRxRichEdit &memo = m_context.Memo;
    m_writer = new JournalWriter(
        JournalSource{*memo.document(), [this] { return describe(); },
                      [](const DocumentCopy &copy) { return rtfFromDocument(*copy.toDocument()); },
                      [&memo]() -> std::optional<QString> {
                          // Large plain text lies outside the document.
                          if (!memo.HoldsLargeText())
                              return std::nullopt;
                          return RichTextDocument::withNewlines(memo.Text());
                      }},
        m_context.claim, this);
    connect(&memo, &TRxRichEdit::OnChange, m_writer, [this, &memo] {
        if (memo.HoldsLargeText())
            m_writer->noteEdit();
    });
    connect(m_writer, &JournalWriter::writeFailed, this, [this](const QString &reason) {
        m_context.status.setTextSized(TStatusPanels::Comments, writeFailedText(reason));
    });
}

QString TDocumentJournal::writeFailedText(const QString &reason) {
    return QStringLiteral("Crash journal not written: ") + reason;
}

JournalEntry TDocumentJournal::describe() const {
    JournalEntry entry;
    const QString name = m_context.document.DocumentName;
    // A name that was only shown, played or started does not own the text: restored, the text
    // is "Untitled" so that Save asks where to write it.
    const FileKind kind = DecideFileKind(name);
    entry.documentName = name.isEmpty() || (kind != FileKind::Rtf && kind != FileKind::Text)
                             ? TDocumentState::Untitled
                             : name;
    entry.mode = m_context.Memo.PlainText() ? JournalEntry::Mode::Text : JournalEntry::Mode::Rtf;
    entry.textFormat = documentPlainTextFormat(*m_context.Memo.document());
    entry.textFormat.dataFile = m_context.document.DataFile;
    entry.caret = m_context.Memo.SelStart();
    return entry;
}
