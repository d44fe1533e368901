#pragma once

#include "editor/file/filekind.h"
#include "editor/file/recentfiles.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class HtmlView;
class Prompts;
class QMainWindow;
class Shell;
class TDocumentState;
class TEditorActions;
class TEditorModes;
class TRxRichEdit;
class TStatusPanels;
struct TModeFlags;

// What the file commands reach. Nothing is owned; everything belongs to the editor window.
struct FileCommandsContext {
    QMainWindow &window;
    const TModeFlags &flags;
    TEditorActions &actions;
    TEditorModes &modes;
    TRxRichEdit &Memo;
    HtmlView &htmlLite1;
    TDocumentState &document;
    TStatusPanels &status;
    Prompts &prompts;
    Shell &shell;
    // The window's flags: started with a command-line file; a close has been requested.
    const bool &StartedWithFile;
    bool &Closing;
};

// The file commands of the editor window: New, Open, "Open as Text", Save, Save As, Exit and the
// close of the window, dropped files, and the four recent files at the end of the File menu.
// OpenFile is the one loader every way of opening a file goes through; it decides by the name
// whether the file is edited, shown, played or started.
//
// Nothing the user typed is lost silently: a save that wrote nothing keeps the document modified
// and its name, and says so in the "Comments" panel; the save question counts such a save as
// Cancel; every way of replacing a modified document asks first; and the text is never written
// over a file that was only shown, played or started (Save then asks for a name, as Save As).
class TFileCommands : public QObject {
    Q_OBJECT

public:
    explicit TFileCommands(FileCommandsContext context, QObject *parent = nullptr);

    // The next file OpenFile loads is taken as plain text whatever its name.
    bool OpenAsText = false;
    // The next completed Save As puts the saved name on the recent files.
    bool AddRecentOnSaveAs = false;
    // The program started for each further file of a multiple selection.
    QString ProgramPath;

    // After a file was loaded or shown: point the file list at the document's folder and
    // rebuild the path list. Set by the side panel's wiring; may be empty.
    std::function<void()> ShowDocumentFolder;
    // Highlights the document in the file list; may be empty.
    std::function<void()> SyncFileListSelection;

    void OpenFile(const QString &name);
    // The save question; false when the user cancelled, or when the save it asked for wrote
    // nothing.
    bool AskSaveChanges();
    void AddRecentFile(const QString &path);
    const TRecentFiles &recentFiles() const { return m_recent; }
    // Writes the document as text after the formatting question; false when nothing was written.
    bool TextSave(const QString &target);
    void PrepareMenu(int slot);

    void NewActionExecute();
    void OpenActionExecute();
    void OpenasTextonly1Click();
    void SaveActionExecute();
    void SaveAsActionExecute();
    void ExitActionExecute();
    void FileName1Click() { PrepareMenu(0); }
    void FileName2Click() { PrepareMenu(1); }
    void FileName3Click() { PrepareMenu(2); }
    void FileName4Click() { PrepareMenu(3); }
    // Files dropped from the shell: only the first is opened.
    void WMDropFiles(const QStringList &paths);

    // The save commands; true when the document was written.
    bool Save();
    bool SaveAs();

    // The filter entries of the Open dialog, numbered from 1.
    static constexpr int ExecuteFileEntry = 7;
    static QString openFilter();
    static QString saveFilter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The close of the window: false keeps it open.
    bool FormCloseQuery();
    bool FormClose();
    void SaveActionUpdate();
    void showRecentFiles();
    void loadIntoMemo(const QString &name, FileKind kind);
    // Writes the document and clears the modified flag.
    void write(const QString &target);
    // Says in the status bar that the document was not written.
    void notSaved();
    void simpleMessage(const QString &text);

    FileCommandsContext m_context;
    TRecentFiles m_recent;
    // The document name is a file that was only shown, played or started, or whose load
    // failed: the editing area's text does not belong to it, so Save asks for a name.
    bool m_saveAsOnly = false;
};
