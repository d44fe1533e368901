#pragma once

#include <QByteArray>
#include <QHash>
#include <QIconEngine>
#include <memory>

class QSvgRenderer;

// Draws an SVG picture whose outlines say "currentColor" in the text colour of the application's
// palette, so the same picture stays legible on light and dark themes; coloured parts keep their
// colours. Disabled pictures take the disabled text colour and are faded.
class TintedSvgIconEngine : public QIconEngine {
public:
    // `svg`: the picture's source; an unreadable picture makes a null icon.
    explicit TintedSvgIconEngine(const QByteArray &svg);
    ~TintedSvgIconEngine() override;

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    QSvgRenderer *rendererFor(QRgb colour);

    QByteArray m_svg;
    bool m_valid;
    // One renderer per text colour seen; palettes change rarely.
    QHash<QRgb, std::shared_ptr<QSvgRenderer>> m_renderers;
};
