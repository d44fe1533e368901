#pragma once

#include <QByteArray>
#include <QString>

// File names reach the program as bytes; Qt reads them as UTF-8 and cannot give back bytes that
// are not, so a file whose name is in another encoding cannot be opened by its name. Such names
// are told apart and refused with a plain reason instead of a failed open.

// Whether the name, as the system gives it, can be used.
bool IsUsableFileName(const QByteArray &name);

// The reason a name cannot be used; `shown` is the name as far as it can be read.
QString UnusableFileNameText(const QString &shown);
