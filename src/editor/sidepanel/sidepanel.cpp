#include "editor/sidepanel/sidepanel.h"

#include "editor/frame/editoractions.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/sidepanelhost.h"
#include "editor/sidepanel/termfile.h"
#include "editor/sidepanel/termlistbox.h"
#include "editor/sidepanel/termpopup.h"
#include "platform/errorreport.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

TSidePanel::TSidePanel(SidePanelContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context)) {
    TEditorActions &a = m_context.actions;
    a.route(a.NoListMenu, this, &TSidePanel::ShowNoList);
    a.route(a.FileListBoxMenu, this, &TSidePanel::ShowFileList);
    a.route(a.ListBoxMenu, this, &TSidePanel::ShowTermBox);
    a.route(a.AddToListBox1, this, &TSidePanel::AddToListBox1Click);
    a.route(a.DeleteListBoxEntry1, this, &TSidePanel::DeleteListBoxEntry1Click);
    a.route(a.ClearallListMenu, this, &TSidePanel::ClearallListMenuClick);
    a.route(a.ClearFileListBox1, this, &TSidePanel::ClearFileListBox1Click);
    a.route(a.Last, this, &TSidePanel::LastFileClick);
    a.route(a.Next, this, &TSidePanel::NextClick);

    auto guard = [this](void (TSidePanel::*handler)()) {
        return ErrorReport::guard(m_context.prompts, &m_context.window,
                                  [this, handler] { (this->*handler)(); });
    };
    connect(&m_context.PopupMenu1, &QMenu::aboutToShow, this, guard(&TSidePanel::PopupMenu1Popup));
    connect(&m_context.ListBoxT, &TermListBox::termDoubleClicked, this,
            guard(&TSidePanel::ListBoxTDblClick));
    connect(&m_context.ListBoxT, &TermListBox::exited, this, guard(&TSidePanel::ListBoxTExit));
    connect(&m_context.ListBoxF, &FileListBox::fileDoubleClicked, this,
            guard(&TSidePanel::ListBoxFDblClick));
    connect(&m_context.ListBoxF, &FileListBox::enterPressed, this,
            guard(&TSidePanel::ListBoxFDblClick));
}

void TSidePanel::ShowListPanel() {
    if (!m_context.ListPanel.isHidden())
        return;
    // The splitter keeps the panel's width while it is hidden, so it comes back as it was.
    m_context.ListPanel.show();
}

void TSidePanel::HideListPanel() {
    m_context.ListPanel.hide();
    m_context.actions.setAllowed(m_context.actions.AddToListBox1, true);
}

void TSidePanel::ShowNoList() {
    HideListPanel();
    m_context.actions.checkRadio(m_context.actions.NoListMenu);
    m_listBoxStatus = 0;
}

void TSidePanel::ShowFileList() {
    ShowListPanel();
    m_context.ListBoxT.hide();
    m_context.ListBoxF.show();
    m_context.ListBoxF.raise();
    m_context.actions.checkRadio(m_context.actions.FileListBoxMenu);
    m_listBoxStatus = 1;
}

void TSidePanel::ShowTermBox() {
    ShowListPanel();
    m_context.ListBoxT.show();
    m_context.ListBoxT.raise();
    m_context.ListBoxF.hide();
    m_context.actions.checkRadio(m_context.actions.ListBoxMenu);
    m_listBoxStatus = 2;
}

void TSidePanel::ApplyListBoxStatus(int status) {
    switch (status) {
    case 1:
        ShowFileList();
        break;
    case 2:
        ShowTermBox();
        break;
    default:
        ShowNoList();
        break;
    }
}

void TSidePanel::LoadTerms() {
    m_context.ListBoxT.setTerms(TermFile::load(m_context.termFileReadPath));
}

bool TSidePanel::SaveTerms() {
    const auto error = TermFile::save(m_context.termFileWritePath, m_context.ListBoxT.terms());
    if (error)
        ErrorReport::show(m_context.prompts, &m_context.window, *error);
    return !error;
}

bool TSidePanel::SaveTermsAtClose() {
    disconnect(&m_context.ListBoxT, nullptr, this, nullptr);
    disconnect(&m_context.ListBoxF, nullptr, this, nullptr);
    disconnect(&m_context.PopupMenu1, nullptr, this, nullptr);
    return SaveTerms();
}

void TSidePanel::ListBoxTDblClick() {
    if (!m_context.host.isEditing())
        return;
    const std::optional<QString> term = m_context.ListBoxT.selectedTerm();
    if (!term)
        return;
    m_context.host.replaceSelection(QLatin1Char(' ') + *term + QLatin1Char(' '));
    m_context.host.focusMemo();
}

void TSidePanel::AddToListBox1Click() {
    m_context.ListBoxT.addTerm(m_context.host.selectedText());
}

void TSidePanel::DeleteListBoxEntry1Click() {
    m_context.ListBoxT.deleteSelectedTerm();
}

void TSidePanel::ClearallListMenuClick() {
    m_context.ListBoxT.clearTerms();
}

void TSidePanel::ListBoxTExit() {
    if (m_context.host.isEditing())
        SaveTerms();
}

void TSidePanel::PopupMenu1Popup() {
    TEditorActions &a = m_context.actions;
    const TermPopupItems items = prepareTermPopup(
        m_context.ListBoxT.hasFocus(), a.CopyAction->isEnabled(), !m_context.ListBoxT.isHidden());
    a.setAllowed(a.PoPCut, items.cut);
    a.setAllowed(a.PoPCopy, items.copy);
    a.setAllowed(a.PoPPaste, items.paste);
    a.setAllowed(a.PoPSelectAll, items.selectAll);
    a.setAllowed(a.AddToListBox1, items.addToTermBox);
    a.setAllowed(a.DeleteListBoxEntry1, items.deleteTerm);
    a.setAllowed(a.ClearallListMenu, items.clearTermList);
    a.setAllowed(a.ClearFileListBox1, items.clearFileList);
}

void TSidePanel::SetFileListFolder(const QString &folder) {
    m_context.ListBoxF.setMask(QStringLiteral("*.*"));
    m_context.ListBoxF.setFolder(folder);
}

void TSidePanel::ListBoxFDblClick() {
    if (m_context.host.isModified() && !m_context.host.askSaveChanges())
        return;
    m_context.host.openFile(m_context.ListBoxF.selectedPath());
}

void TSidePanel::ClearFileListBox1Click() {
    m_pathList.clear();
    m_context.ListBoxF.clearEntries();
}

void TSidePanel::ShowDocumentFolder() {
    m_context.ListBoxF.setFolder(m_context.host.documentFolder());
    RebuildPathList();
}

void TSidePanel::RebuildPathList() {
    m_pathList.rebuild(m_context.host.documentFolder(), m_context.ListBoxF.entries());
}

void TSidePanel::SyncFileListSelection() {
    if (m_context.ListBoxF.isHidden())
        return;
    m_context.ListBoxF.highlightEntry(m_pathList.indexOf(m_context.host.documentName()));
    m_context.window.update();
}

void TSidePanel::browseTo(const std::optional<QString> &target) {
    if (!target)
        return;
    // Stepping on must not throw away what was typed: the same question as any other open.
    if (m_context.host.isModified() && !m_context.host.askSaveChanges())
        return;
    try {
        m_context.host.openFile(*target);
        SyncFileListSelection();
    } catch (...) {
        // Browsing drops its errors; the document stays as the open left it.
    }
}

void TSidePanel::LastFileClick() {
    browseTo(m_pathList.lastTarget(m_context.host.documentName()));
}

void TSidePanel::NextClick() {
    browseTo(m_pathList.nextTarget(m_context.host.documentName()));
}
