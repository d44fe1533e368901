#pragma once

#include <QString>

class FileListBox;
class Prompts;
class QMenu;
class QSplitter;
class QWidget;
class SidePanelHost;
class TEditorActions;
class TermListBox;

// What the side panel works on: controls and commands of the editor window, which owns them all
// and must outlive the panel.
struct SidePanelContext {
    SidePanelHost &host;
    Prompts &prompts;
    QWidget &window;
    // The View menu's list items, the popup menu's items, Copy, Last and Next among them.
    TEditorActions &actions;
    // The popup menu shared by the editing area and the term box.
    QMenu &PopupMenu1;

    QSplitter &Splitter1;
    QWidget &ListPanel;
    FileListBox &ListBoxF;
    TermListBox &ListBoxT;

    // The term file: where it is read from at creation and written to afterwards.
    QString termFileReadPath;
    QString termFileWritePath;
};
