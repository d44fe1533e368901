#pragma once

#include <QString>

// Copies a file through a zlib stream (zlib header and trailer). Compression runs at level 1:
// preview pages are written while the user waits, so speed beats size.
class TCompress {
public:
    static constexpr int BlockSize = 4096;

    // Writes the zlib stream of `source` into `target`; false (target removed) on any failure.
    static bool compressFile(const QString &source, const QString &target, int level = 1);
    // Inflates `source` into `target`, reading 4096 bytes at a time; false (target removed) when
    // the source is unreadable, truncated or not a zlib stream.
    static bool decompressFile(const QString &source, const QString &target);
};
