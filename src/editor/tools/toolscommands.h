#pragma once

#include "tools/aboutboxdlg.h"
#include "tools/runlocations.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class HelpViewer;
class Prompts;
class QAction;
class QMainWindow;
class SettingsStore;
class Shell;
class TDocumentState;
class TEditorActions;
class TEditorModes;
class TFileCommands;
class TRxRichEdit;

// What the external tools reach in the window. Nothing is owned.
struct ToolsCommandsContext {
    QMainWindow &window;
    TEditorActions &actions;
    TRxRichEdit &Memo;
    TDocumentState &document;
    TEditorModes &modes;
    TFileCommands &fileCommands;
    Prompts &prompts;
    Shell &shell;
    SettingsStore &settings;
    HelpViewer &help;
    // The window's start folder, which the run locations set.
    QString &StartFolder;
};

// The window's external tools: the run locations with their dialog and icons, Send Mail, the
// about box and the help page.
class TToolsCommands : public QObject {
    Q_OBJECT

public:
    explicit TToolsCommands(ToolsCommandsContext context, QObject *parent = nullptr);

    static const QString Copyright;
    // The image slots of the commands that start locations 1 to 6.
    static constexpr int FirstRunSlot = 82;

    // Reads the run locations and the start folder; with icons, each command that starts a
    // location shows that program's icon.
    void LoadRunLocations(bool withIcons);
    void SetToolbarIcon(const QString &path, int slot);
    // The command whose button or menu item shows image slot 82 to 87; nullptr for others.
    QAction *commandOfSlot(int slot) const;

    const TRunLocations &runLocations() const { return m_runLocations; }
    TAboutBoxDlg &AboutBoxDlg1() { return *m_aboutBoxDlg1; }

    void RunLocations1Click();
    void OpencurrentfilewithEditor11Click();
    void OpencurrentfilewithEditor1Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void PaintActionExecute();
    void CharMapActionExecute();
    void Send1Click();
    void HelpAboutClick();
    void HelpMenuClick();

private:
    bool documentIsUntitled() const;
    // A text too long for a "mailto:" address goes as a text file; false when none was written.
    bool sendTextAsAttachment(const QString &text);
    void sendAttachment(const QString &path);

    ToolsCommandsContext m_context;
    TRunLocations m_runLocations;
    TAboutBoxDlg *m_aboutBoxDlg1;
    // Attached text files live until the program ends: mail programs read them after the
    // hand-over has returned.
    std::unique_ptr<QTemporaryDir> m_mailFolder;
};
