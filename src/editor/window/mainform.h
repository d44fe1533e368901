#pragma once

#include "editor/document/modeflags.h"
#include "editor/window/mainformcontext.h"
#include "richtext/rxtextattributes.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QSplitter;
class QStackedWidget;
class FileListBox;
class HtmlView;
class TDocumentState;
class TEditCommands;
class TEditLayout;
class TEditorActions;
class TEditorModes;
class TFileCommands;
class TFormatCommands;
class TInsertCommands;
class TPrintCommands;
class TRichPrinter;
class TMainMenu;
class TRxRichEdit;
class TSidePanel;
class TSidePanelWindowHost;
class TSelectionTracker;
class TStatusPanels;
class TermListBox;
class TToolBars;
class TWindowOptions;
class TWindowSettings;
class Shell;

// The editor window `MainForm`. A composition root: it builds the form's controls, creates the
// concerns (modes, window options, ...) with the references each needs, and runs the creation
// and destruction sequences. Commands live in the concerns, not here.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(MainFormContext context, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The controls of the form, for the concerns and for tests.
    TRxRichEdit &Memo() const { return *m_memo; }
    HtmlView &htmlLite1() const { return *m_htmlLite1; }
    QWidget &Panel1() const { return *m_panel1; }
    QWidget &RulerPanel() const { return *m_rulerPanel; }
    QWidget &GroupPanel() const { return *m_groupPanel; }
    QSplitter &Splitter1() const { return *m_splitter1; }
    QStackedWidget &EditPanel() const { return *m_editPanel; }
    QWidget &ListPanel() const { return *m_listPanel; }
    FileListBox &ListBoxF() const { return *m_listBoxF; }
    TermListBox &ListBoxT() const { return *m_listBoxT; }

    // The character format of the editing area's selection, which the formatting commands set.
    TRxTextAttributes CurrText() const;

    TEditorActions &actions() const { return *m_actions; }
    TMainMenu &menus() const { return *m_menus; }
    TToolBars &toolBars() const { return *m_toolBars; }
    TStatusPanels &status() const { return *m_status; }
    TDocumentState &document() const { return *m_document; }
    const TModeFlags &mode() const { return m_mode; }
    TEditLayout &layoutRoutine() const { return *m_layout; }
    TEditorModes &modes() const { return *m_modes; }
    TWindowOptions &windowOptions() const { return *m_windowOptions; }
    TFileCommands &fileCommands() const { return *m_fileCommands; }
    TWindowSettings &settings() const { return *m_settings; }
    TSidePanel &sidePanel() const { return *m_sidePanel; }
    TFormatCommands &formatCommands() const { return *m_formatCommands; }
    TSelectionTracker &selectionTracker() const { return *m_selectionTracker; }
    TEditCommands &editCommands() const { return *m_editCommands; }
    TInsertCommands &insertCommands() const { return *m_insertCommands; }
    // The print component, owned for the window's whole life; its margins and printable width
    // are what the ruler shows.
    TRichPrinter &RichPrinter1() const { return *m_richPrinter1; }
    TPrintCommands &printCommands() const { return *m_printCommands; }

    // Set when the process was started with a file; opening then leaves the file list alone.
    bool StartedWithFile = false;
    // A close of the window has been requested; resizing no longer lays the text out.
    bool Closing = false;
    // The window's copy of the "NoSplash" setting.
    bool NoSplash = false;
    // The folder the dialogs and the file list start in, with its closing "/".
    QString StartFolder = QStringLiteral("/");

    // Shows an error that ended a command; the program goes on.
    void ShowError(const QString &text);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void FormCreate();
    void FormDestroy();
    void FormResize();
    // Runs one step of the creation sequence; a failure is kept for the report and never keeps
    // the later steps from running.
    template <class Step>
    void creationStep(Step step);
    void fillFontBox();

    MainFormContext m_context;
    TModeFlags m_mode;
    QStringList m_creationErrors;

    TEditorActions *m_actions = nullptr;
    std::unique_ptr<TMainMenu> m_menus;
    std::unique_ptr<TToolBars> m_toolBars;
    std::unique_ptr<TStatusPanels> m_status;

    QWidget *m_panel1 = nullptr;
    QWidget *m_rulerPanel = nullptr;
    QWidget *m_groupPanel = nullptr;
    QSplitter *m_splitter1 = nullptr;
    QStackedWidget *m_editPanel = nullptr;
    QWidget *m_listPanel = nullptr;
    FileListBox *m_listBoxF = nullptr;
    TermListBox *m_listBoxT = nullptr;
    TRxRichEdit *m_memo = nullptr;
    HtmlView *m_htmlLite1 = nullptr;

    std::unique_ptr<TDocumentState> m_document;
    std::unique_ptr<TEditLayout> m_layout;
    TEditorModes *m_modes = nullptr;
    TWindowOptions *m_windowOptions = nullptr;
    TFileCommands *m_fileCommands = nullptr;
    TWindowSettings *m_settings = nullptr;
    std::unique_ptr<TSidePanelWindowHost> m_sidePanelHost;
    TSidePanel *m_sidePanel = nullptr;
    TFormatCommands *m_formatCommands = nullptr;
    TSelectionTracker *m_selectionTracker = nullptr;
    TEditCommands *m_editCommands = nullptr;
    TInsertCommands *m_insertCommands = nullptr;
    TRichPrinter *m_richPrinter1 = nullptr;
    TPrintCommands *m_printCommands = nullptr;
};
