#include "print/previewlayout.h"

#include <QtGlobal>

namespace {

// The frame around the client area.
constexpr int FrameWidth = 8;
constexpr int FrameHeight = 27;
// Window width per pixel of page width: room for the vertical ruler beside the image.
constexpr double WidthPerPage = 1.0204;

} // namespace

PreviewLayout PreviewLayout::forScreen(QSize screen, double aspect) {
    PreviewLayout l;
    int height = qRound(screen.height() * 0.95);
    double pageWidth = (height - FrameHeight) * 0.98 - 87;
    pageWidth = qRound(aspect > 0 ? pageWidth / aspect : pageWidth * 0.707);
    if (pageWidth * WidthPerPage > screen.width()) {
        // Landscape paper on a narrow screen: shrink the height with the width.
        height = qRound(height * (screen.width() / WidthPerPage / pageWidth));
        pageWidth = screen.width() * 0.98;
    }
    int width = qRound(pageWidth * WidthPerPage);
    int clientWidth = width - FrameWidth;
    l.zoomShown = clientWidth >= qRound(clientWidth * 0.02) + 417;
    if (clientWidth < qRound(clientWidth * 0.02) + 310) {
        // The panel's buttons need this much even when the page is tiny.
        width = qRound((qRound(clientWidth * 0.02) + 310) * WidthPerPage);
        clientWidth = width - FrameWidth;
    }
    const int clientHeight = height - FrameHeight;
    l.window = QSize(width, height);
    l.client = QSize(clientWidth, clientHeight);
    l.image = QRect(qRound(clientWidth * 0.01) + 18, qRound(clientHeight * 0.01) + 16,
                    qRound(clientWidth * 0.98) - 18, qRound(clientHeight * 0.98) - 87);
    l.panel = QRect(0, l.image.bottom() + 1 + 3, l.image.width() + 22,
                    clientHeight - (l.image.bottom() + 1 + 3));
    l.pageBox = QPoint(79, 4);
    return l;
}
