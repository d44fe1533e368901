#pragma once

#include <QIcon>
#include <QString>

// The program's pictures: its own icon and the pictures of its commands. A command's picture is
// the desktop theme's icon of that name where the theme has one, else the picture shipped with
// the program, so a desktop without an icon theme shows the same commands.
namespace ProgramImages {

// The program's icon as a resource, for windows and the about box.
inline constexpr char ProgramIconPath[] = ":/icons/quillet.svg";
QIcon programIcon();

// The shipped picture ":/icons/images/<image>.svg", drawn in the palette's text colour.
QIcon shippedImage(const QString &image);

// `themeName` from the desktop's icon theme (empty: none), else the shipped `image`.
QIcon commandImage(const QString &themeName, const QString &image);

} // namespace ProgramImages
