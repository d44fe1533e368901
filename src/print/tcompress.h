#pragma once

#include <QString>

class QIODevice;

// Copies data through a zlib stream (zlib header and trailer). Compression runs at level 1:
// preview pages are written while the user waits, so speed beats size.
class TCompress {
public:
    static constexpr int BlockSize = 4096;

    // Writes the zlib stream of everything `source` holds into `target`.
    static bool compress(QIODevice &source, QIODevice &target, int level = 1);
    // Inflates the zlib stream of `source` into `target`, reading 4096 bytes at a time; false when
    // the stream is truncated or not a zlib stream.
    static bool decompress(QIODevice &source, QIODevice &target);

    // The same between files; false (target removed) on any failure.
    static bool compressFile(const QString &source, const QString &target, int level = 1);
    static bool decompressFile(const QString &source, const QString &target);
};
