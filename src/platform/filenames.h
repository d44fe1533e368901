#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File names reach the program as bytes; Qt reads them as UTF-8 and cannot give back bytes that
// are not, so a file whose name is in another encoding cannot be opened by its name. Such names
// are told apart and refused with a plain reason instead of a failed open.

// Whether the name, as the system gives it, can be used.
bool IsUsableFileName(const QByteArray &name);

// Whether a name Qt gave (read from a folder listing, say) stands for bytes that were not UTF-8:
// Qt shows each such byte as a replacement character, and no file has the name so written.
bool IsUnreadableFileName(const QString &path);

// The ordinary files of a folder (links followed, hidden ones left out) whose names are not
// UTF-8, each byte that is not shown as a replacement character. Qt's folder listings leave them
// out, so a list built from those alone would hide the file the user looks for.
QStringList UnreadableFileNames(const QString &folder);

// The reason a name cannot be used; `shown` is the name as far as it can be read.
QString UnusableFileNameText(const QString &shown);
