#pragma once

#include <QString>

class FileListBox;
class Prompts;
class QAction;
class QMenu;
class QSplitter;
class QWidget;
class SidePanelHost;
class TermListBox;

// What the side panel works on: controls and actions of the editor window, which owns them all
// and must outlive the panel.
struct SidePanelContext {
    SidePanelHost &host;
    Prompts &prompts;
    QWidget &window;

    QSplitter &Splitter1;
    QWidget &ListPanel;
    FileListBox &ListBoxF;
    TermListBox &ListBoxT;

    // View menu radio items.
    QAction &NoListMenu;
    QAction &FileListBoxMenu;
    QAction &ListBoxMenu;
    // The popup menu shared by the editing area and the term box, its items by position, and the
    // Copy command whose state Cut and Copy follow.
    QMenu &PopupMenu1;
    QAction &PoPCut;
    QAction &PoPCopy;
    QAction &PoPPaste;
    QAction &PoPSelectAll;
    QAction &AddToListBox1;
    QAction &DeleteListBoxEntry1;
    QAction &ClearallListMenu;
    QAction &ClearFileListBox1;
    QAction &CopyAction;
    // The browse buttons.
    QAction &Last;
    QAction &Next;

    // The term file: where it is read from at creation and written to afterwards.
    QString termFileReadPath;
    QString termFileWritePath;
};
