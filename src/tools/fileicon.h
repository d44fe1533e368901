#pragma once

#include <QIcon>
#include <QString>

// The icon the desktop associates with a file: for an application entry (".desktop") its Icon;
// for a program, the icon of the application entry that starts it, else the theme's icon of its
// name; for any other file (and a missing one) the icon of its MIME type. Never null: the style's
// file icon when the desktop knows none.
namespace FileIcon {

QIcon forFile(const QString &path);

// An entry's Icon value as an icon: an absolute picture path, else a theme name.
QIcon fromIconValue(const QString &value);

} // namespace FileIcon
