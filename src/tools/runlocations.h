#pragma once

#include <QString>
#include <array>

class Prompts;
class SettingsKey;
class SettingsStore;
class Shell;
class QWidget;

// The six run locations (programs the user linked to the editor window) and the start folder of
// its dialogs and file list, as the settings store keeps them ("RunAppLoc1" to "RunAppLoc6",
// "Initial Dir"), and the starting of those programs. Locations 1 and 2 are external editors that
// open the current document; 3 to 6 are started without arguments.
//
// Every program is started as exactly that file with exactly the one argument given: no command
// line is ever built for a shell, so blanks and shell characters in a path mean nothing.
class TRunLocations {
public:
    static constexpr int Count = 6;
    static const QString NoFolderChosen;

    TRunLocations(Shell &shell, Prompts &prompts, QWidget &window);

    // Location n (1 to 6); empty when not set.
    QString Location(int n) const;
    // The stored "Initial Dir" with its closing "/".
    QString StartFolder = QStringLiteral("/");

    // Reads the six locations and the start folder. Location 1 is taken only when a file of its
    // path exists (it keeps its value otherwise); the others as they read. Values that cannot
    // be read as text count as empty.
    void Load(SettingsStore &store);
    // Whether location 1 as stored names an existing file (its icon is set only then).
    static bool Exists(const QString &path);

    // Locations 1 and 2: opens the document with the external editor. Says "Cannot start ..."
    // when the editor is no file; does nothing for a new document; starts the editor without
    // the document when the document's file is gone.
    void StartEditor(int n, const QString &documentName, bool untitled);
    // Locations 3 to 6. 3 and 4 start without any test; 5 and 6 say "Couldn't' find ..." when
    // their file does not exist.
    void StartProgram(int n);

    // "RunAppLoc1" to "RunAppLoc6", and "Initial Dir".
    static QString ValueName(int n);
    static const QString InitialDirValue;
    // A stored text; a value of another type reads as the empty string, like an absent one.
    static QString ReadText(const SettingsKey &key, const QString &name);

private:
    void message(const QString &text);

    Shell &m_shell;
    Prompts &m_prompts;
    QWidget &m_window;
    std::array<QString, Count> m_locations;
};
