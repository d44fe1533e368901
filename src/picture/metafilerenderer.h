#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Draws Windows metafiles into pictures: enhanced metafiles (EMF) through libemf2svg and Qt SVG,
// old-style metafiles (WMF) through libwmf with a drawing layer of ours over QPainter. The bytes
// are checked record by record before either library sees them, and every function answers a null
// image or an invalid size for input it cannot draw; none of them throws.
namespace MetafileRenderer {

enum class Kind { Unknown, Emf, Wmf };

// The kind of metafile the leading bytes announce, whatever the file or RTF claims.
Kind sniff(const QByteArray &head);

// The size the metafile asks to be shown at, in pixels at 96 dots per inch, shrunk to fit
// MaxSide keeping its aspect; invalid when the bytes are not a complete metafile.
QSize size(const QByteArray &data);

// Draws the metafile at `size` (its own size when empty), shrunk to fit MaxSide keeping its
// aspect, on a transparent background.
QImage render(const QByteArray &data, const QSize &size = {});

// Neither side of a rendered picture exceeds this, whatever a header claims.
constexpr int MaxSide = 4096;
// Larger metafiles are not read.
constexpr qint64 MaxBytes = 64LL * 1024 * 1024;

} // namespace MetafileRenderer
