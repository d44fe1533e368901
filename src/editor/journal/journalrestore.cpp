#include "editor/journal/journalrestore.h"

#include "editor/document/documentstate.h"
#include "editor/document/editormodes.h"
#include "editor/document/modeflags.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/journal/documentjournal.h"
#include "editor/journal/journalrestoredialog.h"
#include "journal/journalfile.h"
#include "journal/journalwriter.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "platform/usererror.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

namespace {

QString caption() {
    return TJournalRestoreDialog::caption();
}

} // namespace

TJournalRestore::TJournalRestore(JournalRestoreContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context)) {
    if (m_context.programPath.isEmpty())
        m_context.programPath = QCoreApplication::applicationFilePath();
}

QString TJournalRestore::damagedText(const JournalStore::Damaged &damaged) {
    QString text = QStringLiteral("The unsaved document journal \"%1\" cannot be read (%2) and was "
                                  "skipped.")
                       .arg(damaged.path, damaged.reason);
    if (!damaged.movedTo.isEmpty())
        text += QStringLiteral(" It was moved to \"%1\".").arg(damaged.movedTo);
    return text;
}

QString TJournalRestore::unreadableText(const QString &path, const QString &reason) {
    return QStringLiteral("The unsaved document journal \"%1\" cannot be read (%2).")
        .arg(path, reason);
}

void TJournalRestore::OfferJournals() {
    const QByteArray handedOver = qgetenv(kRestoreVariable);
    if (!handedOver.isEmpty()) {
        // Programs this process starts must not restore it again.
        qunsetenv(kRestoreVariable);
        restoreHandedOver(QFile::decodeName(handedOver));
        return;
    }
    const JournalStore::Orphans orphans = JournalStore::collectOrphans(m_context.claim);
    for (const JournalStore::Damaged &damaged : orphans.damaged)
        m_context.prompts.warning(&m_context.window, caption(), damagedText(damaged));
    if (orphans.journals.isEmpty())
        return;

    TJournalRestoreDialog dialog(orphans.journals, &m_context.window);
    m_context.prompts.exec(dialog);
    const QList<int> rows = dialog.selectedRows();
    switch (dialog.choice()) {
    case TJournalRestoreDialog::Choice::Later:
        break;
    case TJournalRestoreDialog::Choice::Discard:
        for (const int row : rows)
            QFile::remove(orphans.journals[row].path);
        break;
    case TJournalRestoreDialog::Choice::Restore:
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (i == 0)
                Restore(orphans.journals[rows[i]]);
            else
                restoreElsewhere(orphans.journals[rows[i]]);
        }
        break;
    }
}

void TJournalRestore::restoreHandedOver(const QString &path) {
    QString reason;
    std::optional<JournalEntry> entry;
    if (const std::optional<QByteArray> bytes = readWholeFile(path, &reason))
        entry = JournalFile::decode(*bytes, &reason);
    if (!entry) {
        m_context.prompts.warning(&m_context.window, caption(), unreadableText(path, reason));
        return;
    }
    Restore(JournalStore::Found{path, *entry});
}

void TJournalRestore::restoreElsewhere(const JournalStore::Found &found) {
    // The new process inherits the variable; this one's own environment is as it was after.
    qputenv(kRestoreVariable, QFile::encodeName(found.path));
    m_context.shell.LaunchFile(m_context.programPath, QString(), QString(),
                               Shell::ShowState::Normal);
    qunsetenv(kRestoreVariable);
}

bool TJournalRestore::Restore(const JournalStore::Found &found) {
    if (!m_context.fileCommands.AskSaveChanges())
        return false;
    try {
        load(found);
    } catch (const UserError &error) {
        m_context.prompts.warning(&m_context.window, caption(),
                                  unreadableText(found.path, error.text()));
        return false;
    }
    // The journal is this window's from now on, and stays on disk until the window's own
    // journal of the restored document replaces it.
    m_context.journal.writer().adopt(found.path);
    return true;
}

void TJournalRestore::load(const JournalStore::Found &found) {
    const JournalEntry &entry = found.entry;
    TRxRichEdit &memo = m_context.Memo;
    m_context.document.DataFile = false;
    if (entry.mode == JournalEntry::Mode::Text) {
        // As a text file is opened: text mode, the plain-text switch on, the text's own format.
        if (!m_context.flags.TextMode)
            m_context.modes.switchText();
        if (m_context.actions.MenuPlainRTF->isChecked())
            m_context.modes.switchRTFoff();
        if (!memo.PlainText()) {
            memo.Clear();
            memo.SetPlainText(true);
        }
        memo.SetText(QString::fromUtf8(entry.content));
        TextFormat format = entry.textFormat;
        format.dataFile = false;
        setDocumentPlainTextFormat(*memo.document(), format);
        m_context.document.DataFile = entry.textFormat.dataFile;
    } else {
        if (!m_context.flags.RTFMode)
            m_context.modes.switchText();
        memo.SetPlainText(false);
        QByteArray bytes = entry.content;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const TRxRichEdit::TStreamFormat format = memo.StreamFormat();
        memo.SetStreamFormat(TRxRichEdit::sfRichText);
        try {
            memo.Lines().LoadFromStream(buffer);
        } catch (...) {
            memo.SetStreamFormat(format);
            throw;
        }
        memo.SetStreamFormat(format);
        setDocumentPlainTextFormat(*memo.document(), TextFormat());
    }
    m_context.document.SetDocumentName(entry.documentName);
    memo.SelectRange(entry.caret, entry.caret, true);
    memo.SetModified(true);
}
