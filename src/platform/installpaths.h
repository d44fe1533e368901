#pragma once

#include <QString>

// Where the program finds what ships with it. Run from its build tree (or any folder holding it
// with its help page) everything lies beside the executable; installed, the executable is in the
// binaries folder and the rest in the data and library folders of the same prefix, found relative
// to the executable so that a relocated or staged (DESTDIR) installation works as well.
namespace InstallPaths {

inline constexpr char HelpFileName[] = "Quillet.html";

// The folder of the running executable.
QString programFolder();

// The folder holding the help page and the shipped term file: `programFolder` itself when the
// help page lies there, else the installed data folder when it exists, else `programFolder`.
QString dataFolder(const QString &programFolder);

// True when `programFolder` is an installed binaries folder (the data folder lies apart from it).
bool isInstalled(const QString &programFolder);

// The folder in which the program keeps files of its own (the term file): `programFolder` when
// it runs from its build tree; empty for an installed program, whose binaries folder belongs to
// the system even when the user could write there.
QString ownFilesFolder(const QString &programFolder);

// The help page in the data folder.
QString helpFile(const QString &programFolder);

// The folder the project's converter libraries are installed to, relative to an installed
// `programFolder`; in a build tree the registrations name the libraries where they were built.
QString converterFolder(const QString &programFolder);

} // namespace InstallPaths
