#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The start-up's choice between the editor window and the text viewer, before any window exists.

struct StartupFlags {
    bool noTV = true;      // do not open small text files in the viewer; true when not stored
    bool noSplash = false; // do not show the splash window
};

// Reads "NoTV" and "NoSplash" without creating the key. A flag that is absent, or stored as
// anything but an integer, keeps its default.
StartupFlags ReadStartupFlags(const SettingsStore &store);

// The extension of the file's name part (from its last ".", the dot included), in upper case,
// is ".RTF", ".HTM", ".HTML", ".JPG", ".GIF", ".BMP" or ".WAV".
bool IsEditorExtension(const QString &file);

enum class StartWindow { Editor, TextViewer };

// `arguments` are the command-line arguments after the program name; only the first counts, and
// an empty one counts as none. The first rule that applies decides: no argument, a file of 64 KB
// or more by FileSizeKB, an editor extension, the "NoTV" flag, another running process of the
// program: the editor; otherwise the text viewer.
StartWindow ChooseStartWindow(const QStringList &arguments, bool noTV, bool otherInstance);
