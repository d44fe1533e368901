#include "editor/file/filecommands.h"

#include "editor/document/documentstate.h"
#include "editor/document/editormodes.h"
#include "editor/document/modeflags.h"
#include "editor/file/documentfile.h"
#include "editor/file/filedialog.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/htmlview/htmlview.h"
#include "platform/busycursor.h"
#include "platform/errorreport.h"
#include "platform/filenames.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "platform/usererror.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>
#include <exception>

namespace {

const QString NotSavedComment = QStringLiteral("Not saved");

// The local files a drag carries, in the order given.
QStringList droppedFiles(const QMimeData *mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(url.toLocalFile());
    return files;
}

// Folders, pipes and devices are never read: a pipe without a writer would block the window.
bool isRegularFile(const QString &name) {
    return QFileInfo(name).isFile();
}

void requireRegularFile(const QString &name) {
    if (!isRegularFile(name))
        throw UserError(TextFileError{name, QStringLiteral("not a regular file")}.message());
}

} // namespace

TFileCommands::TFileCommands(FileCommandsContext context, QObject *parent)
    : QObject(parent)
    , ProgramPath(QCoreApplication::applicationFilePath())
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.NewAction, this, &TFileCommands::NewActionExecute);
    a.route(a.OpenAction, this, &TFileCommands::OpenActionExecute);
    a.route(a.OpenasTextonly1, this, &TFileCommands::OpenasTextonly1Click);
    a.route(a.SaveAction, this, &TFileCommands::SaveActionExecute);
    a.route(a.SaveAsAction, this, &TFileCommands::SaveAsActionExecute);
    a.route(a.ExitAction, this, &TFileCommands::ExitActionExecute);
    a.route(a.FileName1, this, &TFileCommands::FileName1Click);
    a.route(a.FileName2, this, &TFileCommands::FileName2Click);
    a.route(a.FileName3, this, &TFileCommands::FileName3Click);
    a.route(a.FileName4, this, &TFileCommands::FileName4Click);

    m_context.document.OpenDialog.Filter = qtFileFilters(openFilter());
    m_context.document.OpenDialog.FilterIndex = 6;
    m_context.document.SaveDialog.Filter = qtFileFilters(saveFilter());

    connect(m_context.Memo.document(), &QTextDocument::modificationChanged, this,
            &TFileCommands::SaveActionUpdate);
    SaveActionUpdate();
    showRecentFiles();

    // Files dropped anywhere on the window, the editing area included, are opened.
    m_context.window.setAcceptDrops(true);
    m_context.window.installEventFilter(this);
    m_context.Memo.viewport()->installEventFilter(this);
}

QString TFileCommands::openFilter() {
    return QStringLiteral(
        "RichTextFiles(*.rtf)|*.rtf|HTML Files (*.htm)|*.htm,*.html|Graphic Files (*.jpg; *.gif; "
        "*.bmp...)|*.jpg;*.gif;*.bmp|Sound Files(*.wav)|*.wav|Text Files (*.txt)|*.txt|Quillet "
        "Files|*.jpg;*.gif;*.bmp;*.htm;*.html;*.rtf;*.txt;*.wav;*.ini;*.bat;*.tmp;*.log;*.pas;*."
        "dpr;*.cpp;*.bas|Execute File !|*.*|All Files (*.*)|*.*");
}

QString TFileCommands::saveFilter() {
    return QStringLiteral(
        "Richtext files (*.rtf)|*.RTF|Text files (*.txt)|*.TXT|All files (*.*)|*.*");
}

void TFileCommands::SaveActionUpdate() {
    m_context.actions.setAllowed(m_context.actions.SaveAction, m_context.Memo.Modified());
}

void TFileCommands::simpleMessage(const QString &text) {
    m_context.prompts.message(&m_context.window, QGuiApplication::applicationDisplayName(), text,
                              QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

void TFileCommands::OpenFile(const QString &name) {
    m_context.document.DataFile = false;
    // The caption shows the file even when it cannot be loaded.
    m_context.document.SetDocumentName(name);
    if (IsUnreadableFileName(name)) {
        simpleMessage(UnusableFileNameText(QFileInfo(name).fileName()));
        return;
    }
    if (!QFileInfo::exists(name)) {
        simpleMessage(QStringLiteral("I cant load ") + name + QStringLiteral("! \n\r") +
                      QStringLiteral("Please check file name and location and try again !"));
        return;
    }
    const FileKind kind = DecideFileKind(name, OpenAsText);
    bool finish = true;
    {
        BusyCursor busy;
        try {
            switch (kind) {
            case FileKind::Program:
                m_saveAsOnly = true;
                m_context.shell.LaunchFile(name, QString(), QString(), Shell::ShowState::Normal);
                finish = false;
                break;
            case FileKind::Picture:
            case FileKind::Page: {
                m_saveAsOnly = true;
                if (!m_context.flags.HTMLMode)
                    m_context.modes.switchHTML();
                finish = isRegularFile(name) &&
                         (kind == FileKind::Page ? m_context.htmlLite1.loadPage(name)
                                                 : m_context.htmlLite1.loadPicture(name));
                break;
            }
            case FileKind::Sound:
                m_saveAsOnly = true;
                // Plays to its end; without a sound device it returns at once, silently.
                if (isRegularFile(name))
                    m_context.shell.playWave(name);
                break;
            case FileKind::Rtf:
            case FileKind::Text:
                // Until the load succeeds the text shown does not belong to this name.
                m_saveAsOnly = true;
                loadIntoMemo(name, kind);
                m_saveAsOnly = false;
                break;
            }
            if (finish && ShowDocumentFolder)
                ShowDocumentFolder();
        } catch (const std::exception &) {
            // A file that cannot be read ends the loading silently; the rest still runs.
        }
    }
    if (!finish)
        return;
    m_context.Memo.SetModified(false);
    if (!m_context.StartedWithFile && SyncFileListSelection)
        SyncFileListSelection();
}

void TFileCommands::loadIntoMemo(const QString &name, FileKind kind) {
    if (kind == FileKind::Rtf) {
        if (!m_context.flags.RTFMode)
            m_context.modes.switchText();
        m_context.Memo.SetPlainText(false);
        requireRegularFile(name);
        ResetPlainTextFormat(m_context.Memo);
        m_context.Memo.Lines().LoadFromFile(name);
        return;
    }
    const bool asText = OpenAsText;
    OpenAsText = false;
    if (!m_context.flags.TextMode)
        m_context.modes.switchText();
    if (m_context.actions.MenuPlainRTF->isChecked())
        m_context.modes.switchRTFoff();
    requireRegularFile(name);
    m_context.document.DataFile = IsDataFile(name);
    // Text mode edits plain text. Switching before the load keeps the first save from converting
    // the whole new text afterwards; the text shown until now is replaced anyway.
    if (!m_context.Memo.PlainText()) {
        m_context.Memo.Clear();
        m_context.Memo.SetPlainText(true);
    }
    if (m_context.document.DataFile) {
        ResetPlainTextFormat(m_context.Memo);
        m_context.Memo.SetText(ReadTextFile(name));
    } else {
        // Read as plain text whatever the name says: "Open as Text" shows an RTF file's source.
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            throw UserError(TextFileError{name, file.errorString()}.message());
        const TRxRichEdit::TStreamFormat format = m_context.Memo.StreamFormat();
        m_context.Memo.SetStreamFormat(TRxRichEdit::sfPlainText);
        try {
            m_context.Memo.Lines().LoadFromStream(file);
        } catch (...) {
            m_context.Memo.SetStreamFormat(format);
            throw;
        }
        m_context.Memo.SetStreamFormat(format);
    }
    if (asText && m_context.Memo.WordWrap()) {
        // The word-wrap command turns wrapping off.
        if (m_context.actions.isRouted(m_context.actions.WWAction)) {
            m_context.actions.WWAction->trigger();
        } else {
            m_context.Memo.SetWordWrap(false);
            m_context.actions.WWAction->setChecked(false);
        }
    }
}

bool TFileCommands::AskSaveChanges() {
    if (!m_context.Memo.Modified())
        return true;
    // Edits made before "HTML & Picture Mode" lie behind the viewer; they are shown again and
    // asked about rather than dropped.
    if (m_context.flags.HTMLMode)
        m_context.modes.switchText();
    const QMessageBox::StandardButton answer = m_context.prompts.message(
        &m_context.window, QStringLiteral("save file"),
        QStringLiteral("Save Changes to ") + m_context.document.DocumentName + QStringLiteral(" ?"),
        QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    // A save that wrote nothing (declined, cancelled, refused) must not let the changes go.
    return Save();
}

void TFileCommands::NewActionExecute() {
    if (m_context.flags.HTMLMode)
        m_context.modes.switchText();
    if (m_context.actions.MenuPlainText->isChecked())
        m_context.modes.MenuPlainTextClick();
    else
        m_context.modes.MenuPlainRTFClick();
    if (m_context.actions.SaveAction->isEnabled() && !AskSaveChanges())
        return;
    m_context.document.SetDocumentName(TDocumentState::Untitled);
    if (m_context.Memo.Lines().Count() > 0)
        m_context.Memo.Clear();
    ResetPlainTextFormat(m_context.Memo);
    emit m_context.Memo.OnSelectionChange();
    m_context.actions.MenuLetterStyle->setChecked(false);
    m_context.document.DataFile = false;
    m_saveAsOnly = false;
    m_context.Memo.SetModified(false);
}

void TFileCommands::OpenActionExecute() {
    if (m_context.Memo.Modified() && !AskSaveChanges())
        return;
    TFileDialog &dialog = m_context.document.OpenDialog;
    int filterIndex = dialog.FilterIndex - 1;
    const QStringList files =
        m_context.prompts.openFileNames(&m_context.window, QStringLiteral("Open"),
                                        dialog.InitialDir, dialog.Filter, &filterIndex, true);
    if (files.isEmpty())
        return;
    dialog.FilterIndex = filterIndex + 1;
    const QString first = files.first();
    if (dialog.FilterIndex == ExecuteFileEntry) {
        // Only started: the document keeps its name, so nothing is ever saved over the file.
        m_context.shell.LaunchFile(first, QString(), QString(), Shell::ShowState::Normal);
        return;
    }
    m_context.document.DocumentName = first;
    OpenFile(first);
    // Each further file opens in an editor of its own.
    for (qsizetype i = 1; i < files.size(); ++i) {
        bool started = false;
        try {
            started = Shell::succeeded(m_context.shell.LaunchFile(
                ProgramPath, files.at(i), QString(), Shell::ShowState::Normal));
        } catch (const std::exception &) {
        }
        if (!started)
            m_context.prompts.error(&m_context.window, QStringLiteral("File Load Error"),
                                    QStringLiteral("Can't open file"));
    }
    m_context.document.SetDocumentName(first);
    m_context.Memo.SetModified(false);
    AddRecentFile(first);
    m_context.actions.MenuLetterStyle->setChecked(false);
}

void TFileCommands::OpenasTextonly1Click() {
    OpenAsText = true;
    OpenActionExecute();
}

void TFileCommands::SaveActionExecute() {
    Save();
}

void TFileCommands::SaveAsActionExecute() {
    SaveAs();
}

void TFileCommands::write(const QString &target) {
    SaveMemoToFile(m_context.Memo, target);
    m_context.Memo.SetModified(false);
}

void TFileCommands::notSaved() {
    m_context.status.setTextSized(TStatusPanels::Comments, NotSavedComment);
}

bool TFileCommands::Save() {
    const QString name = m_context.document.DocumentName;
    if (m_saveAsOnly)
        return SaveAs();
    if (name == TDocumentState::Untitled) {
        AddRecentOnSaveAs = true;
        return SaveAs();
    }
    bool written = false;
    if (HasRtfExtension(name)) {
        write(name);
        written = true;
    } else if (m_context.modes.HasFormatting()) {
        if (m_context.modes.TextWarning() == QMessageBox::Yes) {
            m_context.modes.SetTextMode();
            write(name);
            written = true;
        }
    } else {
        m_context.modes.SetTextMode();
        if (m_context.document.DataFile) {
            simpleMessage(QStringLiteral("Do not save datafile"));
        } else {
            write(name);
            written = true;
        }
    }
    if (!written)
        notSaved();
    return written;
}

bool TFileCommands::SaveAs() {
    if (!m_context.flags.RTFMode && !m_context.flags.TextMode)
        return false;
    TFileDialog &dialog = m_context.document.SaveDialog;
    dialog.FilterIndex = m_context.Memo.PlainText() ? 2 : 1;
    if (m_context.document.DataFile) {
        simpleMessage(QStringLiteral("Don't save data file"));
        notSaved();
        return false;
    }
    const QString name = m_context.document.DocumentName;
    const QString initial = dialog.InitialDir.isEmpty() || QDir::isAbsolutePath(name)
                                ? name
                                : QDir(dialog.InitialDir).filePath(name);
    int filterIndex = dialog.FilterIndex - 1;
    const QString chosen = m_context.prompts.saveFileName(
        &m_context.window, QStringLiteral("Save As"), initial, dialog.Filter, &filterIndex);
    if (chosen.isEmpty()) {
        notSaved();
        return false;
    }
    dialog.FilterIndex = filterIndex + 1;
    const SaveEntry entry = dialog.FilterIndex == 2   ? SaveEntry::Text
                            : dialog.FilterIndex == 3 ? SaveEntry::AllFiles
                                                      : SaveEntry::RichText;
    const QString target = ProvideFileName(
        chosen, entry == SaveEntry::RichText ? QStringLiteral("rtf") : QStringLiteral("txt"),
        entry);
    // The dialog asked about the name as typed; the extension may have led to another file.
    if (target != chosen && QFileInfo::exists(target) &&
        m_context.prompts.message(
            &m_context.window, QStringLiteral("Save As"),
            target + QStringLiteral(" already exists.\nDo you want to replace it?"),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No,
            QMessageBox::No) != QMessageBox::Yes) {
        notSaved();
        return false;
    }
    bool written = true;
    if (entry == SaveEntry::RichText)
        write(target);
    else
        written = TextSave(target);
    if (!written) {
        notSaved();
        return false;
    }
    m_context.document.SetDocumentName(target);
    if (AddRecentOnSaveAs)
        AddRecentFile(target);
    m_saveAsOnly = false;
    m_context.Memo.SetModified(false);
    return true;
}

bool TFileCommands::TextSave(const QString &target) {
    if (!m_context.modes.HasFormatting()) {
        m_context.modes.SetTextMode();
        write(target);
        return true;
    }
    if (m_context.modes.TextWarning() != QMessageBox::Yes)
        return false;
    m_context.Memo.SetPlainText(true);
    m_context.modes.switchRTFoff();
    write(target);
    return true;
}

void TFileCommands::ExitActionExecute() {
    m_context.window.setAcceptDrops(false);
    m_context.window.close();
}

bool TFileCommands::FormCloseQuery() {
    m_context.Closing = true;
    return true;
}

bool TFileCommands::FormClose() {
    bool proceed = false;
    ErrorReport::run(m_context.prompts, &m_context.window,
                     [this, &proceed] { proceed = AskSaveChanges(); });
    return proceed;
}

void TFileCommands::WMDropFiles(const QStringList &paths) {
    if (paths.isEmpty())
        return;
    // The path stays as dropped: on this platform letter case tells files apart.
    const QString path = paths.first();
    if (!AskSaveChanges())
        return;
    m_context.document.DocumentName = path;
    OpenFile(path);
}

void TFileCommands::AddRecentFile(const QString &path) {
    if (!m_recent.AddRecentFile(path))
        return;
    showRecentFiles();
    AddRecentOnSaveAs = false;
}

void TFileCommands::showRecentFiles() {
    TEditorActions &a = m_context.actions;
    QAction *const items[TRecentFiles::Count] = {a.FileName1, a.FileName2, a.FileName3,
                                                 a.FileName4};
    a.FileSep2->setVisible(m_recent.anyUsed());
    for (int slot = 0; slot < TRecentFiles::Count; ++slot) {
        items[slot]->setText(m_recent.menuText(slot));
        items[slot]->setVisible(m_recent.isUsed(slot));
    }
}

void TFileCommands::PrepareMenu(int slot) {
    const QString path = m_recent.path(slot);
    if (path.isEmpty() || !AskSaveChanges())
        return;
    m_context.document.DocumentName = path;
    m_context.document.SetDocumentName(path);
    OpenFile(path);
    m_context.Memo.SetModified(false);
}

bool TFileCommands::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Close:
        if (watched == &m_context.window && !(FormCloseQuery() && FormClose())) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (m_context.window.acceptDrops() && !droppedFiles(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (m_context.window.acceptDrops() && !files.isEmpty()) {
            drop->acceptProposedAction();
            ErrorReport::run(m_context.prompts, &m_context.window,
                             [this, files] { WMDropFiles(files); });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
