#include "picture/picturedecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSysInfo>
#include <QTransform>
#include <csetjmp>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace PictureDecoder {

namespace {

// Progressive files may hold any number of scans; a broken one could keep the decoder busy for
// minutes, so stop well beyond what any real encoder writes.
constexpr int MaxJpegScans = 500;
// libjpeg's own working memory (coefficient buffers of progressive files).
constexpr long MaxJpegMemory = 1024L * 1024L * 1024L;
// Files above this size are not read at all.
constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Everything the decode touches after setjmp lives here, in memory reached through one pointer,
// so that nothing the error jump skips over is left half-built on the stack.
struct JpegState {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager error{};
    jpeg_progress_mgr progress{};
    bool created = false;
    int orientation = 1;
    QImage image;
    std::vector<JSAMPLE> row;

    ~JpegState() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
    auto *error = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    std::longjmp(error->jump, 1);
}

// Warnings about corrupt data are expected from broken files; the viewer shows what it can.
void jpegSilence(j_common_ptr) {}

void jpegProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    auto *dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > MaxJpegScans)
        jpegErrorExit(cinfo);
}

quint16 readExif16(const uchar *p, bool bigEndian) {
    return bigEndian ? quint16(p[0] << 8 | p[1]) : quint16(p[1] << 8 | p[0]);
}

quint32 readExif32(const uchar *p, bool bigEndian) {
    return bigEndian ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]
                     : quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
}

// The orientation tag (0x0112) of the first image directory of an Exif block, 1 when absent or
// unreadable. Every offset is checked against the block's length.
int exifOrientation(const uchar *data, size_t length) {
    static const uchar header[] = {'E', 'x', 'i', 'f', 0, 0};
    if (length < 6 + 8 || std::memcmp(data, header, 6) != 0)
        return 1;
    const uchar *tiff = data + 6;
    const size_t size = length - 6;
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M')
        bigEndian = true;
    else if (!(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    if (readExif16(tiff + 2, bigEndian) != 42)
        return 1;
    const quint32 directory = readExif32(tiff + 4, bigEndian);
    if (directory > size - 2)
        return 1;
    const quint16 count = readExif16(tiff + directory, bigEndian);
    for (quint32 i = 0; i < count; ++i) {
        const size_t entry = size_t(directory) + 2 + size_t(i) * 12;
        if (entry + 12 > size)
            return 1;
        if (readExif16(tiff + entry, bigEndian) != 0x0112)
            continue;
        const quint16 type = readExif16(tiff + entry + 2, bigEndian);
        if (type != 3) // SHORT
            return 1;
        const int value = readExif16(tiff + entry + 8, bigEndian);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

bool swapsSides(int orientation) {
    return orientation >= 5;
}

QImage orient(const QImage &image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

// Starts libjpeg on the data and reads the header, with the orientation mark. Errors jump to
// state.error.jump, which the caller has set.
void startJpeg(JpegState &state, const QByteArray &data) {
    state.cinfo.err = jpeg_std_error(&state.error.pub);
    state.error.pub.error_exit = jpegErrorExit;
    state.error.pub.output_message = jpegSilence;
    jpeg_create_decompress(&state.cinfo);
    state.created = true;
    state.cinfo.mem->max_memory_to_use = MaxJpegMemory;
    state.progress.progress_monitor = jpegProgress;
    state.cinfo.progress = &state.progress;
    jpeg_mem_src(&state.cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&state.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&state.cinfo, TRUE);
    for (jpeg_saved_marker_ptr marker = state.cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            state.orientation = exifOrientation(marker->data, marker->data_length);
            break;
        }
    }
}

bool headerAcceptable(const jpeg_decompress_struct &cinfo) {
    return cinfo.image_width > 0 && cinfo.image_height > 0 &&
           qint64(cinfo.image_width) * qint64(cinfo.image_height) <= MaxPixels;
}

// Chooses the smallest of libjpeg's scales n/8 whose output still covers `target`, so the final
// smooth scaling works from at least as many pixels as it shows.
void chooseScale(jpeg_decompress_struct &cinfo, const QSize &target) {
    cinfo.scale_denom = 8;
    for (unsigned num = 1; num <= 8; ++num) {
        cinfo.scale_num = num;
        jpeg_calc_output_dimensions(&cinfo);
        if (int(cinfo.output_width) >= target.width() &&
            int(cinfo.output_height) >= target.height())
            return;
    }
}

void convertCmykRow(const JSAMPLE *source, QRgb *target, int width, bool inverted) {
    for (int x = 0; x < width; ++x, source += 4) {
        int c = source[0], m = source[1], y = source[2], k = source[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        target[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// The libjpeg part of decodeJpeg; on success state.image holds the picture as decoded (not yet
// turned upright or scaled to its final size).
bool runJpeg(JpegState &state, const QByteArray &data, const QSize &bounds) {
    if (setjmp(state.error.jump))
        return false;
    startJpeg(state, data);
    jpeg_decompress_struct &cinfo = state.cinfo;
    if (!headerAcceptable(cinfo))
        return false;

    QSize full(int(cinfo.image_width), int(cinfo.image_height));
    const bool swap = swapsSides(state.orientation);
    QSize target = fitSize(swap ? full.transposed() : full, bounds);
    if (swap)
        target.transpose();
    chooseScale(cinfo, target);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else if (gray)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else
        cinfo.out_color_space =
            QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;

    jpeg_start_decompress(&cinfo);
    const int width = int(cinfo.output_width);
    const int height = int(cinfo.output_height);
    state.image = QImage(width, height, gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (state.image.isNull())
        return false;
    if (cmyk)
        state.row.resize(size_t(width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = cmyk ? state.row.data() : state.image.scanLine(y);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            return false;
        if (cmyk)
            convertCmykRow(state.row.data(), reinterpret_cast<QRgb *>(state.image.scanLine(y)),
                           width, cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

Format sniff(const QByteArray &head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return Format::Jpeg;
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return Format::Png;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Format::Gif;
    if (head.startsWith("BM"))
        return Format::Bmp;
    return Format::Unknown;
}

QSize fitSize(const QSize &picture, const QSize &bounds) {
    if (picture.isEmpty())
        return picture;
    if (bounds.isEmpty() ||
        (picture.width() <= bounds.width() && picture.height() <= bounds.height()))
        return picture;
    QSize fitted = picture.scaled(bounds, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

namespace {

QSize jpegSize(const QByteArray &data) {
    auto state = std::make_unique<JpegState>();
    if (setjmp(state->error.jump))
        return {};
    startJpeg(*state, data);
    if (!headerAcceptable(state->cinfo))
        return {};
    QSize size(int(state->cinfo.image_width), int(state->cinfo.image_height));
    return swapsSides(state->orientation) ? size.transposed() : size;
}

// Qt's reader for exactly the format the bytes announced, so that no other image plug-in gets to
// look at them.
class QtFormatReader {
public:
    QtFormatReader(const QByteArray &data, const char *format)
        : m_reader(&m_buffer, format) {
        m_buffer.setData(data);
        m_buffer.open(QIODevice::ReadOnly);
        m_reader.setDecideFormatFromContent(false);
    }

    // The picture's size from its header; invalid when unreadable, empty or too large.
    QSize size() {
        const QSize size = m_reader.size();
        if (size.isEmpty() || qint64(size.width()) * size.height() > MaxPixels)
            return {};
        return size;
    }

    QImage read() { return m_reader.read(); }
    int imageCount() { return m_reader.imageCount(); }

private:
    QBuffer m_buffer;
    QImageReader m_reader;
};

const char *qtFormatName(Format format) {
    switch (format) {
    case Format::Png:
        return "png";
    case Format::Gif:
        return "gif";
    case Format::Bmp:
        return "bmp";
    default:
        return nullptr;
    }
}

} // namespace

QSize size(const QByteArray &data) {
    const Format format = sniff(data);
    if (format == Format::Jpeg)
        return jpegSize(data);
    const char *name = qtFormatName(format);
    if (!name)
        return {};
    return QtFormatReader(data, name).size();
}

bool isAnimation(const QByteArray &data) {
    return sniff(data) == Format::Gif && QtFormatReader(data, "gif").imageCount() > 1;
}

QImage decodeJpeg(const QByteArray &data, const QSize &bounds) {
    if (sniff(data) != Format::Jpeg)
        return {};
    auto state = std::make_unique<JpegState>();
    if (!runJpeg(*state, data, bounds))
        return {};
    QImage image = orient(state->image, state->orientation);
    const QSize target = fitSize(image.size(), bounds);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage decode(const QByteArray &data, const QSize &bounds) {
    const Format format = sniff(data);
    if (format == Format::Jpeg)
        return decodeJpeg(data, bounds);
    const char *name = qtFormatName(format);
    if (!name)
        return {};
    QtFormatReader reader(data, name);
    if (!reader.size().isValid())
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    const QSize target = fitSize(image.size(), bounds);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage decodeFile(const QString &path, const QSize &bounds) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxFileBytes)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decode(file.readAll(), bounds);
}

} // namespace PictureDecoder
