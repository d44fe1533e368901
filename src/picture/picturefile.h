#pragma once

#include <QImage>
#include <QString>

// Loads a picture file for insertion into the text. The decoder is chosen by the file name's
// extension, ignoring case: "jpg" and "jpeg" JPEG, "bmp" bitmap, "png" and "gif" too, and the
// metafiles "emf" and "wmf", drawn at their own size. An icon ("ico") cannot go on the clipboard;
// it, any other extension, a file that cannot be read and one that does not decode raise
// UserError with the text for the user.
QImage LoadPictureFile(const QString &path);

// The filter of the dialogs that choose a picture to insert, in the dialogs' own notation.
const QString &PictureFileFilter();
