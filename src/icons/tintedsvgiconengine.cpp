#include "icons/tintedsvgiconengine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

QColor textColour(QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::ButtonText);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    default:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    }
}

QByteArray tinted(const QByteArray &svg, QRgb colour) {
    QByteArray text = svg;
    return text.replace("currentColor", QColor(colour).name().toLatin1());
}

} // namespace

TintedSvgIconEngine::TintedSvgIconEngine(const QByteArray &svg)
    : m_svg(svg)
    , m_valid(QSvgRenderer(tinted(svg, qRgb(0, 0, 0))).isValid()) {}

TintedSvgIconEngine::~TintedSvgIconEngine() = default;

QSvgRenderer *TintedSvgIconEngine::rendererFor(QRgb colour) {
    std::shared_ptr<QSvgRenderer> &renderer = m_renderers[colour];
    if (!renderer)
        renderer = std::make_shared<QSvgRenderer>(tinted(m_svg, colour));
    return renderer.get();
}

void TintedSvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                                QIcon::State) {
    if (!m_valid)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (mode == QIcon::Disabled)
        painter->setOpacity(painter->opacity() * 0.55);
    rendererFor(textColour(mode).rgba())->render(painter, rect);
    painter->restore();
}

QPixmap TintedSvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap TintedSvgIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                                          qreal scale) {
    if (!m_valid || size.isEmpty())
        return QPixmap();
    const QSize device = (QSizeF(size) * scale).toSize();
    QPixmap pixmap(device);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), device), mode, state);
    }
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIconEngine *TintedSvgIconEngine::clone() const {
    return new TintedSvgIconEngine(m_svg);
}

QString TintedSvgIconEngine::key() const {
    return QStringLiteral("TintedSvg");
}

bool TintedSvgIconEngine::isNull() {
    return !m_valid;
}
