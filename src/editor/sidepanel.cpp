#include "editor/sidepanel.h"

#include "editor/filelistbox.h"
#include "editor/sidepanelhost.h"
#include "editor/termfile.h"
#include "editor/termlistbox.h"
#include "editor/termpopup.h"
#include "platform/errorreport.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

TSidePanel::TSidePanel(SidePanelContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context)) {
    SidePanelContext &c = m_context;
    auto guard = [this](void (TSidePanel::*handler)()) {
        return ErrorReport::guard(m_context.prompts, &m_context.window,
                                  [this, handler] { (this->*handler)(); });
    };
    connect(&c.NoListMenu, &QAction::triggered, this, guard(&TSidePanel::ShowNoList));
    connect(&c.FileListBoxMenu, &QAction::triggered, this, guard(&TSidePanel::ShowFileList));
    connect(&c.ListBoxMenu, &QAction::triggered, this, guard(&TSidePanel::ShowTermBox));
    connect(&c.AddToListBox1, &QAction::triggered, this, guard(&TSidePanel::AddToListBox1Click));
    connect(&c.DeleteListBoxEntry1, &QAction::triggered, this,
            guard(&TSidePanel::DeleteListBoxEntry1Click));
    connect(&c.ClearallListMenu, &QAction::triggered, this,
            guard(&TSidePanel::ClearallListMenuClick));
    connect(&c.ClearFileListBox1, &QAction::triggered, this,
            guard(&TSidePanel::ClearFileListBox1Click));
    connect(&c.Last, &QAction::triggered, this, guard(&TSidePanel::LastFileClick));
    connect(&c.Next, &QAction::triggered, this, guard(&TSidePanel::NextClick));
    connect(&c.PopupMenu1, &QMenu::aboutToShow, this, guard(&TSidePanel::PopupMenu1Popup));
    connect(&c.ListBoxT, &TermListBox::termDoubleClicked, this,
            guard(&TSidePanel::ListBoxTDblClick));
    connect(&c.ListBoxT, &TermListBox::exited, this, guard(&TSidePanel::ListBoxTExit));
    connect(&c.ListBoxF, &FileListBox::fileDoubleClicked, this,
            guard(&TSidePanel::ListBoxFDblClick));
    connect(&c.ListBoxF, &FileListBox::enterPressed, this, guard(&TSidePanel::ListBoxFDblClick));
}

void TSidePanel::ShowListPanel() {
    if (!m_context.ListPanel.isHidden())
        return;
    // The splitter keeps the panel's width while it is hidden, so it comes back as it was.
    m_context.ListPanel.show();
}

void TSidePanel::HideListPanel() {
    m_context.ListPanel.hide();
    m_context.AddToListBox1.setEnabled(true);
}

void TSidePanel::ShowNoList() {
    HideListPanel();
    m_context.NoListMenu.setChecked(true);
    m_listBoxStatus = 0;
}

void TSidePanel::ShowFileList() {
    ShowListPanel();
    m_context.ListBoxT.hide();
    m_context.ListBoxF.show();
    m_context.ListBoxF.raise();
    m_context.FileListBoxMenu.setChecked(true);
    m_listBoxStatus = 1;
}

void TSidePanel::ShowTermBox() {
    ShowListPanel();
    m_context.ListBoxT.show();
    m_context.ListBoxT.raise();
    m_context.ListBoxF.hide();
    m_context.ListBoxMenu.setChecked(true);
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
    const TermPopupItems items =
        prepareTermPopup(m_context.ListBoxT.hasFocus(), m_context.CopyAction.isEnabled(),
                         !m_context.ListBoxT.isHidden());
    m_context.PoPCut.setEnabled(items.cut);
    m_context.PoPCopy.setEnabled(items.copy);
    m_context.PoPPaste.setEnabled(items.paste);
    m_context.PoPSelectAll.setEnabled(items.selectAll);
    m_context.AddToListBox1.setEnabled(items.addToTermBox);
    m_context.DeleteListBoxEntry1.setEnabled(items.deleteTerm);
    m_context.ClearallListMenu.setEnabled(items.clearTermList);
    m_context.ClearFileListBox1.setEnabled(items.clearFileList);
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
