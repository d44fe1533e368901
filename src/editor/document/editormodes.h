#pragma once

#include <QMessageBox>
#include <QObject>

class Prompts;
class QStackedWidget;
class QTextBrowser;
class QWidget;
class TEditLayout;
class TEditorActions;
class TMainMenu;
class TRxRichEdit;
class TToolBars;
struct TModeFlags;

// What the mode routines reach: the controls and commands they switch. Nothing is owned.
struct EditorModesContext {
    QWidget &window;
    TModeFlags &flags;
    TEditorActions &actions;
    TMainMenu &menus;
    TToolBars &toolBars;
    TRxRichEdit &Memo;
    QTextBrowser &htmlLite1;
    // Holds Memo and htmlLite1 one over the other; the current one is in front.
    QStackedWidget &EditPanel;
    QWidget &RulerPanel;
    QWidget &ListBoxT;
    TEditLayout &layout;
    Prompts &prompts;
};

// The three editor modes: RTF editing, text editing, and HTML & picture viewing. The four
// switching routines move the window's commands and controls between the modes; the View
// menu's mode commands and the file commands use them, together with HasFormatting and
// TextWarning before formatting is dropped.
class TEditorModes : public QObject {
    Q_OBJECT

public:
    explicit TEditorModes(EditorModesContext context, QObject *parent = nullptr);

    // The window's design state: RTF mode with every RTF command and the ruler.
    void StartInRTFMode();

    void switchRTFon();
    void switchRTFoff();
    void switchHTML();
    void switchText();

    void SetTextMode();
    void SetRTFMode();
    bool HasFormatting();
    QMessageBox::StandardButton TextWarning();

    // View menu: "RTF Mode", "Text Modus", "HTML & Picture Mode".
    void MenuPlainRTFClick();
    void MenuPlainTextClick();
    void HTMLPictureMode1Click();

private:
    // The commands and controls the table switches as one group each.
    void setFormatting(bool on);
    void setEditing(bool on);
    void setViewerExtras(bool on);
    void showRuler(bool on);
    void bringToFront(QWidget &control);
    // Puts the caret at S minus L, as both mode commands leave it.
    void restoreCaret(int start, int length);

    EditorModesContext m_context;
};
