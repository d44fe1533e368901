#include "print/tcompress.h"

#include <QFile>
#include <functional>
#include <zlib.h>

bool TCompress::compress(QIODevice &source, QIODevice &target, int level) {
    z_stream stream{};
    if (deflateInit(&stream, level) != Z_OK)
        return false;
    unsigned char inBuf[BlockSize];
    unsigned char outBuf[BlockSize];
    int flush = Z_NO_FLUSH;
    bool ok = true;
    while (ok && flush != Z_FINISH) {
        const qint64 got = source.read(reinterpret_cast<char *>(inBuf), BlockSize);
        if (got < 0) {
            ok = false;
            break;
        }
        flush = source.atEnd() || got == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = inBuf;
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = outBuf;
            stream.avail_out = BlockSize;
            if (deflate(&stream, flush) == Z_STREAM_ERROR) {
                ok = false;
                break;
            }
            const qint64 have = BlockSize - stream.avail_out;
            if (target.write(reinterpret_cast<const char *>(outBuf), have) != have) {
                ok = false;
                break;
            }
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return ok;
}

bool TCompress::decompress(QIODevice &source, QIODevice &target) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    unsigned char inBuf[BlockSize];
    unsigned char outBuf[BlockSize];
    int status = Z_OK;
    bool ok = true;
    while (ok && status != Z_STREAM_END) {
        const qint64 got = source.read(reinterpret_cast<char *>(inBuf), BlockSize);
        if (got <= 0) {
            ok = false; // ends before the stream does
            break;
        }
        stream.next_in = inBuf;
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = outBuf;
            stream.avail_out = BlockSize;
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                ok = false;
                break;
            }
            const qint64 have = BlockSize - stream.avail_out;
            if (target.write(reinterpret_cast<const char *>(outBuf), have) != have) {
                ok = false;
                break;
            }
        } while (stream.avail_out == 0 && status != Z_STREAM_END);
    }
    inflateEnd(&stream);
    return ok;
}

namespace {

bool copyFile(const QString &source, const QString &target,
              const std::function<bool(QIODevice &, QIODevice &)> &copy) {
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (!copy(in, out) || !out.flush()) {
        out.close();
        out.remove();
        return false;
    }
    out.close();
    return true;
}

} // namespace

bool TCompress::compressFile(const QString &source, const QString &target, int level) {
    return copyFile(source, target,
                    [level](QIODevice &in, QIODevice &out) { return compress(in, out, level); });
}

bool TCompress::decompressFile(const QString &source, const QString &target) {
    return copyFile(source, target, &TCompress::decompress);
}
