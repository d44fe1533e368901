#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Decisions of the text viewer that need no window: dialog filters, the rule for dropped files,
// the hand-over's command line and how a data file's text goes back to disk.

// Set in the environment of the process a hand-over starts. That process opens the editor even
// when this viewer has already ended by the time it decides, which a loaded machine can cause.
inline constexpr char kHandedOverVariable[] = "QUILLET_HANDED_OVER";

// Filters of the Open and Save As dialogs.
QStringList viewerTextFilters();

// Filters of the dialog that saves before a hand-over to the editor: one named entry and nine
// bare patterns.
QStringList viewerHandOverFilters();

// A dropped file of this size (FileSizeKB) stays in the viewer; a larger one goes to the editor.
// The limit is 64 × 1024 bytes: one byte less still counts 64.
bool droppedFileStaysInViewer(int sizeKB);

// The bytes that go to disk for a data file read as `loaded` whose text area now shows `shown`.
// The text area turns every line break (CR LF, CR or LF) into one "\n" and shows NUL as the
// character 1, so an unchanged text gives the file's own bytes back whole; after an edit the
// line breaks are written in the style of the file's first one and every character 1 as NUL.
QByteArray dataFileBytesForSave(const QString &shown, const QByteArray &loaded);

// The name part of a path, without its folder.
QString fileNamePart(const QString &path);

// The folder of a path; empty for an empty path.
QString folderPart(const QString &path);
