#pragma once

#include "editor/htmlview/pathlist.h"
#include "editor/sidepanel/sidepanelcontext.h"

#include <QObject>

// The side panel at the right edge of the editing area and the browsing through its folder: the
// three panel states of the View menu, the term box with its file, the file list with its
// commands, and the path list behind Last and Next with the file list's highlight.
class TSidePanel : public QObject {
    Q_OBJECT

public:
    // Connects the actions and the two lists; the window's design state is the file list.
    explicit TSidePanel(SidePanelContext context, QObject *parent = nullptr);

    void ShowListPanel();
    void HideListPanel();
    void ShowNoList();
    void ShowFileList();
    void ShowTermBox();
    // The panel state as stored: 0 no list, 1 file list, 2 term box.
    int ListBoxStatus() const { return m_listBoxStatus; }
    // Shows the stored state; any other value than 0, 1 or 2 counts as 0.
    void ApplyListBoxStatus(int status);

    // The term file. Loading: the file's lines become the terms (none when it is missing).
    // Saving replaces the file; a failure is shown in the general error report and answered
    // false.
    void LoadTerms();
    bool SaveTerms();
    // The window is going away: saves the terms and stops listening to its lists and menu, whose
    // last focus changes come while the window's parts are already gone.
    bool SaveTermsAtClose();

    void ListBoxTDblClick();
    void AddToListBox1Click();
    void DeleteListBoxEntry1Click();
    void ClearallListMenuClick();
    void ListBoxTExit();
    void PopupMenu1Popup();

    // Gives the file list its mask and folder (the start folder at creation).
    void SetFileListFolder(const QString &folder);
    void ListBoxFDblClick();
    void ClearFileListBox1Click();

    // What a file open does once the file is loaded: point the file list at the document's
    // folder and rebuild the path list from it.
    void ShowDocumentFolder();
    void RebuildPathList();
    // Highlights the document's entry in the file list (only while the list is set visible).
    void SyncFileListSelection();
    void LastFileClick();
    void NextClick();

    const PathList &pathList() const { return m_pathList; }

private:
    void browseTo(const std::optional<QString> &target);

    SidePanelContext m_context;
    PathList m_pathList;
    int m_listBoxStatus = 1;
};
