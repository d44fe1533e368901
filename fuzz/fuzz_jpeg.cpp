// The viewer's JPEG decoding over arbitrary bytes: header reading, scaled and full decoding,
// orientation marks. Nothing may crash, leak, hang or allocate without bound.
#include "picture/picturedecoder.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (PictureDecoder::sniff(bytes) != PictureDecoder::Format::Jpeg)
        return 0; // the other formats are Qt's
    const QSize full = PictureDecoder::size(bytes);
    PictureDecoder::decodeJpeg(bytes, QSize(160, 120));
    // Full size only for pictures small enough to keep each run quick.
    if (full.isValid() && qint64(full.width()) * full.height() <= 4'000'000)
        PictureDecoder::decodeJpeg(bytes);
    return 0;
}
