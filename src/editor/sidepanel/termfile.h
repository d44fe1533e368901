#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The term file "TxtTmpl.txt": plain text, one term per line. Written with a carriage return and
// line feed after every term, the last one included; when read, a line ends at a carriage return,
// a line feed or both, and a NUL byte ends the text. A term that holds line breaks therefore comes
// back as several terms. Text is written in Windows-1252 when that holds every term, else in
// UTF-8, and read as UTF-8 when it is valid UTF-8, else as Windows-1252, so no character is lost.
namespace TermFile {

inline constexpr char FileName[] = "TxtTmpl.txt";

// The terms a file's bytes hold; no bytes give no terms.
QStringList parse(const QByteArray &bytes);

// The bytes that store these terms.
QByteArray format(const QStringList &terms);

// The terms of a file; a file that does not exist or cannot be read gives none.
QStringList load(const QString &path);

// Replaces the file with these terms, atomically, creating its folder when missing. Answers the
// message to show when the file cannot be written (the file is then left as it was).
std::optional<QString> save(const QString &path, const QStringList &terms);

// Where the file is written: in the program's folder when that folder is writable, else (an
// installed program, or no program folder given) in "quillet" below the per-user data folder.
QString writePath(const QString &programFolder, const QString &dataHome);

// Where the file is read from: the written one when it exists, else the program folder's (terms
// installed with the program), else the written one (which then does not exist yet).
QString readPath(const QString &programFolder, const QString &dataHome);
// The same, with the installed terms in `shippedFolder` (an installed program's data folder).
QString readPath(const QString &programFolder, const QString &dataHome,
                 const QString &shippedFolder);

// The per-user data folder ($XDG_DATA_HOME, by default ~/.local/share).
QString dataHome();

// The two paths for this process: the executable's folder (none when installed, see
// InstallPaths::ownFilesFolder), the shipped terms of an installed program and $XDG_DATA_HOME.
QString defaultWritePath();
QString defaultReadPath();

} // namespace TermFile
