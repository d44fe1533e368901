#pragma once

#include <QByteArray>
#include <QImage>

// Device-independent bitmaps as documents embed them: the bitmap without the file header a BMP
// file starts with. Answers a null image for anything it cannot decode; never throws.
namespace DibDecoder {

// Decodes the bitmap, refusing pictures that would take more than allocationLimitMb megabytes.
QImage decode(const QByteArray &dib, int allocationLimitMb);

} // namespace DibDecoder
