#include "picture/dibdecoder.h"

#include <QBuffer>
#include <QImageReader>

namespace DibDecoder {

QImage decode(const QByteArray &dib, int allocationLimitMb) {
    if (dib.size() < 40)
        return {};
    const auto u32 = [&dib](int at) {
        return static_cast<quint32>(static_cast<unsigned char>(dib[at])) |
               static_cast<quint32>(static_cast<unsigned char>(dib[at + 1])) << 8 |
               static_cast<quint32>(static_cast<unsigned char>(dib[at + 2])) << 16 |
               static_cast<quint32>(static_cast<unsigned char>(dib[at + 3])) << 24;
    };
    const quint32 headerSize = u32(0);
    const int bitCount = static_cast<unsigned char>(dib[14]) | static_cast<unsigned char>(dib[15])
                                                                   << 8;
    quint32 colors = u32(32);
    if (colors == 0 && bitCount <= 8)
        colors = 1u << bitCount;
    if (headerSize > static_cast<quint32>(dib.size()) || colors > 256)
        return {};
    // The file header: "BM", the file's size, two reserved words and where the pixels start.
    const quint32 offset = 14 + headerSize + colors * 4;
    QByteArray file("BM");
    const quint32 fileSize = static_cast<quint32>(dib.size()) + 14;
    for (quint32 value : {fileSize, 0u, offset}) {
        for (int i = 0; i < 4; ++i)
            file.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    file.append(dib);
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(allocationLimitMb);
    return reader.read();
}

} // namespace DibDecoder
