#include "richtext/rtf/rtfpicture.h"

#include "picture/dibdecoder.h"
#include "picture/metafilerenderer.h"
#include "richtext/rtf/rtfformatproperties.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextImageFormat>

namespace {

// Pictures Qt cannot draw show as a plain box; bigger boxes are scaled by the image format.
constexpr int maxPlaceholderSide = 256;
constexpr int maxPictureSide = 20000; // document units
constexpr int pictureAllocationLimitMb = 256;

// Picture sizes in twips or pixels can be anything in a broken file.
int clampSide(double value) {
    if (!(value > 0))
        return 0;
    return static_cast<int>(qMin<double>(value, maxPictureSide));
}

QImage placeholderImage(int width, int height) {
    QImage image(qBound(1, width, maxPlaceholderSide), qBound(1, height, maxPlaceholderSide),
                 QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE0, 0xE0));
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, 0xFF909090);
        image.setPixel(x, image.height() - 1, 0xFF909090);
    }
    for (int y = 0; y < image.height(); ++y) {
        image.setPixel(0, y, 0xFF909090);
        image.setPixel(image.width() - 1, y, 0xFF909090);
    }
    return image;
}

QImage decodeImage(const QByteArray &bytes, const char *format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(pictureAllocationLimitMb);
    return reader.read();
}

int hexNibble(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void RtfPicture::start(std::size_t depth, bool kindKnown) {
    *this = RtfPicture();
    m_depth = depth;
    if (!kindKnown)
        m_kind = static_cast<int>(PictureKind::Unknown);
}

void RtfPicture::word(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::Pngblip:
        m_kind = static_cast<int>(PictureKind::Png);
        return;
    case RtfWord::Jpegblip:
        m_kind = static_cast<int>(PictureKind::Jpeg);
        return;
    case RtfWord::Emfblip:
        m_kind = static_cast<int>(PictureKind::Emf);
        return;
    case RtfWord::Wmetafile:
        m_kind = static_cast<int>(PictureKind::Wmf);
        return;
    case RtfWord::Dibitmap:
        m_kind = static_cast<int>(PictureKind::Dib);
        return;
    case RtfWord::Wbitmap:
        m_kind = static_cast<int>(PictureKind::Bitmap);
        return;
    case RtfWord::Picw:
        m_width = parameter;
        return;
    case RtfWord::Pich:
        m_height = parameter;
        return;
    case RtfWord::Picwgoal:
        m_goalWidth = parameter;
        return;
    case RtfWord::Pichgoal:
        m_goalHeight = parameter;
        return;
    case RtfWord::Picscalex:
        m_scaleX = qBound(1, parameter, 10000);
        return;
    case RtfWord::Picscaley:
        m_scaleY = qBound(1, parameter, 10000);
        return;
    default:
        return;
    }
}

void RtfPicture::hexText(QByteArrayView text) {
    for (char c : text) {
        const int nibble = hexNibble(c);
        if (nibble < 0)
            continue;
        if (m_pendingNibble < 0) {
            m_pendingNibble = nibble;
        } else {
            m_data.append(static_cast<char>(m_pendingNibble * 16 + nibble));
            m_pendingNibble = -1;
        }
    }
}

void RtfPicture::binary(QByteArrayView data) {
    m_data.append(data);
}

std::optional<RtfInline> RtfPicture::finish(const std::function<QTextCharFormat()> &runFormat) {
    RtfPicture picture = std::move(*this);
    *this = RtfPicture();
    if (picture.m_data.isEmpty())
        return std::nullopt;
    const auto kind = static_cast<PictureKind>(picture.m_kind);
    QImage image;
    switch (kind) {
    case PictureKind::Png:
        image = decodeImage(picture.m_data, "PNG");
        break;
    case PictureKind::Jpeg:
        image = decodeImage(picture.m_data, "JPEG");
        break;
    case PictureKind::Dib:
        image = DibDecoder::decode(picture.m_data, pictureAllocationLimitMb);
        break;
    default:
        break;
    }
    // The size shown: the goal size in twips, scaled; else the picture's own size.
    double width = 0;
    double height = 0;
    if (picture.m_goalWidth > 0 && picture.m_goalHeight > 0) {
        width = DocumentUnits::fromTwips(picture.m_goalWidth) * picture.m_scaleX / 100.0;
        height = DocumentUnits::fromTwips(picture.m_goalHeight) * picture.m_scaleY / 100.0;
    } else if (!image.isNull()) {
        width = image.width() * picture.m_scaleX / 100.0;
        height = image.height() * picture.m_scaleY / 100.0;
    } else if (picture.m_width > 0 && picture.m_height > 0) {
        // Metafile extents are in hundredths of a millimetre.
        width = picture.m_width * 96.0 / 2540.0 * picture.m_scaleX / 100.0;
        height = picture.m_height * 96.0 / 2540.0 * picture.m_scaleY / 100.0;
    }
    const int shownWidth = clampSide(width);
    const int shownHeight = clampSide(height);
    // Metafiles are drawn at the size they are shown at (their own without one). Writers mix
    // up \emfblip and \wmetafile, so the bytes decide which kind is drawn.
    if (kind == PictureKind::Emf || kind == PictureKind::Wmf)
        image = MetafileRenderer::render(picture.m_data, QSize(shownWidth, shownHeight));
    if (image.isNull())
        image =
            placeholderImage(shownWidth > 0 ? shownWidth : 32, shownHeight > 0 ? shownHeight : 32);

    QTextImageFormat format;
    format.merge(runFormat());
    if (shownWidth > 0 && shownHeight > 0) {
        format.setWidth(shownWidth);
        format.setHeight(shownHeight);
    }
    format.setProperty(RtfFormatProperty::PictureData, picture.m_data);
    format.setProperty(RtfFormatProperty::PictureKindProperty, picture.m_kind);
    RtfInline piece;
    piece.format = format;
    piece.image = std::move(image);
    return piece;
}
