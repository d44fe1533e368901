#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <memory>

// One old-style Windows metafile (WMF) opened in libwmf: scanned once for the extent of what it
// draws and the size it asks for, then drawn through a drawing layer of ours over QPainter, which
// keeps every colour exact. Owns the libwmf handle and the bitmaps decoded for it. Callers check
// the record structure first (MetafileRenderer does).
class MetafileWmfPlayer {
public:
    explicit MetafileWmfPlayer(const QByteArray &data);
    ~MetafileWmfPlayer();
    MetafileWmfPlayer(const MetafileWmfPlayer &) = delete;
    MetafileWmfPlayer &operator=(const MetafileWmfPlayer &) = delete;

    // Whether libwmf read the whole metafile without a fatal error.
    bool isValid() const;
    // The size the metafile asks for in pixels at 96 dots per inch (from the placeable header
    // when there is one); empty when invalid.
    QSizeF displaySize() const;
    // Draws the metafile once, its drawn extent filling a transparent image of `size`; a null
    // image when drawing fails or takes too long.
    QImage render(const QSize &size);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
