#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Decoding of the pictures the viewer shows: JPEG through libjpeg, PNG, GIF and BMP through Qt.
// The format is taken from the bytes, never from the file name, and anything else is refused, so
// a page cannot reach an image plug-in we did not choose. Every function answers a null image (or
// Unknown) for input it cannot decode; none of them throws.
namespace PictureDecoder {

enum class Format { Unknown, Jpeg, Png, Gif, Bmp };

// The format the leading bytes announce.
Format sniff(const QByteArray &head);

// The size `picture` is shown at within `bounds`: unchanged when it fits (or when bounds is
// empty), else shrunk to fit keeping its aspect, never below one pixel either way.
QSize fitSize(const QSize &picture, const QSize &bounds);

// The full size of a picture in any of the four formats, upright (a JPEG's orientation mark
// applied); invalid when the header cannot be read or the picture is too large.
QSize size(const QByteArray &data);

// True for a GIF of more than one frame, which the viewer plays instead of showing.
bool isAnimation(const QByteArray &data);

// Decodes a JPEG, turned upright by its orientation mark and shrunk to fit `bounds` (see
// fitSize). Large pictures are decoded at a reduced scale by libjpeg itself, so a photo of many
// megapixels costs little more than the pixels that are shown.
QImage decodeJpeg(const QByteArray &data, const QSize &bounds = {});

// Decodes any of the four formats (the first frame of an animated GIF), shrunk to fit `bounds`.
QImage decode(const QByteArray &data, const QSize &bounds = {});

// Reads and decodes a file; a null image when it cannot be read or decoded.
QImage decodeFile(const QString &path, const QSize &bounds = {});

// Pictures with more pixels than this are refused before any pixel is decoded.
constexpr qint64 MaxPixels = 100'000'000;

} // namespace PictureDecoder
