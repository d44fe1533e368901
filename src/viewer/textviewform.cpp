#include "viewer/textviewform.h"

#include "journal/journalwriter.h"
#include "platform/busycursor.h"
#include "platform/errorreport.h"
#include "platform/namedmutex.h"
#include "platform/prompts.h"
#include "platform/savefile.h"
#include "platform/shell.h"
#include "platform/usererror.h"
#include "viewer/viewerrules.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QUrl>
#include <optional>

namespace {

const QString kDesignCaption = QStringLiteral("Quillet TextViewer ");
const QString kNewCaption = QStringLiteral("qELTa");
// Message boxes without a caption of their own carry the application's title.
QString applicationTitle() {
    return QGuiApplication::applicationDisplayName();
}
const QString kWarningCaption = QStringLiteral("Warning");
const QString kConfirmCaption = QStringLiteral("Confirm");

const QMessageBox::StandardButtons kYesNoCancel =
    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;

} // namespace

TTextViewForm::TTextViewForm(Prompts &prompts, Shell &shell, const QString &file, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_shell(shell)
    , m_printerSource(defaultSystemPrinter) {
    setObjectName(QStringLiteral("TextViewForm"));
    setWindowTitle(kDesignCaption);
    resize(783, 540);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    createMemo();
    createActions();
    createMenus();
    createJournal();
    FormCreate(file);
}

void TTextViewForm::createJournal() {
    auto describe = [this] {
        JournalEntry entry;
        entry.documentName = m_currentFile.isEmpty() ? QStringLiteral("Untitled") : m_currentFile;
        entry.mode = JournalEntry::Mode::Text;
        entry.textFormat = m_format;
        entry.textFormat.dataFile = m_dataFile;
        entry.caret = m_memo->textCursor().position();
        return entry;
    };
    m_journal = new JournalWriter(JournalSource{*m_memo->document(), describe, {}},
                                  NamedMutex::claim, this);
    // Never a box while typing: the status line says it once.
    connect(m_journal, &JournalWriter::writeFailed, this, [this](const QString &reason) {
        statusBar()->showMessage(QStringLiteral("Crash journal not written: ") + reason);
    });
}

void TTextViewForm::createMemo() {
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setAccessibleName(QStringLiteral("Text"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    m_memo->setFont(font);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The found text must stay marked while the question about searching on has the focus.
    QPalette palette = m_memo->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_memo->setPalette(palette);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_contextMenu->exec(m_memo->viewport()->mapToGlobal(pos));
    });
    m_memo->viewport()->installEventFilter(this);
    setCentralWidget(m_memo);
}

void TTextViewForm::createActions() {
    auto make = [this](const char *objectName, const QString &text, const QKeySequence &shortcut,
                       auto slot) {
        auto *action = new QAction(text, this);
        action->setObjectName(QLatin1String(objectName));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this,
                ErrorReport::guard(m_prompts, this, [this, slot] { (this->*slot)(); }));
        addAction(action);
        return action;
    };
    m_newAction = make("NewMenu", tr("&New"), {}, &TTextViewForm::NewMenuClick);
    m_openAction =
        make("Open1", tr("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TTextViewForm::Open1Click);
    m_saveAction = make("SaveMenu", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                        &TTextViewForm::SaveMenuClick);
    m_saveAsAction = make("SaveAsMenu", tr("Save &As"), {}, &TTextViewForm::SaveAsMenuClick);
    m_printAction = make("PrintMenu", tr("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                         &TTextViewForm::PrintMenuClick);
    m_exitAction = make("Exit1", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q),
                        &TTextViewForm::Exit1Click);

    auto makeEdit = [this](const char *objectName, const QString &text,
                           const QKeySequence &shortcut, void (QPlainTextEdit::*slot)()) {
        auto *action = new QAction(text, this);
        action->setObjectName(QLatin1String(objectName));
        action->setShortcut(shortcut);
        // The text area handles its own standard keys; the menu item only shows the shortcut.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, m_memo, slot);
        return action;
    };
    m_cutAction = makeEdit("EditCut1", tr("Cu&t"), QKeySequence::Cut, &QPlainTextEdit::cut);
    m_copyAction = makeEdit("EditCopy1", tr("&Copy"), QKeySequence::Copy, &QPlainTextEdit::copy);
    m_pasteAction =
        makeEdit("EditPaste1", tr("&Paste"), QKeySequence::Paste, &QPlainTextEdit::paste);
    m_undoAction = makeEdit("EditUndo1", tr("&Undo"), QKeySequence(Qt::ALT | Qt::Key_Backspace),
                            &QPlainTextEdit::undo);
    // Alt+Backspace is not one of the text area's own keys, so it must reach it from the window.
    m_undoAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_undoAction);
    m_selectAllAction =
        makeEdit("EditSelectAll1", tr("Select &All"), {}, &QPlainTextEdit::selectAll);
    m_cutAction->setEnabled(false);
    m_copyAction->setEnabled(false);
    m_undoAction->setEnabled(false);
    connect(m_memo, &QPlainTextEdit::copyAvailable, m_cutAction, &QAction::setEnabled);
    connect(m_memo, &QPlainTextEdit::copyAvailable, m_copyAction, &QAction::setEnabled);
    connect(m_memo, &QPlainTextEdit::undoAvailable, m_undoAction, &QAction::setEnabled);

    m_wordWrapAction = make("WordWrapMenu", tr("&WordWrap"), {}, &TTextViewForm::WordWrapMenuClick);
    m_wordWrapAction->setCheckable(true);
    m_wordWrapAction->setChecked(true);
    m_findAction = make("FindMenu", tr("&Find"), {}, &TTextViewForm::FindMenuClick);
    m_findNextAction =
        make("FindNext", tr("Find Next"), QKeySequence(Qt::Key_F3), &TTextViewForm::findNext);
    m_showInQuilletAction =
        make("StartinQuillet1", tr("Show in Quillet>>"), {}, &TTextViewForm::StartinQuillet1Click);
}

void TTextViewForm::createMenus() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(m_newAction);
    file->addAction(m_openAction);
    file->addAction(m_saveAction);
    file->addAction(m_saveAsAction);
    file->addSeparator();
    file->addAction(m_printAction);
    file->addSeparator();
    file->addAction(m_exitAction);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(m_cutAction);
    edit->addAction(m_copyAction);
    edit->addAction(m_pasteAction);
    edit->addSeparator();
    edit->addAction(m_undoAction);
    edit->addSeparator();
    edit->addAction(m_selectAllAction);
    edit->addSeparator();
    edit->addAction(m_wordWrapAction);
    edit->addAction(m_findAction);

    menuBar()->addAction(m_showInQuilletAction);

    m_contextMenu = new QMenu(this);
    m_contextMenu->addAction(m_cutAction);
    m_contextMenu->addAction(m_copyAction);
    m_contextMenu->addAction(m_pasteAction);
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(m_selectAllAction);
}

void TTextViewForm::FormCreate(const QString &file) {
    m_currentFile.clear();
    m_dataFile = false;
    if (!file.isEmpty()) {
        loadFile(file);
        // A file that could not be read still names the document, as the command line did.
        if (m_currentFile.isEmpty())
            m_currentFile = file;
        setWindowTitle(fileNamePart(file));
    }
    setAcceptDrops(true);
    setModified(false);
}

bool TTextViewForm::isModified() const {
    return m_memo->document()->isModified();
}

void TTextViewForm::setModified(bool modified) {
    m_memo->document()->setModified(modified);
}

QString TTextViewForm::memoText() const {
    // The raw text keeps non-breaking spaces, which the plain-text view turns into blanks.
    QString text = m_memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void TTextViewForm::reportError(const QString &text) {
    ErrorReport::show(m_prompts, this, text);
}

void TTextViewForm::loadFile(const QString &file) {
    const TextFileContent content = LoadTextFile(file);
    if (content.error) {
        reportError(content.error->message());
        return;
    }
    m_memo->setPlainText(content.text);
    m_currentFile = file;
    m_dataFile = content.format.dataFile;
    m_format = content.format;
    m_loadedBytes = content.dataBytes;
    m_memo->moveCursor(QTextCursor::Start);
}

bool TTextViewForm::writeTextFile(const QString &file) {
    if (m_format.dataFile) {
        const QByteArray bytes = dataFileBytesForSave(memoText(), m_loadedBytes);
        if (const std::optional<QString> reason = saveFileAtomically(file, bytes)) {
            reportError(TextFileError{file, *reason}.message());
            return false;
        }
        // What is on disk now is what the text stands for, so a later Save As copies it again.
        m_loadedBytes = bytes;
    } else {
        const TextFileSaveResult result = SaveTextFile(file, memoText(), m_format);
        if (result.error) {
            reportError(result.error->message());
            return false;
        }
        m_format = result.written;
    }
    setModified(false);
    return true;
}

bool TTextViewForm::AskToSave() {
    const QMessageBox::StandardButton answer = m_prompts.message(
        this, kWarningCaption, QStringLiteral("The file has changed, do you want to save?"),
        QMessageBox::Warning, kYesNoCancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        return saveAs();
    return true;
}

void TTextViewForm::NewMenuClick() {
    if (isModified() && !AskToSave())
        return;
    m_memo->clear();
    setModified(false);
    m_currentFile.clear();
    m_dataFile = false;
    m_format = TextFormat();
    m_loadedBytes.clear();
    setWindowTitle(kNewCaption);
}

void TTextViewForm::Open1Click() {
    if (isModified() && !AskToSave())
        return;
    int filterIndex = 0;
    const QStringList files = m_prompts.openFileNames(this, tr("Open"), folderPart(m_currentFile),
                                                      viewerTextFilters(), &filterIndex, false);
    if (!files.isEmpty() && !files.first().isEmpty()) {
        const QString file = files.first();
        const QString before = m_currentFile;
        loadFile(file);
        if (m_currentFile == file)
            setWindowTitle(file);
        else
            m_currentFile = before;
    }
    setModified(false);
}

void TTextViewForm::SaveMenuClick() {
    if (!isModified())
        return;
    if (m_currentFile.isEmpty()) {
        saveAs();
        return;
    }
    if (m_dataFile) {
        m_prompts.message(this, applicationTitle(), QStringLiteral("Dont modify data files!"),
                          QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    writeTextFile(m_currentFile);
}

void TTextViewForm::SaveAsMenuClick() {
    saveAs();
}

bool TTextViewForm::saveAs() {
    int filterIndex = 0;
    const QString initial = m_currentFile.isEmpty() ? QString()
                                                    : folderPart(m_currentFile) + QLatin1Char('/') +
                                                          fileNamePart(m_currentFile);
    const QString file =
        m_prompts.saveFileName(this, tr("Save As"), initial, viewerTextFilters(), &filterIndex);
    if (file.isEmpty())
        return false;
    if (!writeTextFile(file))
        return false;
    m_currentFile = file;
    setWindowTitle(fileNamePart(file));
    return true;
}

void TTextViewForm::WordWrapMenuClick() {
    const bool wrap = m_memo->lineWrapMode() == QPlainTextEdit::NoWrap;
    m_memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_wordWrapAction->setChecked(wrap);
}

qsizetype TTextViewForm::selectOccurrence(const QString &text, qsizetype from) {
    const qsizetype found = text.indexOf(m_searchText, from, Qt::CaseSensitive);
    QTextCursor cursor = m_memo->textCursor();
    if (found < 0) {
        cursor.clearSelection();
        m_memo->setTextCursor(cursor);
        return -1;
    }
    cursor.setPosition(int(found));
    cursor.setPosition(int(found + m_searchText.size()), QTextCursor::KeepAnchor);
    m_memo->setTextCursor(cursor);
    m_memo->ensureCursorVisible();
    return found + m_searchText.size();
}

void TTextViewForm::FindMenuClick() {
    const std::optional<QString> search =
        m_prompts.inputBox(this, QStringLiteral("Find case sensitive text in Memo"),
                           QStringLiteral("Press 'OK' for search. 'F3' search next !"), QString());
    if (!search || search->isEmpty())
        return;
    m_searchText = *search;
    // The loop searches a copy taken once, so positions stay those of the text it started on.
    const QString text = memoText();
    qsizetype start = 0;
    for (;;) {
        start = selectOccurrence(text, start);
        if (start < 0)
            return;
        const QMessageBox::StandardButton answer = m_prompts.message(
            this, kConfirmCaption, QStringLiteral("Yes search next. No exit search."),
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return;
    }
}

void TTextViewForm::findNext() {
    // F3 searches on with the last search text from the end of the selection, without asking.
    if (m_searchText.isEmpty()) {
        FindMenuClick();
        return;
    }
    selectOccurrence(memoText(), m_memo->textCursor().selectionEnd());
}

void TTextViewForm::PrintMenuClick() {
    const std::unique_ptr<QPrinter> printer = m_printerSource ? m_printerSource() : nullptr;
    if (!printer) {
        m_prompts.message(this, applicationTitle(),
                          QStringLiteral("No printer is installed. Install a printer and choose "
                                         "it as the default printer to print this text."),
                          QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    std::optional<BusyCursor> busy(std::in_place);
    try {
        printPlainLines(*printer, displayLines(*m_memo));
    } catch (const UserError &error) {
        busy.reset();
        reportError(error.text());
        return;
    }
}

void TTextViewForm::Exit1Click() {
    close();
}

void TTextViewForm::WMDropFiles(const QStringList &files) {
    if (files.isEmpty() || !m_acceptFileDrops)
        return;
    const QString file = files.first();
    if (droppedFileStaysInViewer(FileSizeKB(file))) {
        loadFile(file);
        if (m_currentFile == file)
            setWindowTitle(file.toLower());
        return;
    }
    // The dropped file becomes the document only in the new process: should this window stay
    // open (the close question answered Cancel), its text must not be saved over that file.
    handOver(file);
}

void TTextViewForm::StartinQuillet1Click() {
    if (!isModified()) {
        HandOverToEditor();
        return;
    }
    const QMessageBox::StandardButton answer =
        m_prompts.message(this, kWarningCaption,
                          QStringLiteral("File has changed. Save first (Yes) or discard changes "
                                         "(no) before open file in Quillet?"),
                          QMessageBox::Warning, kYesNoCancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        int filterIndex = 0;
        const QString file = m_prompts.saveFileName(this, tr("Save As"), m_currentFile,
                                                    viewerHandOverFilters(), &filterIndex);
        if (file.isEmpty() || !writeTextFile(file))
            return;
        m_currentFile = file;
        setWindowTitle(fileNamePart(file));
        HandOverToEditor();
    } else if (answer == QMessageBox::No) {
        setModified(false);
        HandOverToEditor();
    }
}

void TTextViewForm::HandOverToEditor() {
    handOver(m_currentFile);
}

void TTextViewForm::handOver(const QString &file) {
    // The file reaches the new process whole as its first argument, blanks and all.
    qputenv(kHandedOverVariable, "1");
    const int result = m_shell.LaunchFile(QCoreApplication::applicationFilePath(), file, QString(),
                                          Shell::ShowState::Normal);
    qunsetenv(kHandedOverVariable);
    if (!Shell::succeeded(result)) {
        reportError(QStringLiteral("Quillet could not be started to show the file."));
        return;
    }
    // The new process decides between editor and viewer at its start; the marker and, while
    // this one still runs, the running instance make it choose the editor.
    QThread::msleep(static_cast<unsigned long>(m_handOverWaitMs));
    m_acceptFileDrops = false;
    setAcceptDrops(false);
    close();
}

bool TTextViewForm::FormCloseQuery() {
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer =
        m_prompts.message(this, kWarningCaption, QStringLiteral("Do you want to save the file?"),
                          QMessageBox::Warning, kYesNoCancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        return saveAs();
    return true;
}

void TTextViewForm::closeEvent(QCloseEvent *event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

QStringList TTextViewForm::droppedFiles(const QMimeData *mime) const {
    QStringList files;
    if (!m_acceptFileDrops || !mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

void TTextViewForm::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TTextViewForm::dropEvent(QDropEvent *event) {
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    ErrorReport::run(m_prompts, this, [this, files] { WMDropFiles(files); });
}

bool TTextViewForm::eventFilter(QObject *watched, QEvent *event) {
    // Files dropped on the text area open like files dropped on the window; dropped text is
    // the text area's own business.
    if (watched == m_memo->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (!droppedFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = droppedFiles(drop->mimeData());
            if (!files.isEmpty()) {
                drop->acceptProposedAction();
                ErrorReport::run(m_prompts, this, [this, files] { WMDropFiles(files); });
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
