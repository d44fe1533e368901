#include "picture/metafilewmfplayer.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <cmath>
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
#include <vector>

namespace {

// A metafile of many records may take a while, a hostile one forever: the player stops here.
constexpr qint64 MaxPlayMilliseconds = 10'000;
// Bitmaps inside a metafile beyond this are not decoded.
constexpr int BitmapAllocationLimitMb = 256;
// Fonts are laid out at this pixel size and scaled to the size asked for, which may be fractional.
constexpr int FontLayoutPixels = 100;

QColor qtColor(const wmfRGB &rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPointF qtPoint(const wmfD_Coord &point) {
    return QPointF(point.x, point.y);
}

QRectF qtRect(const wmfD_Coord &topLeft, const wmfD_Coord &bottomRight) {
    return QRectF(qtPoint(topLeft), qtPoint(bottomRight)).normalized();
}

// A device-independent bitmap as metafiles store it lacks the file header a BMP file starts with;
// Qt's reader gets one put in front, pointing past the colour table to the pixels.
QImage decodeDib(const unsigned char *dib, long length) {
    if (!dib || length < 12)
        return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(dib);
    if (headerSize < 12 || headerSize > quint32(length))
        return {};
    quint32 tableBytes = 0;
    if (headerSize == 12) { // the old core header: three bytes per colour
        const int bitCount = qFromLittleEndian<quint16>(dib + 10);
        if (bitCount <= 8)
            tableBytes = (1u << bitCount) * 3;
    } else {
        if (headerSize < 40)
            return {};
        const int bitCount = qFromLittleEndian<quint16>(dib + 14);
        const quint32 compression = qFromLittleEndian<quint32>(dib + 16);
        quint32 colours = qFromLittleEndian<quint32>(dib + 32);
        if (colours == 0 && bitCount <= 8)
            colours = 1u << bitCount;
        if (colours > 256)
            return {};
        tableBytes = colours * 4;
        // Bit-field masks follow a plain 40-byte header.
        if (headerSize == 40 && (compression == 3 || compression == 6))
            tableBytes += compression == 3 ? 12 : 16;
    }
    QByteArray file("BM");
    const quint32 fileSize = quint32(length) + 14;
    for (quint32 value : {fileSize, 0u, 14 + headerSize + tableBytes}) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        file.append(bytes, 4);
    }
    file.append(reinterpret_cast<const char *>(dib), qsizetype(length));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(BitmapAllocationLimitMb);
    return reader.read();
}

} // namespace

struct MetafileWmfPlayer::State {
    QByteArray data; // libwmf reads from here while the handle lives
    wmfAPI *api = nullptr;
    bool valid = false;
    wmfD_Rect box{};
    QSizeF size;
    QPainter *painter = nullptr; // only while drawing
    bool placeWindow = false;    // until the first drawing call
    QElapsedTimer clock;
    // Bitmaps libwmf asked us to decode; it holds pointers into this list until it frees them.
    std::vector<std::unique_ptr<QImage>> bitmaps;

    ~State() {
        if (api)
            wmf_api_destroy(api);
    }

    static State *of(wmfAPI *api) { return static_cast<State *>(api->user_data); }

    // Maps `box` (in libwmf's device coordinates) onto the whole image.
    void mapOntoImage(const QRectF &box) {
        const QSizeF target = painter->device()
                                  ? QSizeF(painter->device()->width(), painter->device()->height())
                                  : QSizeF();
        QTransform transform;
        transform.scale(target.width() / box.width(), target.height() / box.height());
        transform.translate(-box.left(), -box.top());
        painter->setWorldTransform(transform);
    }

    // The picture is the metafile's window, as Windows plays it into a rectangle; libwmf knows
    // it only once drawing has begun. Without a window the drawn extent stays the picture.
    void placeOnWindow(const wmfDC *dc) {
        const QRectF window =
            QRectF(0, 0, dc->Window.width * dc->pixel_width, dc->Window.height * dc->pixel_height)
                .normalized();
        if (window.width() > 0 && window.height() > 0)
            mapOntoImage(window);
    }

    // The painter, with pen and brush set from the device context, or null outside drawing.
    // The painter, placed on the metafile's window, or null outside drawing.
    static QPainter *placedPainter(wmfAPI *api, const wmfDC *dc) {
        State *state = of(api);
        if (!state || !state->painter || !dc)
            return nullptr;
        if (state->placeWindow) {
            state->placeWindow = false;
            state->placeOnWindow(dc);
        }
        return state->painter;
    }

    // The placed painter with pen and brush set from the device context.
    static QPainter *painterFor(wmfAPI *api, wmfDC *dc) {
        QPainter *painter = placedPainter(api, dc);
        if (painter) {
            painter->setPen(pen(dc));
            painter->setBrush(brush(api, dc));
        }
        return painter;
    }

    static QPen pen(wmfDC *dc) {
        wmfPen *pen = WMF_DC_PEN(dc);
        if (!pen || WMF_PEN_STYLE(pen) == PS_NULL)
            return Qt::NoPen;
        QPen result(qtColor(*WMF_PEN_COLOR(pen)));
        result.setWidthF(qMax(0.0, (WMF_PEN_WIDTH(pen) + WMF_PEN_HEIGHT(pen)) / 2));
        switch (WMF_PEN_STYLE(pen)) {
        case PS_DASH:
            result.setStyle(Qt::DashLine);
            break;
        case PS_DOT:
        case PS_ALTERNATE:
            result.setStyle(Qt::DotLine);
            break;
        case PS_DASHDOT:
            result.setStyle(Qt::DashDotLine);
            break;
        case PS_DASHDOTDOT:
            result.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
        }
        switch (WMF_PEN_ENDCAP(pen)) {
        case PS_ENDCAP_SQUARE:
            result.setCapStyle(Qt::SquareCap);
            break;
        case PS_ENDCAP_FLAT:
            result.setCapStyle(Qt::FlatCap);
            break;
        default:
            result.setCapStyle(Qt::RoundCap);
            break;
        }
        switch (WMF_PEN_JOIN(pen)) {
        case PS_JOIN_BEVEL:
            result.setJoinStyle(Qt::BevelJoin);
            break;
        case PS_JOIN_MITER:
            result.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            result.setJoinStyle(Qt::RoundJoin);
            break;
        }
        return result;
    }

    static QBrush brush(wmfAPI *api, wmfDC *dc) {
        wmfBrush *brush = WMF_DC_BRUSH(dc);
        if (!brush)
            return Qt::NoBrush;
        const QColor colour = qtColor(*WMF_BRUSH_COLOR(brush));
        switch (WMF_BRUSH_STYLE(brush)) {
        case BS_NULL:
            return Qt::NoBrush;
        case BS_HATCHED:
            switch (WMF_BRUSH_HATCH(brush)) {
            case HS_HORIZONTAL:
                return QBrush(colour, Qt::HorPattern);
            case HS_VERTICAL:
                return QBrush(colour, Qt::VerPattern);
            case HS_FDIAGONAL:
                return QBrush(colour, Qt::FDiagPattern);
            case HS_BDIAGONAL:
                return QBrush(colour, Qt::BDiagPattern);
            case HS_CROSS:
                return QBrush(colour, Qt::CrossPattern);
            default:
                return QBrush(colour, Qt::DiagCrossPattern);
            }
        case BS_PATTERN:
        case BS_DIBPATTERN:
        case BS_DIBPATTERNPT:
            if (const QImage *pattern = bitmap(api, WMF_BRUSH_BITMAP(brush)))
                return QBrush(*pattern);
            return QBrush(colour);
        default:
            return QBrush(colour);
        }
    }

    // Our decoded picture behind a bitmap libwmf hands back, or null.
    static const QImage *bitmap(wmfAPI *api, const wmfBMP *bmp) {
        State *state = of(api);
        if (!state || !bmp || !bmp->data)
            return nullptr;
        for (const auto &image : state->bitmaps) {
            if (image.get() == bmp->data)
                return image.get();
        }
        return nullptr;
    }

    static Qt::FillRule fillRule(wmfDC *dc) {
        return WMF_DC_POLYFILL(dc) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    }

    static QPolygonF polygon(const wmfPolyLine_t *line) {
        QPolygonF points;
        points.reserve(line->count);
        for (U16 i = 0; i < line->count; ++i)
            points.append(qtPoint(line->pt[i]));
        return points;
    }

    // Arcs run counter-clockwise from the start to the end point, both relative to the centre.
    static QPainterPath arcPath(const wmfDrawArc_t *arc, bool pie, bool close) {
        const QRectF rect = qtRect(arc->TL, arc->BR);
        const double start = qRadiansToDegrees(std::atan2(-arc->start.y, arc->start.x));
        double sweep = qRadiansToDegrees(std::atan2(-arc->end.y, arc->end.x)) - start;
        if (sweep <= 0)
            sweep += 360;
        QPainterPath path;
        if (pie)
            path.moveTo(rect.center());
        else
            path.arcMoveTo(rect, start);
        path.arcTo(rect, start, sweep);
        if (close)
            path.closeSubpath();
        return path;
    }

    static void drawArc(wmfAPI *api, wmfDrawArc_t *arc, bool pie, bool close) {
        if (QPainter *painter = painterFor(api, arc->dc)) {
            if (!close)
                painter->setBrush(Qt::NoBrush);
            painter->drawPath(arcPath(arc, pie, close));
        }
    }

    static void bindCallbacks(wmfAPI *api) {
        auto *functions = static_cast<wmfFunctionReference *>(api->function_reference);
        functions->device_open = [](wmfAPI *) {};
        functions->device_close = [](wmfAPI *) {};
        functions->device_begin = [](wmfAPI *) {};
        functions->device_end = [](wmfAPI *) {};
        // A flood fill needs the pixels drawn so far at metafile resolution; it is left out.
        functions->flood_interior = [](wmfAPI *, wmfFlood_t *) {};
        functions->flood_exterior = [](wmfAPI *, wmfFlood_t *) {};
        functions->draw_pixel = [](wmfAPI *api, wmfDrawPixel_t *pixel) {
            if (QPainter *painter = painterFor(api, pixel->dc))
                painter->fillRect(
                    QRectF(qtPoint(pixel->pt), QSizeF(pixel->pixel_width, pixel->pixel_height)),
                    qtColor(pixel->color));
        };
        functions->draw_pie = [](wmfAPI *api, wmfDrawArc_t *arc) { drawArc(api, arc, true, true); };
        functions->draw_chord = [](wmfAPI *api, wmfDrawArc_t *arc) {
            drawArc(api, arc, false, true);
        };
        functions->draw_arc = [](wmfAPI *api, wmfDrawArc_t *arc) {
            drawArc(api, arc, false, false);
        };
        functions->draw_ellipse = [](wmfAPI *api, wmfDrawArc_t *arc) {
            if (QPainter *painter = painterFor(api, arc->dc))
                painter->drawEllipse(qtRect(arc->TL, arc->BR));
        };
        functions->draw_line = [](wmfAPI *api, wmfDrawLine_t *line) {
            if (QPainter *painter = painterFor(api, line->dc))
                painter->drawLine(qtPoint(line->from), qtPoint(line->to));
        };
        functions->poly_line = [](wmfAPI *api, wmfPolyLine_t *line) {
            if (QPainter *painter = painterFor(api, line->dc))
                painter->drawPolyline(polygon(line));
        };
        functions->draw_polygon = [](wmfAPI *api, wmfPolyLine_t *line) {
            if (QPainter *painter = painterFor(api, line->dc))
                painter->drawPolygon(polygon(line), fillRule(line->dc));
        };
        functions->draw_polypolygon = [](wmfAPI *api, wmfPolyPoly_t *polygons) {
            QPainter *painter = painterFor(api, polygons->dc);
            if (!painter)
                return;
            QPainterPath path;
            path.setFillRule(fillRule(polygons->dc));
            for (U16 i = 0; i < polygons->npoly; ++i) {
                QPolygonF points;
                for (U16 j = 0; j < polygons->count[i]; ++j)
                    points.append(qtPoint(polygons->pt[i][j]));
                path.addPolygon(points);
                path.closeSubpath();
            }
            painter->drawPath(path);
        };
        functions->draw_rectangle = [](wmfAPI *api, wmfDrawRectangle_t *rectangle) {
            QPainter *painter = painterFor(api, rectangle->dc);
            if (!painter)
                return;
            const QRectF rect = qtRect(rectangle->TL, rectangle->BR);
            // The corner ellipses are given by their axes; Qt takes their radii.
            if (rectangle->width > 0 && rectangle->height > 0)
                painter->drawRoundedRect(rect, rectangle->width / 2, rectangle->height / 2);
            else
                painter->drawRect(rect);
        };
        functions->rop_draw = [](wmfAPI *api, wmfROP_Draw_t *rop) {
            QPainter *painter = painterFor(api, rop->dc);
            if (!painter)
                return;
            const QRectF rect = qtRect(rop->TL, rop->BR);
            switch (rop->ROP) {
            case BLACKNESS:
                painter->fillRect(rect, Qt::black);
                break;
            case WHITENESS:
                painter->fillRect(rect, Qt::white);
                break;
            case DSTINVERT:
                painter->save();
                painter->setCompositionMode(QPainter::RasterOp_NotDestination);
                painter->fillRect(rect, Qt::black);
                painter->restore();
                break;
            default:
                painter->fillRect(rect, painter->brush());
                break;
            }
        };
        functions->bmp_read = [](wmfAPI *api, wmfBMP_Read_t *read) {
            read->bmp.data = nullptr;
            State *state = of(api);
            if (!state)
                return;
            QImage image = decodeDib(read->buffer, read->length);
            if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF)
                return;
            state->bitmaps.push_back(std::make_unique<QImage>(std::move(image)));
            read->bmp.width = static_cast<U16>(state->bitmaps.back()->width());
            read->bmp.height = static_cast<U16>(state->bitmaps.back()->height());
            read->bmp.data = state->bitmaps.back().get();
        };
        functions->bmp_free = [](wmfAPI *api, wmfBMP *bmp) {
            State *state = of(api);
            if (!state || !bmp || !bmp->data)
                return;
            std::erase_if(state->bitmaps,
                          [bmp](const auto &image) { return image.get() == bmp->data; });
            bmp->data = nullptr;
        };
        functions->bmp_draw = [](wmfAPI *api, wmfBMP_Draw_t *draw) {
            const QImage *image = bitmap(api, &draw->bmp);
            QPainter *painter = painterFor(api, draw->dc);
            if (!image || !painter)
                return;
            // The crop counts rows from the bottom, as the bitmap stores them.
            const QRect source(draw->crop.x, image->height() - draw->crop.y - draw->crop.h,
                               draw->crop.w, draw->crop.h);
            const QRectF target(qtPoint(draw->pt), QSizeF(draw->crop.w * draw->pixel_width,
                                                          draw->crop.h * draw->pixel_height));
            painter->drawImage(target, *image, source);
        };
        functions->draw_text = [](wmfAPI *api, wmfDrawText_t *text) {
            QPainter *painter = painterFor(api, text->dc);
            if (!painter || !text->str || !(text->font_height > 0))
                return;
            wmfFont *wmfFont = WMF_DC_FONT(text->dc);
            painter->save();
            if (text->flags & ETO_OPAQUE)
                painter->fillRect(qtRect(text->TL, text->BR),
                                  qtColor(*WMF_DC_BACKGROUND(text->dc)));
            if (text->flags & ETO_CLIPPED)
                painter->setClipRect(qtRect(text->TL, text->BR), Qt::IntersectClip);
            QFont font;
            if (wmfFont) {
                if (WMF_FONT_NAME(wmfFont))
                    font.setFamily(QString::fromLatin1(WMF_FONT_NAME(wmfFont)));
                font.setWeight(QFont::Weight(qBound(1, int(WMF_FONT_WEIGHT(wmfFont)), 1000)));
                font.setItalic(WMF_FONT_ITALIC(wmfFont));
                font.setUnderline(WMF_TEXT_UNDERLINE(wmfFont));
                font.setStrikeOut(WMF_TEXT_STRIKEOUT(wmfFont));
            }
            font.setPixelSize(FontLayoutPixels);
            painter->setFont(font);
            painter->setPen(qtColor(*WMF_DC_TEXTCOLOR(text->dc)));
            painter->translate(qtPoint(text->pt));
            if (wmfFont)
                painter->rotate(-WMF_FONT_ESCAPEMENT(wmfFont) / 10.0);
            const double scale = text->font_height / FontLayoutPixels;
            painter->scale(scale, scale);
            painter->drawText(QPointF(0, 0), QString::fromLatin1(text->str));
            painter->restore();
        };
        functions->udata_init = [](wmfAPI *, wmfUserData_t *) {};
        functions->udata_copy = [](wmfAPI *, wmfUserData_t *) {};
        functions->udata_set = [](wmfAPI *, wmfUserData_t *) {};
        functions->udata_free = [](wmfAPI *, wmfUserData_t *) {};
        functions->region_frame = [](wmfAPI *api, wmfPolyRectangle_t *region) {
            QPainter *painter = painterFor(api, region->dc);
            if (!painter)
                return;
            const QBrush fill = painter->brush();
            for (unsigned i = 0; i < region->count; ++i) {
                const QRectF rect = qtRect(region->TL[i], region->BR[i]);
                QPainterPath frame;
                frame.addRect(rect);
                frame.addRect(
                    rect.adjusted(region->width, region->height, -region->width, -region->height));
                painter->fillPath(frame, fill);
            }
        };
        functions->region_paint = [](wmfAPI *api, wmfPolyRectangle_t *region) {
            QPainter *painter = painterFor(api, region->dc);
            if (!painter)
                return;
            for (unsigned i = 0; i < region->count; ++i)
                painter->fillRect(qtRect(region->TL[i], region->BR[i]), painter->brush());
        };
        functions->region_clip = [](wmfAPI *api, wmfPolyRectangle_t *region) {
            QPainter *painter = placedPainter(api, region->dc);
            if (!painter)
                return;
            if (region->count == 0) {
                painter->setClipping(false);
                return;
            }
            QPainterPath clip;
            for (unsigned i = 0; i < region->count; ++i)
                clip.addRect(qtRect(region->TL[i], region->BR[i]));
            painter->setClipPath(clip.simplified());
        };
    }
};

MetafileWmfPlayer::MetafileWmfPlayer(const QByteArray &data)
    : m_state(std::make_unique<State>()) {
    State &state = *m_state;
    state.data = data;
    state.data.detach(); // libwmf reads through a pointer of its own
    wmfAPI_Options options{};
    options.function = &State::bindCallbacks;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&state.api, flags, &options) != wmf_E_None) {
        if (state.api) {
            wmf_api_destroy(state.api);
            state.api = nullptr;
        }
        return;
    }
    state.api->user_data = &state;
    state.clock.start();
    wmf_status_function(state.api, &state, [](void *context, float) -> int {
        return static_cast<State *>(context)->clock.hasExpired(MaxPlayMilliseconds) ? 1 : 0;
    });
    if (wmf_mem_open(state.api, reinterpret_cast<unsigned char *>(state.data.data()),
                     long(state.data.size())) != wmf_E_None)
        return;
    if (wmf_scan(state.api, 0, &state.box) != wmf_E_None)
        return;
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(state.api, &width, &height, 96, 96) != wmf_E_None)
        return;
    const double boxWidth = double(state.box.BR.x) - state.box.TL.x;
    const double boxHeight = double(state.box.BR.y) - state.box.TL.y;
    if (!(boxWidth > 0) || !(boxHeight > 0) || width == 0 || height == 0)
        return;
    state.size = QSizeF(width, height);
    state.valid = true;
}

MetafileWmfPlayer::~MetafileWmfPlayer() = default;

bool MetafileWmfPlayer::isValid() const {
    return m_state->valid;
}

QSizeF MetafileWmfPlayer::displaySize() const {
    return m_state->valid ? m_state->size : QSizeF();
}

QImage MetafileWmfPlayer::render(const QSize &size) {
    State &state = *m_state;
    if (!state.valid || size.isEmpty())
        return {};
    state.valid = false; // libwmf plays a file once
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    state.painter = &painter;
    state.mapOntoImage(QRectF(qtPoint(state.box.TL), qtPoint(state.box.BR)));
    state.placeWindow = true;
    state.clock.restart();
    wmfD_Rect playBox = state.box;
    const wmf_error_t played = wmf_play(state.api, 0, &playBox);
    state.painter = nullptr;
    painter.end();
    if (played != wmf_E_None)
        return {};
    return image;
}
