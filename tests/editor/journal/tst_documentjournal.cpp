#include "editor/document/documentstate.h"
#include "editor/document/modeflags.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/journal/documentjournal.h"
#include "editor/journal/journalrestore.h"
#include "editor/journal/journalrestoredialog.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "journal/journalfile.h"
#include "journal/journalstore.h"
#include "journal/journalwriter.h"
#include "platform/textfile.h"
#include "richtext/rxlargetext.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The editor window's crash journal: written while the document is modified, gone after a save
// and a clean close, and offered and restored at the next start.
class tst_DocumentJournal : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;

    void open(const QString &commandLineFile = {}) {
        m_form.reset();
        m_services = std::make_unique<EditorServices>();
        MainFormContext context = m_services->context(*m_prompts);
        context.commandLineFile = commandLineFile;
        m_form = std::make_unique<TMainForm>(context);
        m_form->documentJournal().writer().setDelays(20, 200);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    TRxRichEdit &memo() { return m_form->Memo(); }

    void type(const QString &text) {
        memo().setFocus();
        QTest::keyClicks(&memo(), text);
    }

    // Waits for the window's journal and answers it.
    JournalEntry journalOfWindow() {
        JournalWriter &writer = m_form->documentJournal().writer();
        QSignalSpy written(&writer, &JournalWriter::written);
        [&] { QVERIFY(written.wait(10000)); }();
        const std::optional<JournalEntry> entry =
            JournalFile::decode(readAll(writer.path()), nullptr);
        [&] { QVERIFY(entry); }();
        return entry.value_or(JournalEntry());
    }

    // A journal as an editor that ended would have left it.
    QString leaveJournal(const JournalEntry &entry) {
        const QString path =
            JournalStore::pathFor(JournalStore::folder(), JournalStore::newOwnerId());
        writeAll(path, JournalFile::encode(entry));
        return path;
    }

    void answerRestoreDialog(TJournalRestoreDialog::Choice choice, QStringList *rows = nullptr) {
        m_prompts->answerDialog(true, [choice, rows](QDialog &dialog) {
            auto &offer = dynamic_cast<TJournalRestoreDialog &>(dialog);
            if (rows) {
                for (int i = 0; i < offer.list().topLevelItemCount(); ++i) {
                    const QTreeWidgetItem *item = offer.list().topLevelItem(i);
                    rows->append(item->text(0) + QLatin1Char('|') + item->text(2));
                }
            }
            offer.choose(choice);
        });
    }

    QStringList journalFiles() {
        return QDir(JournalStore::folder()).entryList(QDir::Files | QDir::Hidden);
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_prompts = std::make_unique<ScriptedPrompts>();
    }

    void cleanup() {
        m_form.reset();
        m_services.reset();
        QDir(JournalStore::folder()).removeRecursively();
        QDir(JournalStore::damagedFolder()).removeRecursively();
    }

    void journalOfRtfDocumentThenSaveRemovesIt() {
        const QString file = m_dir.filePath(QStringLiteral("letter.rtf"));
        writeAll(file, "{\\rtf1\\ansi Hello\\par}");
        open(file);
        memo().SelectRange(5, 5);
        type(QStringLiteral(" world"));
        const JournalEntry entry = journalOfWindow();
        QCOMPARE(entry.documentName, file);
        QCOMPARE(entry.mode, JournalEntry::Mode::Rtf);
        QCOMPARE(entry.caret, 11);
        QCOMPARE(entry.firstLine, QStringLiteral("Hello world"));
        QVERIFY(entry.content.startsWith("{\\rtf1"));
        QCOMPARE(readAll(file), QByteArray("{\\rtf1\\ansi Hello\\par}"));

        m_form->fileCommands().SaveActionExecute();
        QVERIFY(!memo().Modified());
        QCOMPARE(journalFiles(), QStringList());
    }

    void cleanCloseRemovesJournal() {
        open();
        type(QStringLiteral("draft"));
        journalOfWindow();
        QCOMPARE(journalFiles().size(), 1);
        m_prompts->answerButton(QMessageBox::No);
        QVERIFY(m_form->close());
        m_form.reset();
        QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("Save Changes to Untitled ?")});
        QCOMPARE(journalFiles(), QStringList());
    }

    void newRemovesJournal() {
        open();
        type(QStringLiteral("draft"));
        journalOfWindow();
        m_prompts->answerButton(QMessageBox::No);
        m_form->fileCommands().NewActionExecute();
        QCOMPARE(journalFiles(), QStringList());
    }

    // Restored under its name and mode, modified, the file untouched; Save writes it there in
    // the text's own encoding and line breaks.
    void restoreTextModeKeepsEncodingAndLineBreaks() {
        const QString file = m_dir.filePath(QStringLiteral("notes.txt"));
        const QByteArray original = "Gr\xFC\xDF"
                                    "e\r\nzweite\r\n";
        writeAll(file, original);
        open(file);
        memo().SelectRange(0, 0);
        type(QStringLiteral("Caf"));
        // Beyond Windows-1252's reach of the keyboard helper, inserted as a paste would.
        memo().insertPlainText(QStringLiteral("\u00e9 "));
        const JournalEntry written = journalOfWindow();
        QCOMPARE(written.mode, JournalEntry::Mode::Text);
        QCOMPARE(written.textFormat.encoding, TextEncoding::Windows1252);
        QCOMPARE(written.textFormat.lineBreak, LineBreak::CRLF);
        const QString left = leaveJournal(written);

        open();
        QStringList rows;
        answerRestoreDialog(TJournalRestoreDialog::Choice::Restore, &rows);
        m_form->journalRestore().OfferJournals();
        QCOMPARE(rows, QStringList{file + QStringLiteral("|Caf\u00e9 Gr\u00fc\u00dfe")});
        QVERIFY(m_form->mode().TextMode);
        QCOMPARE(m_form->document().DocumentName, file);
        QVERIFY(memo().Modified());
        QCOMPARE(memo().SelStart(), 5);
        QCOMPARE(readAll(file), original);
        // The restored journal is this window's own now.
        QVERIFY(!QFile::exists(left));
        QVERIFY(QFile::exists(m_form->documentJournal().writer().path()));

        m_form->fileCommands().SaveActionExecute();
        QCOMPARE(readAll(file), QByteArray("Caf\xE9 Gr\xFC\xDF"
                                           "e\r\nzweite\r\n"));
        QCOMPARE(journalFiles(), QStringList());
    }

    // A text file of many lines, held outside the document: the journal holds its text, the
    // restore brings it back the same way, and Save writes it with its own line breaks.
    void largeTextFileJournalledRestoredAndSaved() {
        const QString file = m_dir.filePath(QStringLiteral("big.txt"));
        QByteArray original;
        for (int i = 0; i < TRxLargeText::MinimumLines; ++i)
            original += "row " + QByteArray::number(i) + '\r';
        writeAll(file, original);
        open(file);
        QVERIFY(memo().HoldsLargeText());
        QVERIFY(m_form->mode().TextMode);
        memo().SelectRange(0, 0);
        type(QStringLiteral("new "));
        QVERIFY(m_form->actions().SaveAction->isEnabled());
        const JournalEntry written = journalOfWindow();
        QCOMPARE(written.mode, JournalEntry::Mode::Text);
        QCOMPARE(written.textFormat.lineBreak, LineBreak::CR);
        QCOMPARE(written.firstLine, QStringLiteral("new row 0"));
        QCOMPARE(written.caret, 4);
        QByteArray expected = "new " + original;
        QCOMPARE(written.content, QByteArray(expected).replace('\r', '\n'));
        leaveJournal(written);

        open();
        answerRestoreDialog(TJournalRestoreDialog::Choice::Restore);
        m_form->journalRestore().OfferJournals();
        QVERIFY(memo().HoldsLargeText());
        QVERIFY(memo().Modified());
        QCOMPARE(m_form->document().DocumentName, file);
        QCOMPARE(readAll(file), original);
        m_form->fileCommands().SaveActionExecute();
        QCOMPARE(readAll(file), expected);
        QVERIFY(!memo().Modified());
        QCOMPARE(journalFiles(), QStringList());
    }

    void restoreUntitledRtf() {
        open();
        type(QStringLiteral("never saved"));
        const JournalEntry written = journalOfWindow();
        QCOMPARE(written.documentName, TDocumentState::Untitled);
        leaveJournal(written);

        open();
        answerRestoreDialog(TJournalRestoreDialog::Choice::Restore);
        m_form->journalRestore().OfferJournals();
        QCOMPARE(m_form->document().DocumentName, TDocumentState::Untitled);
        QVERIFY(m_form->mode().RTFMode);
        QCOMPARE(memo().document()->toPlainText(), QStringLiteral("never saved"));
        QVERIFY(memo().Modified());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Untitled - Quillet Vado"));
    }

    // Further journals chosen together go each to a new editor process.
    void furtherJournalsGoToNewProcesses() {
        JournalEntry first;
        first.documentName = TDocumentState::Untitled;
        first.time = QDateTime::currentDateTimeUtc().addSecs(-10);
        first.content = "{\\rtf1\\ansi first\\par}";
        JournalEntry second = first;
        second.time = first.time.addSecs(5);
        second.content = "{\\rtf1\\ansi second\\par}";
        leaveJournal(first);
        const QString secondPath = leaveJournal(second);
        open();
        answerRestoreDialog(TJournalRestoreDialog::Choice::Restore);
        m_form->journalRestore().OfferJournals();
        QCOMPARE(memo().document()->toPlainText(), QStringLiteral("first"));
        QCOMPARE(m_services->shell.launches.size(), 1);
        QCOMPARE(m_services->shell.launches[0].file, m_form->fileCommands().ProgramPath);
        QVERIFY(!qEnvironmentVariableIsSet(TJournalRestore::kRestoreVariable));

        // The new process finds the journal named in its environment.
        open();
        qputenv(TJournalRestore::kRestoreVariable, QFile::encodeName(secondPath));
        m_form->journalRestore().OfferJournals();
        QVERIFY(!qEnvironmentVariableIsSet(TJournalRestore::kRestoreVariable));
        QCOMPARE(memo().document()->toPlainText(), QStringLiteral("second"));
        QCOMPARE(m_prompts->records().size(), 1); // only the first window's offer
    }

    void laterKeepsDiscardRemoves() {
        JournalEntry entry;
        entry.documentName = TDocumentState::Untitled;
        entry.time = QDateTime::currentDateTimeUtc();
        entry.content = "{\\rtf1\\ansi kept\\par}";
        const QString path = leaveJournal(entry);
        open();
        answerRestoreDialog(TJournalRestoreDialog::Choice::Later);
        m_form->journalRestore().OfferJournals();
        QVERIFY(QFile::exists(path));
        QVERIFY(!memo().Modified());

        // This process holds the ended owner's name now; a new one is offered the journal.
        const QString again =
            JournalStore::pathFor(JournalStore::folder(), JournalStore::newOwnerId());
        QVERIFY(QFile::rename(path, again));
        open();
        answerRestoreDialog(TJournalRestoreDialog::Choice::Discard);
        m_form->journalRestore().OfferJournals();
        QVERIFY(!QFile::exists(again));
        QCOMPARE(journalFiles(), QStringList());
    }

    // Another window of this process is a running editor: its journal is not offered.
    void runningEditorsJournalNotOffered() {
        open();
        type(QStringLiteral("still typing"));
        journalOfWindow();
        auto running = std::move(m_form);
        auto runningServices = std::move(m_services);
        open();
        m_form->journalRestore().OfferJournals();
        QCOMPARE(m_prompts->records().size(), 0);
        QCOMPARE(journalFiles().size(), 1);
        running.reset();
        runningServices.reset();
    }

    void damagedJournalSkippedWithMessage() {
        const QString path =
            JournalStore::pathFor(JournalStore::folder(), JournalStore::newOwnerId());
        QByteArray bytes = JournalFile::encode(JournalEntry{TDocumentState::Untitled,
                                                            JournalEntry::Mode::Rtf,
                                                            {},
                                                            0,
                                                            QDateTime::currentDateTimeUtc(),
                                                            "{\\rtf1 lost\\par}",
                                                            QStringLiteral("lost")});
        bytes.chop(4);
        writeAll(path, bytes);
        open();
        m_form->journalRestore().OfferJournals();
        const QString moved =
            QDir(JournalStore::damagedFolder()).filePath(QFileInfo(path).fileName());
        QCOMPARE(m_prompts->texts(),
                 QStringList{QStringLiteral("The unsaved document journal \"%1\" cannot be read "
                                            "(incomplete content) and was skipped. It was moved "
                                            "to \"%2\".")
                                 .arg(path, moved)});
        QCOMPARE(m_prompts->records()[0].caption, QStringLiteral("Restore Unsaved Documents"));
        QVERIFY(QFile::exists(moved));
        QCOMPARE(journalFiles(), QStringList());
    }

    void writeFailureInCommentsPanelOnce() {
        QDir(JournalStore::folder()).removeRecursively();
        writeAll(JournalStore::folder(), "a file where the folder belongs");
        open();
        QSignalSpy failed(&m_form->documentJournal().writer(), &JournalWriter::writeFailed);
        type(QStringLiteral("a"));
        QVERIFY(failed.wait(10000));
        const QString comment = m_form->status().text(TStatusPanels::Comments);
        QVERIFY2(comment.startsWith(QStringLiteral("Crash journal not written: ")),
                 qPrintable(comment));
        QCOMPARE(m_prompts->records().size(), 0);
        m_form.reset();
        QFile::remove(JournalStore::folder());
    }
};

QUILLET_TEST_MAIN(tst_DocumentJournal)
#include "tst_documentjournal.moc"
