#include "editor/edit/editcommands.h"

#include "editor/document/documentstate.h"
#include "editor/document/focusmemo.h"
#include "editor/document/modeflags.h"
#include "editor/file/filedialog.h"
#include "editor/frame/editoractions.h"
#include "editor/insert/objectpropertiesdlg.h"
#include "editor/insert/pastespecialdlg.h"
#include "picture/picturefile.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QTextBrowser>

namespace {

// Runs `after` however `body` ends.
template <class Body, class After>
void finally(Body body, After after) {
    try {
        body();
    } catch (...) {
        after();
        throw;
    }
    after();
}

} // namespace

TEditCommands::TEditCommands(EditCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.UndoAction, this, &TEditCommands::UndoActionExecute);
    a.route(a.RedoAction, this, &TEditCommands::RedoActionExecute);
    a.route(a.CutAction, this, &TEditCommands::CutActionExecute);
    a.route(a.PoPCut, this, &TEditCommands::CutActionExecute);
    a.route(a.CopyAction, this, &TEditCommands::CopyActionExecute);
    a.route(a.PoPCopy, this, &TEditCommands::CopyActionExecute);
    a.route(a.PasteAction, this, &TEditCommands::PasteActionExecute);
    a.route(a.PoPPaste, this, &TEditCommands::PasteActionExecute);
    a.route(a.SelectAllAction, this, &TEditCommands::SelectAllActionExecute);
    a.route(a.PoPSelectAll, this, &TEditCommands::SelectAllActionExecute);
    a.route(a.PasteSpecial, this, &TEditCommands::PasteSpecialClick);
    a.route(a.Object1, this, &TEditCommands::Object1Click);
    a.route(a.ObjectProperties1, this, &TEditCommands::ObjectProperties1Click);
    // The window opens with nothing to undo.
    a.setAllowed(a.UndoAction, false);
    a.setAllowed(a.RedoAction, false);

    connect(&m_context.Memo, &TRxRichEdit::OnURLClick, this, &TEditCommands::MemoURLClick);
    m_context.window.installEventFilter(this);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &TEditCommands::UpdatePasteCommands);
}

bool TEditCommands::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &m_context.window && event->type() == QEvent::Show)
        UpdatePasteCommands();
    return QObject::eventFilter(watched, event);
}

bool TEditCommands::editing() const {
    return m_context.mode.RTFMode || m_context.mode.TextMode;
}

void TEditCommands::UpdatePasteCommands() {
    // In HTML and picture mode the mode switch keeps these off.
    if (m_context.mode.HTMLMode)
        return;
    const bool canPaste = m_context.Memo.CanPaste();
    TEditorActions &a = m_context.actions;
    a.setAllowed(a.PasteAction, canPaste);
    a.setAllowed(a.PoPPaste, canPaste);
    a.setAllowed(a.PasteSpecial, canPaste);
}

void TEditCommands::UndoActionExecute() {
    m_context.Memo.Undo();
    TEditorActions &a = m_context.actions;
    a.setAllowed(a.RedoAction, true);
    a.setAllowed(a.UndoAction, m_context.Memo.CanUndo());
}

void TEditCommands::RedoActionExecute() {
    m_context.Memo.Redo();
    TEditorActions &a = m_context.actions;
    a.setAllowed(a.UndoAction, true);
    a.setAllowed(a.RedoAction, m_context.Memo.CanRedo());
}

void TEditCommands::CutActionExecute() {
    if (editing())
        m_context.Memo.CutToClipboard();
}

void TEditCommands::CopyActionExecute() {
    if (editing())
        m_context.Memo.CopyToClipboard();
    else if (m_context.mode.HTMLMode)
        m_context.htmlLite1.copy();
}

void TEditCommands::PasteActionExecute() {
    if (editing())
        m_context.Memo.PasteFromClipboard();
}

void TEditCommands::SelectAllActionExecute() {
    m_context.Memo.SelectAll();
}

void TEditCommands::PasteSpecialClick() {
    finally(
        [this] {
            TPasteSpecialDlg dialog(m_context.Memo.PasteFormats(), &m_context.window);
            if (m_context.prompts.exec(dialog) != QDialog::Accepted)
                return;
            const QString format = dialog.chosenFormat();
            if (!format.isEmpty())
                m_context.Memo.PasteAs(format);
        },
        [this] { FocusMemo(m_context.Memo); });
}

void TEditCommands::Object1Click() {
    TFileDialog &dialog = m_context.document.OpenPictureDialog;
    int filterIndex = 0;
    const QStringList files = m_context.prompts.openFileNames(
        &m_context.window, QStringLiteral("Insert Object"), dialog.InitialDir,
        qtFileFilters(PictureFileFilter()), &filterIndex, false);
    if (files.isEmpty())
        return;
    m_context.Memo.InsertPicture(LoadPictureFile(files.first()));
}

void TEditCommands::ObjectProperties1Click() {
    const QSize shown = m_context.Memo.SelectedPictureSize();
    if (!shown.isValid()) {
        m_context.prompts.information(&m_context.window, QStringLiteral("Object Properties"),
                                      QStringLiteral("No object is selected."));
        return;
    }
    TObjectPropertiesDlg dialog(m_context.Memo.SelectedPictureNaturalSize(), shown,
                                &m_context.window);
    if (m_context.prompts.exec(dialog) == QDialog::Accepted)
        m_context.Memo.SetSelectedPictureSize(dialog.chosenSize());
}

void TEditCommands::MemoURLClick(const QString &urlText, Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        m_context.shell.LaunchFile(urlText, QString(), QString(), Shell::ShowState::Normal);
}
