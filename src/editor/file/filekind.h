#pragma once

#include <QString>

// What the loader does with a file, decided by the last three characters of its name.
enum class FileKind {
    Rtf,     // "rtf": edited in RTF mode
    Program, // "exe", "com": started by the shell
    Picture, // "bmp", "jpg", "gif": shown by the viewer
    Page,    // "htm", "tml": shown by the viewer
    Sound,   // "wav": played
    Text     // anything else: edited in text mode
};

// The kind of `name` by its last three characters, compared without regard to letter case
// (photo.JPG is a picture, clip.jpeg is text). `openAsText` makes every file text.
FileKind DecideFileKind(const QString &name, bool openAsText = false);

// True for the kinds that are only shown, played or started: the editing area's text must never
// be saved over such a file.
bool IsForeignKind(FileKind kind);

// The Save As dialog's entries, numbered as the dialog shows them.
enum class SaveEntry { RichText = 1, Text = 2, AllFiles = 3 };

// The name Save As writes to for the name chosen in the dialog. A name without a three-letter
// extension gets "." + `ext`; one with a three-letter extension keeps it for "All files", and for
// the other entries keeps it when it is already `ext` or has it replaced by `ext` (report.doc
// becomes report.rtf). page.html has no three-letter extension, so it becomes page.html.rtf.
// The extension is compared without regard to letter case: on a file system that tells letter
// case apart, report.RTF and report.rtf are different files, and the user chose the first.
QString ProvideFileName(const QString &name, const QString &ext, SaveEntry kind);

// True when the name's extension (from its last ".") is ".rtf" in any letter case; Save then
// keeps the formatting.
bool HasRtfExtension(const QString &name);
