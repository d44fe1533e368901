#pragma once

class QMenu;
class QMenuBar;
class QWidget;
class TEditorActions;

// The main menu `MainMenu` and the popup menu `PopupMenu1`, built from the window's commands.
// The menus belong to the window passed in; this object only keeps pointers for the mode routines,
// which enable and disable whole menus.
class TMainMenu {
public:
    TMainMenu(QWidget &window, TEditorActions &actions);

    QMenuBar *MainMenu;
    QMenu *File1;
    QMenu *EditMenu;
    QMenu *Adjusments1;
    QMenu *View1;
    QMenu *Insert1;
    QMenu *InsertDate1;
    QMenu *InsertFileName1;
    QMenu *RunMenu;
    QMenu *Help1;
    // Shared by the editing area and the term list.
    QMenu *PopupMenu1;

    // Enables a menu the way the menu bar shows it: its title greys out and it does not open.
    static void setMenuEnabled(QMenu *menu, bool enabled);
    static bool isMenuEnabled(const QMenu *menu);
};
