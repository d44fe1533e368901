#include "picture/metafilerenderer.h"

#include "picture/metafilewmfplayer.h"

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <emf2svg.h>
#include <optional>

namespace MetafileRenderer {

namespace {

constexpr quint32 EmrHeader = 1;
constexpr quint32 EmrEof = 14;
constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype EmfHeaderBytes = 88;     // without the optional extensions
constexpr quint32 WmfPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype WmfPlaceableBytes = 22;
constexpr qsizetype WmfHeaderBytes = 18;
// A frame is measured in hundredths of a millimetre.
constexpr double FrameUnitsPerInch = 2540.0;
constexpr double PixelsPerInch = 96.0;

quint16 u16(const QByteArray &data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray &data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

qint32 i32(const QByteArray &data, qsizetype at) {
    return qFromLittleEndian<qint32>(data.constData() + at);
}

// Edges as the header stores them, without Qt's off-by-one conventions.
struct Edges {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

Edges edgesAt(const QByteArray &data, qsizetype at) {
    return {double(i32(data, at)), double(i32(data, at + 4)), double(i32(data, at + 8)),
            double(i32(data, at + 12))};
}

struct EmfHeader {
    Edges bounds; // reference-device pixels, inclusive
    Edges frame;  // hundredths of a millimetre
    QSizeF devicePixels;
    QSizeF deviceMillimetres;
};

// The header of a complete enhanced metafile: a header record with the signature, then records
// of whole multiples of four bytes, at least eight each, lying within the data, up to the end
// record.
std::optional<EmfHeader> readEmf(const QByteArray &data) {
    if (data.size() < EmfHeaderBytes || data.size() > MaxBytes)
        return {};
    if (u32(data, 0) != EmrHeader || u32(data, 40) != EmfSignature)
        return {};
    const quint32 headerSize = u32(data, 4);
    if (headerSize < EmfHeaderBytes || headerSize > quint64(data.size()))
        return {};
    qsizetype at = 0;
    bool ended = false;
    while (!ended && at + 8 <= data.size()) {
        const quint32 size = u32(data, at + 4);
        if (size < 8 || size % 4 != 0 || size > quint64(data.size() - at))
            return {};
        ended = u32(data, at) == EmrEof;
        at += size;
    }
    if (!ended)
        return {};
    EmfHeader header;
    header.bounds = edgesAt(data, 8);
    header.frame = edgesAt(data, 24);
    header.devicePixels = QSizeF(i32(data, 72), i32(data, 76));
    header.deviceMillimetres = QSizeF(i32(data, 80), i32(data, 84));
    return header;
}

void putU32(QByteArray &data, qsizetype at, quint32 value) {
    qToLittleEndian(value, data.data() + at);
}

// A complete old-style metafile: an optional placeable header with a usable box, the metafile
// header, then records of at least three words lying within the data, up to the end record. The
// bytes for libwmf, whose header then states the true size of the file and of its largest record:
// libwmf allocates what the header claims, however large.
std::optional<QByteArray> checkedWmf(const QByteArray &data) {
    if (data.size() > MaxBytes)
        return {};
    qsizetype at = 0;
    if (data.size() >= WmfPlaceableBytes && u32(data, 0) == WmfPlaceableKey) {
        const auto edge = [&data](qsizetype offset) { return qint16(u16(data, offset)); };
        if (edge(10) == edge(6) || edge(12) == edge(8) || u16(data, 14) == 0)
            return {};
        at = WmfPlaceableBytes;
    }
    const qsizetype header = at;
    if (data.size() - header < WmfHeaderBytes)
        return {};
    const quint16 type = u16(data, header);
    if ((type != 1 && type != 2) || u16(data, header + 2) != WmfHeaderBytes / 2)
        return {};
    at += WmfHeaderBytes;
    quint32 largest = 0;
    while (at + 6 <= data.size()) {
        const quint32 words = u32(data, at);
        if (words < 3 || words > quint64(data.size() - at) / 2)
            return {};
        largest = qMax(largest, words);
        const bool end = u16(data, at + 4) == 0;
        at += qsizetype(words) * 2;
        if (end) {
            QByteArray checked = data.left(at);
            putU32(checked, header + 6, quint32((at - header) / 2));
            putU32(checked, header + 12, largest);
            return checked;
        }
    }
    return {};
}

// Shrinks a size to fit MaxSide keeping its aspect; invalid for an empty size.
QSize fitted(const QSizeF &size) {
    if (!(size.width() > 0) || !(size.height() > 0))
        return {};
    const double scale = std::min({1.0, MaxSide / size.width(), MaxSide / size.height()});
    return QSize(qMax(1, qRound(size.width() * scale)), qMax(1, qRound(size.height() * scale)));
}

// The frame is the picture's intended size; the bounds, only the extent of what it draws, stand
// in when a writer left the frame empty.
QSizeF emfOwnSize(const EmfHeader &header) {
    if (header.frame.width() > 0 && header.frame.height() > 0)
        return QSizeF(header.frame.width(), header.frame.height()) * PixelsPerInch /
               FrameUnitsPerInch;
    return QSizeF(header.bounds.width() + 1, header.bounds.height() + 1);
}

// libemf2svg draws the bounds' extent; the picture is the frame, in reference-device pixels
// relative to the bounds' corner. Nothing when the header lacks what that takes.
std::optional<QRectF> emfViewBox(const EmfHeader &header) {
    const Edges &frame = header.frame;
    if (!(frame.width() > 0) || !(frame.height() > 0) || !(header.devicePixels.width() > 0) ||
        !(header.devicePixels.height() > 0) || !(header.deviceMillimetres.width() > 0) ||
        !(header.deviceMillimetres.height() > 0))
        return {};
    const double xScale = header.devicePixels.width() / (header.deviceMillimetres.width() * 100);
    const double yScale = header.devicePixels.height() / (header.deviceMillimetres.height() * 100);
    return QRectF(frame.left * xScale - header.bounds.left, frame.top * yScale - header.bounds.top,
                  frame.width() * xScale, frame.height() * yScale);
}

// Text from the metafile reaches the SVG inside CDATA sections, which a "]]>" in the text ends;
// pictures libemf2svg writes are always inline, so any other reference came from the file and
// is refused rather than letting Qt SVG load a file from the disk.
bool referencesOnlyInlineData(const QByteArray &svg) {
    for (qsizetype at = svg.indexOf("href"); at >= 0; at = svg.indexOf("href", at + 4)) {
        qsizetype value = at + 4;
        while (value < svg.size() && (svg[value] == ' ' || svg[value] == '='))
            ++value;
        if (value < svg.size() && (svg[value] == '"' || svg[value] == '\''))
            ++value;
        if (!svg.mid(value, 5).startsWith("data:"))
            return false;
    }
    return true;
}

QImage renderEmf(const QByteArray &data, const QSize &requested) {
    const std::optional<EmfHeader> header = readEmf(data);
    if (!header)
        return {};
    const QSize target = fitted(requested.isEmpty() ? emfOwnSize(*header) : QSizeF(requested));
    if (target.isEmpty())
        return {};

    QByteArray input = data;
    input.detach(); // libemf2svg takes a writable buffer
    char noNamespace[] = "";
    generatorOptions options{};
    options.nameSpace = noNamespace;
    options.svgDelimiter = true;
    char *output = nullptr;
    size_t outputLength = 0;
    const int converted =
        emf2svg(input.data(), size_t(input.size()), &output, &outputLength, &options);
    const QByteArray svg = output ? QByteArray(output, qsizetype(outputLength)) : QByteArray();
    std::free(output);
    if (!converted || svg.isEmpty() || !referencesOnlyInlineData(svg))
        return {};

    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    if (const std::optional<QRectF> viewBox = emfViewBox(*header))
        renderer.setViewBox(*viewBox);
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(target)));
    return image;
}

QImage renderWmf(const QByteArray &data, const QSize &requested) {
    const std::optional<QByteArray> checked = checkedWmf(data);
    if (!checked)
        return {};
    MetafileWmfPlayer player(*checked);
    if (!player.isValid())
        return {};
    return player.render(fitted(requested.isEmpty() ? player.displaySize() : QSizeF(requested)));
}

} // namespace

Kind sniff(const QByteArray &head) {
    if (head.size() >= 44 && u32(head, 0) == EmrHeader && u32(head, 40) == EmfSignature)
        return Kind::Emf;
    if (head.size() >= 4 && u32(head, 0) == WmfPlaceableKey)
        return Kind::Wmf;
    if (head.size() >= 6) {
        const quint16 type = u16(head, 0);
        const quint16 version = u16(head, 4);
        if ((type == 1 || type == 2) && u16(head, 2) == WmfHeaderBytes / 2 &&
            (version == 0x0100 || version == 0x0300))
            return Kind::Wmf;
    }
    return Kind::Unknown;
}

QSize size(const QByteArray &data) {
    switch (sniff(data)) {
    case Kind::Emf: {
        const std::optional<EmfHeader> header = readEmf(data);
        return header ? fitted(emfOwnSize(*header)) : QSize();
    }
    case Kind::Wmf: {
        const std::optional<QByteArray> checked = checkedWmf(data);
        return checked ? fitted(MetafileWmfPlayer(*checked).displaySize()) : QSize();
    }
    default:
        return {};
    }
}

QImage render(const QByteArray &data, const QSize &size) {
    switch (sniff(data)) {
    case Kind::Emf:
        return renderEmf(data, size);
    case Kind::Wmf:
        return renderWmf(data, size);
    default:
        return {};
    }
}

} // namespace MetafileRenderer
