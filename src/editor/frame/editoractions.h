#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <type_traits>

class Prompts;
class QAction;
class QWidget;

// Every command of the editor window, created once with its caption, shortcut, hint and initial
// state. Menus and tool bars are built from these objects; the concern that implements a command
// routes it to its handler with route(). A command nobody has routed yet stays disabled.
//
// Check marks are set by code only: triggering a checkable command does not flip its mark, the
// handler decides (a refused "Text Modus" must leave the marks as they were).
//
// Hints follow the "short|long" form: the short part is the tool tip and accessible name, the
// long part is what the status bar's "Help" panel shows.
class TEditorActions : public QObject {
    Q_OBJECT

public:
    // An error escaping a command's handler goes to the general error report over `window`.
    TEditorActions(QWidget &window, Prompts &prompts);

    // File commands and recent files, routed in editor/file/filecommands.cpp.
    QAction *NewAction;
    QAction *OpenAction;
    QAction *OpenasTextonly1;
    QAction *SaveAction;
    QAction *SaveAsAction;
    QAction *ExitAction;
    QAction *FileName1;
    QAction *FileName2;
    QAction *FileName3;
    QAction *FileName4;

    // Edit commands, routed in editor/edit/editcommands.cpp.
    QAction *UndoAction;
    QAction *RedoAction;
    QAction *CutAction;
    QAction *CopyAction;
    QAction *PasteAction;
    QAction *PasteSpecial;
    QAction *SelectAllAction;
    QAction *Object1;
    QAction *ObjectProperties1;
    QAction *PoPCut;
    QAction *PoPCopy;
    QAction *PoPPaste;
    QAction *PoPSelectAll;

    // Text tools, spell check and scrambling, routed in editor/texttools/texttoolsconcern.cpp.
    QAction *FindAction;
    QAction *FindNextAction;
    QAction *ReplaceAction;
    QAction *MenuLetterStyle;
    QAction *WordCount1;
    QAction *LowerAction;
    QAction *UpperAction;
    QAction *Encrypt1;
    QAction *Decrypt1;
    QAction *SpellAction;

    // Character and paragraph formatting, routed in editor/format/formatcommands.cpp.
    QAction *FontAction;
    QAction *FontColorAction;
    QAction *BackColorAction;
    QAction *BckgndAction;
    QAction *FormatParaAttributes;
    QAction *NumberingStyle1;
    QAction *UnderscoreStyle1;
    QAction *WWAction;
    QAction *BoldAction;
    QAction *ItalicAction;
    QAction *UnderscoreAction;
    QAction *StrikeAction;
    QAction *BulletAction;
    QAction *LeftAction;
    QAction *CenterAction;
    QAction *RightAction;
    QAction *JustifyAction;
    QAction *SuperscriptAction;
    QAction *SubscriptAction;

    // Insert commands, routed in editor/insert/insertcommands.cpp.
    QAction *AddTxtFileAction;
    QAction *PageBreakAction;
    QAction *InsPicAction;
    QAction *N01011;
    QAction *Jan20002;
    QAction *N0101011;
    QAction *N01Jan20001;
    QAction *N010120001;
    QAction *Oct13th20011;
    QAction *Jan20001;
    QAction *January20001;
    QAction *Mo1thJanuary20011;
    QAction *InsTimeAction;
    QAction *FileName5;
    QAction *FileName831;
    QAction *FilePath1;
    QAction *FilePath831;
    QAction *DateBut;

    // Editor modes, routed in editor/document/editormodes.cpp.
    QAction *MenuPlainText;
    QAction *MenuPlainRTF;
    QAction *HTMLPictureMode1;

    // Side panel with Last and Next, routed in editor/sidepanel/sidepanel.cpp.
    QAction *NoListMenu;
    QAction *FileListBoxMenu;
    QAction *ListBoxMenu;
    QAction *AddToListBox1;
    QAction *DeleteListBoxEntry1;
    QAction *ClearallListMenu;
    QAction *ClearFileListBox1;
    QAction *Last;
    QAction *Next;

    // Window options, routed in editor/window/windowoptions.cpp.
    QAction *StayTopAction;
    QAction *ToolBarPicture1;

    // Stored window settings, routed in editor/window/windowsettings.cpp.
    QAction *ShowSplash1;
    QAction *StartTV;

    // Printing, page setup and preview; routed by the print commands.
    QAction *PrinterSetup;
    QAction *PagePreview1;
    QAction *PrintAction;

    // Indent steps; routed by the ruler binding.
    QAction *IncIndentAction;
    QAction *DecIndentAction;

    // Import and export; routed by the converter commands.
    QAction *mmopen1;
    QAction *mmsave1;

    // Run locations, mail, about box and help; routed by the external tools.
    QAction *Send1;
    QAction *RunLocations1;
    QAction *OpencurrentfilewithEditor11;
    QAction *OpencurrentfilewithEditor1;
    QAction *HelpAbout;
    QAction *HelpMenu;
    QAction *ToolButton7;
    QAction *ToolButton8;
    QAction *CharMapAction;
    QAction *PaintAction;

    // The separator above the recent files, shown while any is listed.
    QAction *FileSep2;

    // Connects `action` to `handler` of `receiver` and makes the command available. An error
    // escaping the handler ends the command and goes to the general error report.
    // A receiver that is no QObject must live as long as the window's commands.
    template <class Receiver>
    void route(QAction *action, Receiver *receiver, void (Receiver::*handler)()) {
        QObject *context = nullptr;
        if constexpr (std::is_base_of_v<QObject, Receiver>)
            context = receiver;
        routeTo(action, context, [receiver, handler] { (receiver->*handler)(); });
    }
    bool isRouted(QAction *action) const;

    // The mode routines allow and forbid commands; a command is enabled when it is allowed and
    // routed, so a command whose implementation has not arrived never looks usable.
    void setAllowed(QAction *action, bool allowed);
    bool isAllowed(QAction *action) const;

    // Radio groups of the View menu: checking one member unchecks the others.
    void checkRadio(QAction *action);

    // The hint a tool button shows; some buttons have their own, others use the command's.
    QString toolHint(QAction *action) const;
    static QString shortHint(const QString &hint);
    static QString longHint(const QString &hint);
    static QString hint(const QAction *action);

    const QList<QAction *> &all() const { return m_all; }

private:
    struct State {
        bool allowed = true;
        bool routed = false;
    };

    QAction *make(const QString &caption, const QString &hint = {},
                  const QKeySequence &shortcut = {});
    QAction *makeCheckable(const QString &caption, const QString &hint = {},
                           const QKeySequence &shortcut = {});
    void setToolHint(QAction *action, const QString &hint);
    void routeTo(QAction *action, QObject *receiver, std::function<void()> call);
    void applyEnabled(QAction *action);

    QWidget &m_window;
    Prompts &m_prompts;
    QList<QAction *> m_all;
    QHash<QAction *, State> m_state;
    QHash<QAction *, QString> m_toolHints;
    QList<QList<QAction *>> m_radioGroups;
};
