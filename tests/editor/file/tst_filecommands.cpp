#include "editor/document/documentstate.h"
#include "editor/document/modeflags.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/frame/toolbars.h"
#include "editor/htmlview/htmlview.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/window/editorsettings.h"
#include "editor/window/mainform.h"
#include "editor/window/windowsettings.h"
#include "editorservices.h"
#include "platform/filenames.h"
#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

enum class Mode { Rtf, Text, Html };

const QString SettingsKeyPath = QuilletSettingsKey;

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

void writePicture(const QString &path, const char *format) {
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, format));
}

const QByteArray BoldRtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}"
                           "\\f0\\fs24 plain {\\b bold} end\\par}";

// Makes the first word bold, which counts as formatting a text file cannot keep.
void boldFirstWord(TRxRichEdit &memo) {
    QTextCursor cursor(memo.document());
    cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
}

void typeAtEnd(TRxRichEdit &memo, const QString &text) {
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, text);
}

void dropFiles(QWidget *target, const QStringList &paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

} // namespace

Q_DECLARE_METATYPE(Mode)

// The editor's file commands over real files: the loader's kinds, the save paths with their
// questions, dropped files, the recent files, and the settings that survive a restart.
class tst_FileCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    // The instance name answer each new window gets: every window a process of its own.
    NamedMutex::Claim m_claim = NamedMutex::Claim::Created;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<TMainForm> makeForm(const QString &commandLineFile = {}) {
        auto form = std::make_unique<TMainForm>(
            MainFormContext{.prompts = *m_prompts,
                            .shell = *m_shell,
                            .settings = m_services->settings,
                            .help = m_services->help,
                            .claimMutex = [this](const QString &) { return m_claim; },
                            .commandLineFile = commandLineFile,
                            .wait = [](int) {}});
        form->show();
        return form;
    }
    void restart(const QString &commandLineFile = {}) {
        m_form.reset();
        m_form = makeForm(commandLineFile);
    }

    TFileCommands &commands() const { return m_form->fileCommands(); }
    TEditorActions &actions() const { return m_form->actions(); }
    TRxRichEdit &memo() const { return m_form->Memo(); }
    TDocumentState &document() const { return m_form->document(); }
    QString comments() const { return m_form->status().text(TStatusPanels::Comments); }
    Mode mode() const {
        const TModeFlags &flags = m_form->mode();
        return flags.HTMLMode ? Mode::Html : flags.TextMode ? Mode::Text : Mode::Rtf;
    }
    // The recent files as the File menu shows them, newest first.
    QStringList recentMenu() const {
        QStringList shown;
        for (QAction *item :
             {actions().FileName1, actions().FileName2, actions().FileName3, actions().FileName4})
            if (item->isVisible())
                shown.append(item->text());
        return shown;
    }
    void openThroughDialog(const QStringList &files, int filterEntry = 6) {
        m_prompts->answerOpen(files, filterEntry - 1);
        actions().OpenAction->trigger();
    }
    // Opens a file through the loader alone, as the file list and the page links do.
    void openFile(const QString &file) { commands().OpenFile(file); }

    QString lastText() const {
        return m_prompts->records().isEmpty() ? QString() : m_prompts->records().last().text;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile::remove(SettingsStore::userStorePath());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_shell = std::make_unique<RecordingShell>();
        m_services = std::make_unique<EditorServices>();
        m_claim = NamedMutex::Claim::Created;
        m_form = makeForm();
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
    }

    void loaderDecidesByTheName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Mode>("expectedMode");
        QTest::addColumn<bool>("dataFile");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("launched");
        QTest::addColumn<int>("played");
        QTest::addRow("rtf") << "letter.rtf" << Mode::Rtf << false << false << 0 << 0;
        QTest::addRow("text") << "notes.txt" << Mode::Text << false << false << 0 << 0;
        QTest::addRow("no extension") << "README" << Mode::Text << false << false << 0 << 0;
        QTest::addRow("JPG upper case") << "photo.JPG" << Mode::Html << false << true << 0 << 0;
        QTest::addRow("gif") << "anim.gif" << Mode::Html << false << true << 0 << 0;
        QTest::addRow("html page") << "page.html" << Mode::Html << false << true << 0 << 0;
        QTest::addRow("jpeg is a data file")
            << "clip.jpeg" << Mode::Text << true << false << 0 << 0;
        QTest::addRow("wave") << "ding.wav" << Mode::Rtf << false << false << 0 << 1;
        QTest::addRow("program") << "setup.exe" << Mode::Rtf << false << false << 1 << 0;
    }
    void loaderDecidesByTheName() {
        QFETCH(QString, name);
        QFETCH(Mode, expectedMode);
        QFETCH(bool, dataFile);
        QFETCH(bool, shown);
        QFETCH(int, launched);
        QFETCH(int, played);
        const QString file = path(name);
        if (name.endsWith(QLatin1String(".JPG")))
            writePicture(file, "JPG");
        else if (name.endsWith(QLatin1String(".gif")) || name.endsWith(QLatin1String(".jpeg")))
            writePicture(file, name.endsWith(QLatin1String(".gif")) ? "PNG" : "JPG");
        else if (name.endsWith(QLatin1String(".rtf")))
            writeBytes(file, BoldRtf);
        else if (name.endsWith(QLatin1String(".html")))
            writeBytes(file, "<html><body><p>Page text</p></body></html>");
        else
            writeBytes(file, "first line\nsecond line\n");
        memo().SetText(QStringLiteral("earlier text"));
        memo().SetModified(true);

        openFile(file);

        QCOMPARE(mode(), expectedMode);
        QCOMPARE(document().DataFile, dataFile);
        QCOMPARE(m_form->htmlLite1().shownFile() == file, shown);
        QCOMPARE(m_shell->launches.size(), launched);
        QCOMPARE(m_shell->waves.size(), played);
        QCOMPARE(m_form->windowTitle(), name + QStringLiteral(" - Quillet Vado"));
        QCOMPARE(document().DocumentName, file);
        if (expectedMode == Mode::Html || launched || played) {
            // Only shown, played or started: the editing area keeps its text.
            QCOMPARE(memo().Text(), QStringLiteral("earlier text"));
        } else if (name == QLatin1String("letter.rtf")) {
            QCOMPARE(memo().Text(), QStringLiteral("plain bold end"));
        } else if (!dataFile) {
            QCOMPARE(memo().Text(), QStringLiteral("first line\r\nsecond line\r\n"));
        }
        // A started program leaves the modified flag; every other kind clears it.
        QCOMPARE(memo().Modified(), launched == 1);
    }

    void missingFileIsReportedAndNamed() {
        const QString missing = path(QStringLiteral("gone.txt"));
        m_prompts->answerButton(QMessageBox::Ok);
        openFile(missing);
        QCOMPARE(lastText(), QStringLiteral("I cant load ") + missing +
                                 QStringLiteral("! \n\rPlease check file name and location and "
                                                "try again !"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("gone.txt - Quillet Vado"));
    }

    // A name that is not UTF-8 reaches the file list with replacement characters, and no file
    // has that name: the reason is said instead of "check file name and location".
    void fileListNameThatIsNotUtf8IsRefusedWithItsReason() {
        const QByteArray bytes = QFile::encodeName(m_dir->path()) + "/latin1-\xe9.rtf";
        std::FILE *file = std::fopen(bytes.constData(), "w");
        QVERIFY(file);
        std::fputs("{\\rtf1 x}", file);
        std::fclose(file);
        const QStringList listed = FileListBox::listFolder(m_dir->path(), QStringLiteral("*.rtf"));
        const QString shown =
            QStringLiteral("latin1-") + QChar(QChar::ReplacementCharacter) + QStringLiteral(".rtf");
        QVERIFY(listed.contains(shown));
        memo().SetText(QStringLiteral("earlier text"));
        m_prompts->answerButton(QMessageBox::Ok);
        openFile(path(shown));
        QCOMPARE(lastText(), UnusableFileNameText(shown));
        QCOMPARE(memo().Text(), QStringLiteral("earlier text"));
    }

    // Folders and pipes are not read (a pipe without a writer would block); the window goes on.
    void specialFilesAreNotRead_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pipe");
        QTest::addRow("pipe as text") << "pipe.txt" << true;
        QTest::addRow("pipe as rtf") << "pipe.rtf" << true;
        QTest::addRow("pipe as picture") << "pipe.jpg" << true;
        QTest::addRow("pipe as sound") << "pipe.wav" << true;
        QTest::addRow("folder as text") << "folder.txt" << false;
    }
    void specialFilesAreNotRead() {
        QFETCH(QString, name);
        QFETCH(bool, pipe);
        const QString special = path(name);
        if (pipe)
            QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkpath(special));
        typeAtEnd(memo(), QStringLiteral("kept"));
        openFile(special);
        QCOMPARE(document().DocumentName, special);
        QVERIFY(m_shell->waves.isEmpty());
        // Nothing was loaded under that name: Save asks for another one.
        actions().MenuPlainRTF->trigger();
        typeAtEnd(memo(), QStringLiteral("x"));
        m_prompts->answerSave(QString());
        actions().SaveAction->trigger();
        QCOMPARE(m_prompts->records().last().kind, ScriptedPrompts::Kind::SaveFile);
    }

    void openAsTextShowsAPictureAsData() {
        const QString picture = path(QStringLiteral("photo.jpg"));
        writePicture(picture, "JPG");
        memo().SetWordWrap(true);
        m_prompts->answerOpen({picture}, 5);
        actions().OpenasTextonly1->trigger();
        QCOMPARE(mode(), Mode::Text);
        QVERIFY(document().DataFile);
        QVERIFY(!memo().WordWrap());
        QVERIFY(!commands().OpenAsText);
        QVERIFY(memo().Text().contains(QChar(1)));

        // An RTF file opened as text shows its source.
        const QString letter = path(QStringLiteral("letter.rtf"));
        writeBytes(letter, BoldRtf);
        m_prompts->answerOpen({letter}, 5);
        actions().OpenasTextonly1->trigger();
        QCOMPARE(mode(), Mode::Text);
        QVERIFY(!document().DataFile);
        QVERIFY(memo().Text().startsWith(QLatin1String("{\\rtf1\\ansi")));
        QVERIFY(!commands().OpenAsText);
    }

    // The first file opens here, every further one in an editor process of its own, with paths
    // that hold blanks, non-ASCII letters and more than 300 characters passed whole.
    void multipleSelectionStartsNewProcesses() {
        const QString first = path(QStringLiteral("first file.txt"));
        writeBytes(first, "one");
        const QString umlauts = path(QStringLiteral("Grüße an alle.rtf"));
        const QString longName = path(QString(140, QLatin1Char('a')) + QLatin1Char('/') +
                                      QString(150, QChar(0x00E9)) + QStringLiteral(" b.txt"));
        QVERIFY(longName.size() > 300);
        const QStringList chosen{first, umlauts, longName};
        openThroughDialog(chosen);
        const ScriptedPrompts::Record &dialog = m_prompts->records().first();
        QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(dialog.filters.size(), 8);
        QVERIFY(dialog.filters.at(6).startsWith(QLatin1String("Execute File !")));
        QCOMPARE(memo().Text(), QStringLiteral("one"));
        QCOMPARE(m_shell->launches.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(m_shell->launches.at(i).file, commands().ProgramPath);
            QCOMPARE(m_shell->launches.at(i).parameters, chosen.at(i + 1));
        }
        QCOMPARE(m_form->windowTitle(), QStringLiteral("first file.txt - Quillet Vado"));
        QCOMPARE(recentMenu(), QStringList{QStringLiteral("&1 ") + first});
        QCOMPARE(document().OpenDialog.FilterIndex, 6);
    }

    void furtherFileThatCannotStartIsReported() {
        const QString first = path(QStringLiteral("a.txt"));
        writeBytes(first, "a");
        m_shell->launchResult = Shell::kAccessDenied;
        m_prompts->answerOpen({first, path(QStringLiteral("b.txt"))}, 5);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().OpenAction->trigger();
        const ScriptedPrompts::Record &error = m_prompts->records().last();
        QCOMPARE(error.caption, QStringLiteral("File Load Error"));
        QCOMPARE(error.text, QStringLiteral("Can't open file"));
        QCOMPARE(error.icon, QMessageBox::Critical);
        QCOMPARE(document().DocumentName, first);
    }

    // "Execute File !" only starts the file: the text and the document's name stay, so a later
    // Save cannot write the text over the started file.
    void executeFileEntryOnlyStarts() {
        const QString notes = path(QStringLiteral("notes.txt"));
        writeBytes(notes, "notes");
        memo().SetText(QStringLiteral("kept"));
        openThroughDialog({notes}, 7);
        QCOMPARE(m_shell->launches.size(), 1);
        QCOMPARE(m_shell->launches.first().file, notes);
        QCOMPARE(memo().Text(), QStringLiteral("kept"));
        QCOMPARE(document().DocumentName, TDocumentState::Untitled);
        QCOMPARE(document().OpenDialog.FilterIndex, 7);
    }

    void saveOfUntitledRunsSaveAsAndListsTheName() {
        typeAtEnd(memo(), QStringLiteral("Hello"));
        m_prompts->answerSave(path(QStringLiteral("report")), 0);
        actions().SaveAction->trigger();
        const QString target = path(QStringLiteral("report.rtf"));
        QVERIFY(readBytes(target).startsWith("{\\rtf1"));
        QCOMPARE(document().DocumentName, target);
        QCOMPARE(recentMenu(), QStringList{QStringLiteral("&1 ") + target});
        QVERIFY(!memo().Modified());
        QVERIFY(!actions().SaveAction->isEnabled());

        // A plain Save As of another document does not add its name.
        typeAtEnd(memo(), QStringLiteral(" again"));
        m_prompts->answerSave(path(QStringLiteral("other.rtf")), 0);
        actions().SaveAsAction->trigger();
        QCOMPARE(recentMenu().size(), 1);
        QVERIFY(QFileInfo::exists(path(QStringLiteral("other.rtf"))));
    }

    void saveAsAppliesTheExtensionRule_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("rtf");
        QTest::addRow("report as rtf") << "report" << 1 << "report.rtf" << true;
        QTest::addRow("report as text") << "report" << 2 << "report.txt" << false;
        QTest::addRow("report as all files") << "report" << 3 << "report.txt" << false;
        QTest::addRow("doc as rtf") << "report.doc" << 1 << "report.rtf" << true;
        QTest::addRow("doc as all files") << "report.doc" << 3 << "report.doc" << false;
        QTest::addRow("html as rtf") << "page.html" << 1 << "page.html.rtf" << true;
    }
    void saveAsAppliesTheExtensionRule() {
        QFETCH(QString, chosen);
        QFETCH(int, entry);
        QFETCH(QString, written);
        QFETCH(bool, rtf);
        typeAtEnd(memo(), QStringLiteral("Plain words"));
        m_prompts->answerSave(path(chosen), entry - 1);
        actions().SaveAsAction->trigger();
        const QByteArray bytes = readBytes(path(written));
        QCOMPARE(bytes.startsWith("{\\rtf1"), rtf);
        if (!rtf)
            QCOMPARE(bytes, QByteArray("Plain words"));
        QCOMPARE(document().DocumentName, path(written));
        QCOMPARE(m_form->windowTitle(), written + QStringLiteral(" - Quillet Vado"));
    }

    // The dialog asked about "notes"; the rule then picks notes.rtf, which exists already.
    void saveAsAsksBeforeReplacingTheChangedName() {
        const QString existing = path(QStringLiteral("notes.rtf"));
        writeBytes(existing, "{\\rtf1 keep me}");
        typeAtEnd(memo(), QStringLiteral("new"));
        m_prompts->answerSave(path(QStringLiteral("notes")), 0);
        m_prompts->answerButton(QMessageBox::No);
        actions().SaveAsAction->trigger();
        QCOMPARE(readBytes(existing), QByteArray("{\\rtf1 keep me}"));
        QVERIFY(memo().Modified());
        QCOMPARE(document().DocumentName, TDocumentState::Untitled);
        QCOMPARE(comments(), QStringLiteral("Not saved"));
    }

    // Declining the warning writes nothing; the document stays modified under its name, so the
    // edits are asked about again at the next close.
    void declinedTextWarningKeepsTheChanges_data() {
        QTest::addColumn<bool>("saveAs");
        QTest::addRow("Save") << false;
        QTest::addRow("Save As to text") << true;
    }
    void declinedTextWarningKeepsTheChanges() {
        QFETCH(bool, saveAs);
        const QString letter = path(QStringLiteral("letter.txt"));
        writeBytes(letter, "Dear reader\n");
        openFile(letter);
        actions().MenuPlainRTF->trigger();
        boldFirstWord(memo());
        QVERIFY(memo().Modified());
        if (saveAs)
            m_prompts->answerSave(path(QStringLiteral("copy.txt")), 1);
        m_prompts->answerButton(QMessageBox::No);
        (saveAs ? actions().SaveAsAction : actions().SaveAction)->trigger();
        QCOMPARE(m_prompts->records().last().text,
                 QStringLiteral("If you switch the editor into text modus, you will lose all "
                                "format information!\r\nDo you really want to proceed?"));
        QCOMPARE(readBytes(letter), QByteArray("Dear reader\n"));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("copy.txt"))));
        QVERIFY(memo().Modified());
        QVERIFY(actions().SaveAction->isEnabled());
        QCOMPARE(document().DocumentName, letter);
        QCOMPARE(comments(), QStringLiteral("Not saved"));
    }

    void acceptedTextWarningWritesPlainText() {
        const QString letter = path(QStringLiteral("letter.txt"));
        writeBytes(letter, "Dear reader\n");
        openFile(letter);
        actions().MenuPlainRTF->trigger();
        boldFirstWord(memo());
        m_prompts->answerButton(QMessageBox::Yes);
        actions().SaveAction->trigger();
        QCOMPARE(readBytes(letter), QByteArray("Dear reader\n"));
        QVERIFY(!memo().Modified());
        QCOMPARE(mode(), Mode::Text);
    }

    // A name ending in ".RTF" keeps its formatting: no warning, RTF written.
    void upperCaseRtfKeepsItsFormatting() {
        const QString letter = path(QStringLiteral("LETTER.RTF"));
        writeBytes(letter, BoldRtf);
        openFile(letter);
        QCOMPARE(mode(), Mode::Rtf);
        typeAtEnd(memo(), QStringLiteral("!"));
        actions().SaveAction->trigger();
        const QByteArray bytes = readBytes(letter);
        QVERIFY(bytes.startsWith("{\\rtf1"));
        QVERIFY(bytes.contains("\\b"));
        QVERIFY(!memo().Modified());
    }

    // Encoding and line breaks of a text file survive an edit and a save.
    void textFileKeepsItsEncodingAndLineBreaks() {
        const QString file = path(QStringLiteral("ansi.txt"));
        writeBytes(file, "caf\xE9\r\nna\xEFve\r\n");
        openFile(file);
        QCOMPARE(mode(), Mode::Text);
        QCOMPARE(memo().Text(), QStringLiteral("café\r\nnaïve\r\n"));
        memo().moveCursor(QTextCursor::End);
        memo().insertPlainText(QStringLiteral("\u00FC"));
        actions().SaveAction->trigger();
        QCOMPARE(readBytes(file), QByteArray("caf\xE9\r\nna\xEFve\r\n\xFC"));
    }

    void dataFileIsNeverSavedOver() {
        const QString data = path(QStringLiteral("dump.log"));
        const QByteArray bytes("ab\0cd\r\nef", 9);
        writeBytes(data, bytes);
        openFile(data);
        QVERIFY(document().DataFile);
        typeAtEnd(memo(), QStringLiteral("x"));
        m_prompts->answerButton(QMessageBox::Ok);
        actions().SaveAction->trigger();
        QCOMPARE(lastText(), QStringLiteral("Do not save datafile"));
        QVERIFY(memo().Modified());
        QCOMPARE(comments(), QStringLiteral("Not saved"));
        m_prompts->answerButton(QMessageBox::Ok);
        actions().SaveAsAction->trigger();
        QCOMPARE(lastText(), QStringLiteral("Don't save data file"));
        QCOMPARE(readBytes(data), bytes);
        QCOMPARE(m_prompts->records().last().kind, ScriptedPrompts::Kind::Message);
    }

    // A data file named on the command line stays protected after the window's creation.
    void commandLineDataFileStaysProtected() {
        const QString data = path(QStringLiteral("dump.log"));
        writeBytes(data, QByteArray("a\0b", 3));
        restart(data);
        QVERIFY(document().DataFile);
        QVERIFY(!memo().Modified());
        QCOMPARE(mode(), Mode::Text);
    }

    // After a picture, page, sound or program was opened, the document name is that file: Save
    // asks for a name instead of writing the text over it.
    void saveAfterAForeignFileAsksForAName_data() {
        QTest::addColumn<QString>("name");
        QTest::addRow("picture") << "photo.jpg";
        QTest::addRow("page") << "page.htm";
        QTest::addRow("sound") << "ding.wav";
        QTest::addRow("program") << "tool.exe";
    }
    void saveAfterAForeignFileAsksForAName() {
        QFETCH(QString, name);
        const QString file = path(name);
        writeBytes(file, "original bytes");
        openFile(file);
        actions().MenuPlainRTF->trigger();
        typeAtEnd(memo(), QStringLiteral("typed"));
        m_prompts->answerSave(QString());
        actions().SaveAction->trigger();
        QCOMPARE(m_prompts->records().last().kind, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(readBytes(file), QByteArray("original bytes"));
        QVERIFY(memo().Modified());

        m_prompts->answerSave(path(QStringLiteral("typed.rtf")), 0);
        actions().SaveAction->trigger();
        QVERIFY(readBytes(path(QStringLiteral("typed.rtf"))).startsWith("{\\rtf1"));
        QCOMPARE(readBytes(file), QByteArray("original bytes"));
        // From now on the document is the saved file.
        typeAtEnd(memo(), QStringLiteral(" more"));
        actions().SaveAction->trigger();
        QVERIFY(readBytes(path(QStringLiteral("typed.rtf"))).contains("more"));
    }

    // A file that cannot be written is reported with its path and the reason; the document stays
    // modified and nothing is left half-written.
    void writeErrorIsReported() {
        const QString blocker = path(QStringLiteral("blocker"));
        writeBytes(blocker, "a file, not a folder");
        const QString target = blocker + QStringLiteral("/report.rtf");
        typeAtEnd(memo(), QStringLiteral("words"));
        m_prompts->answerSave(target, 0);
        m_prompts->answerButton(QMessageBox::Ok);
        actions().SaveAsAction->trigger();
        const ScriptedPrompts::Record &error = m_prompts->records().last();
        QCOMPARE(error.icon, QMessageBox::Critical);
        QVERIFY2(error.text.contains(target), qPrintable(error.text));
        QVERIFY(error.text.size() > target.size() + 20);
        QVERIFY(memo().Modified());
        QCOMPARE(document().DocumentName, TDocumentState::Untitled);
    }

    void saveKeepsPermissions() {
        const QString file = path(QStringLiteral("private.txt"));
        writeBytes(file, "secret");
        const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, mode));
        openFile(file);
        typeAtEnd(memo(), QStringLiteral("!"));
        actions().SaveAction->trigger();
        QCOMPARE(readBytes(file), QByteArray("secret!"));
        // The owner and group bits as set; the bits of the user running the test follow them.
        QCOMPARE(QFile::permissions(file) & 0x7077, mode & 0x7077);
    }

    void closeAsksAndCancelKeepsTheWindow() {
        typeAtEnd(memo(), QStringLiteral("unsaved"));
        m_prompts->answerButton(QMessageBox::Cancel);
        QVERIFY(!m_form->close());
        const ScriptedPrompts::Record &question = m_prompts->records().last();
        QCOMPARE(question.caption, QStringLiteral("save file"));
        QCOMPARE(question.text, QStringLiteral("Save Changes to Untitled ?"));
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(question.icon, QMessageBox::NoIcon);
        QVERIFY(m_form->isVisible());
        QVERIFY(m_form->Closing);
        QCOMPARE(memo().Text(), QStringLiteral("unsaved"));

        m_prompts->answerButton(QMessageBox::No);
        QVERIFY(m_form->close());
    }

    // Edits left behind the viewer by "HTML & Picture Mode" are asked about, not dropped.
    void changesBehindTheViewerAreAskedAbout() {
        typeAtEnd(memo(), QStringLiteral("typed"));
        actions().HTMLPictureMode1->trigger();
        QCOMPARE(mode(), Mode::Html);
        m_prompts->answerButton(QMessageBox::Cancel);
        QVERIFY(!m_form->close());
        QCOMPARE(m_prompts->records().last().text, QStringLiteral("Save Changes to Untitled ?"));
        QCOMPARE(mode(), Mode::Rtf);
        QCOMPARE(memo().Text(), QStringLiteral("typed"));
        m_prompts->answerButton(QMessageBox::No);
        QVERIFY(m_form->close());
    }

    // Yes whose save wrote nothing (the name dialog cancelled) keeps the window and the text.
    void yesWithoutASaveActsAsCancel() {
        typeAtEnd(memo(), QStringLiteral("unsaved"));
        m_prompts->answerButton(QMessageBox::Yes);
        m_prompts->answerSave(QString());
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QVERIFY(memo().Modified());

        m_prompts->answerButton(QMessageBox::Yes);
        m_prompts->answerSave(path(QStringLiteral("kept.rtf")), 0);
        QVERIFY(m_form->close());
        QVERIFY(readBytes(path(QStringLiteral("kept.rtf"))).contains("unsaved"));
    }

    void exitClosesAndRefusesDrops() {
        QVERIFY(m_form->acceptDrops());
        typeAtEnd(memo(), QStringLiteral("x"));
        m_prompts->answerButton(QMessageBox::Cancel);
        actions().ExitAction->trigger();
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_form->acceptDrops());
        const QString file = path(QStringLiteral("late.txt"));
        writeBytes(file, "late");
        dropFiles(m_form.get(), {file});
        QCOMPARE(memo().Text(), QStringLiteral("x"));
    }

    // Only the first dropped file opens, under its name as dropped, after the save question.
    void droppedFiles_data() {
        QTest::addColumn<bool>("onTheText");
        QTest::addRow("on the window") << false;
        QTest::addRow("on the editing area") << true;
    }
    void droppedFiles() {
        QFETCH(bool, onTheText);
        const QString first = path(QStringLiteral("Mixed Case ä.txt"));
        const QString second = path(QStringLiteral("second.txt"));
        writeBytes(first, "first");
        writeBytes(second, "second");
        QWidget *target = onTheText ? memo().viewport() : static_cast<QWidget *>(m_form.get());

        typeAtEnd(memo(), QStringLiteral("edited"));
        m_prompts->answerButton(QMessageBox::Cancel);
        dropFiles(target, {first, second});
        QCOMPARE(memo().Text(), QStringLiteral("edited"));
        QCOMPARE(m_prompts->records().last().caption, QStringLiteral("save file"));

        m_prompts->answerButton(QMessageBox::No);
        dropFiles(target, {first, second});
        QCOMPARE(memo().Text(), QStringLiteral("first"));
        QCOMPARE(document().DocumentName, first);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Mixed Case ä.txt - Quillet Vado"));
        QVERIFY(m_shell->launches.isEmpty());
    }

    void recentFilesKeepTheirOrder() {
        QStringList files;
        for (const char *name : {"one.txt", "two.txt", "three.txt", "four.txt", "five & six.txt"}) {
            files.append(path(QString::fromUtf8(name)));
            writeBytes(files.last(), name);
            openThroughDialog({files.last()});
        }
        const QStringList expected{QStringLiteral("&1 ") + path(QStringLiteral("five && six.txt")),
                                   QStringLiteral("&2 ") + files.at(3),
                                   QStringLiteral("&3 ") + files.at(2),
                                   QStringLiteral("&4 ") + files.at(1)};
        QCOMPARE(recentMenu(), expected);
        QVERIFY(actions().FileSep2->isVisible());
        // A listed file opened again keeps its place.
        openThroughDialog({files.at(2)});
        QCOMPARE(recentMenu(), expected);

        // The items open their file and leave the list as it is.
        actions().FileName4->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("two.txt"));
        QCOMPARE(recentMenu(), expected);

        // After a restart the menu shows them in the same order.
        restart();
        QCOMPARE(recentMenu(), expected);
        restart();
        QCOMPARE(recentMenu(), expected);
    }

    void recentItemAsksBeforeReplacingChanges() {
        const QString file = path(QStringLiteral("listed.txt"));
        writeBytes(file, "listed");
        openThroughDialog({file});
        actions().NewAction->trigger();
        typeAtEnd(memo(), QStringLiteral("new text"));
        m_prompts->answerButton(QMessageBox::Cancel);
        actions().FileName1->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("new text"));
        QCOMPARE(document().DocumentName, TDocumentState::Untitled);
    }

    void newAsksAndStartsUntitled() {
        const QString file = path(QStringLiteral("crlf.txt"));
        writeBytes(file, "a\r\nb\r\n");
        openFile(file);
        typeAtEnd(memo(), QStringLiteral("c"));
        m_prompts->answerButton(QMessageBox::No);
        actions().NewAction->trigger();
        QCOMPARE(memo().Text(), QString());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Untitled - Quillet Vado"));
        QCOMPARE(mode(), Mode::Text);
        QVERIFY(!memo().Modified());
        // A new document is written with the platform's line breaks.
        typeAtEnd(memo(), QStringLiteral("x"));
        QTest::keyClick(&memo(), Qt::Key_Return);
        typeAtEnd(memo(), QStringLiteral("y"));
        m_prompts->answerSave(path(QStringLiteral("new.txt")), 1);
        actions().SaveAction->trigger();
        QCOMPARE(readBytes(path(QStringLiteral("new.txt"))), QByteArray("x\ny"));
    }

    // No store yet: the window starts centred at its design size with the file list; closing it
    // stores every value.
    void firstRunWithoutAStore() {
        QCOMPARE(m_form->size(), EditorSettings::DesignSize);
        QVERIFY(!actions().ShowSplash1->isChecked());
        QVERIFY(!actions().StartTV->isChecked());
        m_form.reset();
        SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadOnly);
        QCOMPARE(store.readInteger(SettingsKeyPath, QStringLiteral("ListBoxStatus")), 1);
        QCOMPARE(store.readInteger(SettingsKeyPath, QStringLiteral("NoTV")), 0);
        QCOMPARE(store.readInteger(SettingsKeyPath, QStringLiteral("NOSplash")), 0);
        QCOMPARE(store.readInteger(SettingsKeyPath, QStringLiteral("Width")), 829);
        QCOMPARE(store.readString(SettingsKeyPath, QStringLiteral("FontStyle")), QString());
        QCOMPARE(store.readString(SettingsKeyPath, QStringLiteral("LastFile4")), QString());
        QVERIFY(store.valueExists(SettingsKeyPath, QStringLiteral("UScoreType")));

        // Read back at the next start: no recent files from the empty slots, the default font.
        m_form = makeForm();
        QVERIFY(recentMenu().isEmpty());
        QVERIFY(!actions().FileSep2->isVisible());
        // The style names stay empty, which their commands take as the first style.
        QCOMPARE(m_form->settings().Bulletsstyle, QString());
        QCOMPARE(m_form->settings().FontStyle, QStringLiteral("Times New Roman"));
        QCOMPARE(m_form->toolBars().FontCombo->currentText(), QStringLiteral("Times New Roman"));
    }

    void viewItemsAndStoredValuesSurviveARestart() {
        actions().ShowSplash1->trigger();
        actions().StartTV->trigger();
        QVERIFY(m_form->NoSplash);
        QVERIFY(m_form->settings().NoTV);
        m_form->resize(640, 420);
        m_form->move(30, 40);
        m_form->settings().FontSize = QStringLiteral("10");
        restart();
        QVERIFY(actions().ShowSplash1->isChecked());
        QVERIFY(actions().StartTV->isChecked());
        QVERIFY(m_form->NoSplash);
        QCOMPARE(m_form->size(), QSize(640, 420));
        QCOMPARE(m_form->toolBars().FontSizeBox->value(), 10);
        QCOMPARE(memo().document()->defaultFont().pointSize(), 10);
    }

    void storedSizeBelowTheMinimumIsRaised() {
        m_form.reset();
        QFile::remove(SettingsStore::userStorePath());
        SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
        store.writeInteger(SettingsKeyPath, QStringLiteral("Top"), 10);
        store.writeInteger(SettingsKeyPath, QStringLiteral("Left"), 10);
        store.writeInteger(SettingsKeyPath, QStringLiteral("Width"), 100);
        store.writeInteger(SettingsKeyPath, QStringLiteral("Height"), 50);
        store.writeString(SettingsKeyPath, QStringLiteral("FontSize"), QStringLiteral("abc"));
        m_form = makeForm();
        QCOMPARE(m_form->size(), QSize(500, 300));
        QCOMPARE(m_form->toolBars().FontSizeBox->value(), 12);
        // FontStyle is absent: the editing area takes "Courier".
        QCOMPARE(memo().document()->defaultFont().family(), QStringLiteral("Courier"));
    }

    // Another editor process runs: this one starts with the design defaults, and when it closes
    // last its values are the ones stored.
    void secondEditorStartsWithDefaults() {
        const QString file = path(QStringLiteral("listed.txt"));
        writeBytes(file, "x");
        openThroughDialog({file});
        m_form->resize(700, 450);
        restart();
        QCOMPARE(recentMenu().size(), 1);

        m_claim = NamedMutex::Claim::AlreadyExisted;
        std::unique_ptr<TMainForm> second = makeForm();
        QVERIFY(second->actions().FileName1->isVisible() == false);
        QCOMPARE(second->size(), EditorSettings::DesignSize);
        m_form.reset();
        second.reset();
        SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadOnly);
        QCOMPARE(store.readString(SettingsKeyPath, QStringLiteral("LastFile4")), QString());
        QCOMPARE(store.readInteger(SettingsKeyPath, QStringLiteral("Width")), 829);
    }

    // The store cannot be written: the failure is reported and the window still goes away.
    void settingsWriteFailureIsReported() {
        const QString storePath = SettingsStore::userStorePath();
        const QString folder = QFileInfo(storePath).absolutePath();
        QDir(folder).removeRecursively();
        writeBytes(folder, "a file where the folder belongs");
        m_prompts->answerButton(QMessageBox::Ok);
        m_form.reset();
        QCOMPARE(m_prompts->records().last().icon, QMessageBox::Critical);
        QFile::remove(folder);
        QVERIFY(QDir().mkpath(folder));
    }

    // Two editor processes closed in turn: the one that closes last decides what is stored.
    void twoProcessesLastOneWins() {
        m_form.reset();
        {
            SettingsStore store(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
            store.writeInteger(SettingsKeyPath, QStringLiteral("Top"), 20);
            store.writeInteger(SettingsKeyPath, QStringLiteral("Left"), 20);
            store.writeInteger(SettingsKeyPath, QStringLiteral("Width"), 600);
            store.writeInteger(SettingsKeyPath, QStringLiteral("Height"), 400);
            store.writeString(SettingsKeyPath, QStringLiteral("LastFile4"),
                              QStringLiteral(" /stored/before.txt"));
        }
        QProcess first;
        QProcess second;
        for (QProcess *process : {&first, &second}) {
            process->setProgram(QStringLiteral(QUILLET_EDITOR_HELPER));
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        }
        first.start();
        QVERIFY(first.waitForReadyRead(30000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("ready 1 /stored/before.txt"));
        second.start();
        QVERIFY(second.waitForReadyRead(30000));
        // The second editor found another one running and read nothing.
        QCOMPARE(second.readLine().trimmed(), QByteArray("ready 0"));

        first.write("add /first/a.txt\nclose\n");
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        SettingsStore afterFirst(SettingsStore::userStorePath(), SettingsStore::Access::ReadOnly);
        QCOMPARE(afterFirst.readString(SettingsKeyPath, QStringLiteral("LastFile4")),
                 QStringLiteral(" /first/a.txt"));
        QCOMPARE(afterFirst.readString(SettingsKeyPath, QStringLiteral("LastFile3")),
                 QStringLiteral(" /stored/before.txt"));

        second.write("add /second/b.txt\nclose\n");
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        SettingsStore afterSecond(SettingsStore::userStorePath(), SettingsStore::Access::ReadOnly);
        QCOMPARE(afterSecond.readString(SettingsKeyPath, QStringLiteral("LastFile4")),
                 QStringLiteral(" /second/b.txt"));
        QCOMPARE(afterSecond.readString(SettingsKeyPath, QStringLiteral("LastFile3")), QString());
        QCOMPARE(afterSecond.readInteger(SettingsKeyPath, QStringLiteral("Width")), 829);
    }
};

QUILLET_TEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
