#include "richtext/rxdocumentlayout.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>
#include <algorithm>
#include <utility>

namespace {

// Short enough that typing and closing never wait noticeably for the layout in the background.
constexpr qint64 sliceMs = 15;
// Characters asked for at a time; Qt lays out at least a few screens per request anyway.
constexpr int stepChars = 512;

bool laidOut(const QTextBlock &block) {
    const QTextLayout *layout = block.layout();
    return layout && layout->lineCount() > 0;
}

} // namespace

TRxDocumentLayout::TRxDocumentLayout(QTextDocument *document)
    : QTextDocumentLayout(document) {}

QRectF TRxDocumentLayout::frameBoundingRect(QTextFrame *frame) const {
    if (LayoutFinished() || document()->pageSize().isNull())
        return QTextDocumentLayout::frameBoundingRect(frame);
    // Callers use it to widen a repaint to the frame's width; what is laid out so far, at the
    // page's width, covers every frame in it.
    const QSizeF size = dynamicDocumentSize();
    return QRectF(0, 0, std::max(size.width(), document()->pageSize().width()), size.height());
}

int TRxDocumentLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const {
    const int hit = QTextDocumentLayout::hitTest(point, accuracy);
    if (LayoutFinished() || hit < 0 || laidOut(document()->findBlock(hit)))
        return hit;
    // Qt's answer fell among paragraphs not laid out yet: the point is below what is laid out
    // (Qt has laid out down to it), so it belongs to the last paragraph before them.
    const QTextBlock below = FirstBlockReaching(*document(), point.y());
    const QTextBlock block = below.isValid() && laidOut(below) ? below : below.previous();
    if (!block.isValid())
        return hit;
    return accuracy == Qt::ExactHit ? -1 : block.position() + block.length() - 1;
}

QTextBlock TRxDocumentLayout::FirstBlockReaching(const QTextDocument &document, qreal y) {
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    int low = 0;
    int high = document.blockCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QTextBlock block = document.findBlockByNumber(middle);
        // Asking for the rectangle of a paragraph that is laid out lays out nothing more.
        if (laidOut(block) && layout->blockBoundingRect(block).bottom() <= y)
            low = middle + 1;
        else
            high = middle;
    }
    return document.findBlockByNumber(low);
}

void TRxDocumentLayout::ReleaseLayout() {
    if (m_holds == 0 || --m_holds > 0 || !std::exchange(m_changeHeld, false))
        return;
    documentChanged(0, 0, document()->characterCount());
}

void TRxDocumentLayout::documentChanged(int from, int oldLength, int length) {
    m_layoutedTo = 0;
    if (m_holds > 0) {
        m_changeHeld = true;
        return;
    }
    QTextDocumentLayout::documentChanged(from, oldLength, length);
}

void TRxDocumentLayout::timerEvent(QTimerEvent *event) {
    // Both of Qt's timers (the next background step, the size report) come here while the
    // layout runs; either is the moment for one slice, and the size is reported after it.
    if (!LayoutFinished() && layoutSlice()) {
        emit documentSizeChanged(dynamicDocumentSize());
        return;
    }
    QTextDocumentLayout::timerEvent(event);
}

bool TRxDocumentLayout::layoutSlice() {
    QTextDocument *doc = document();
    const int last = doc->characterCount() - 1;
    // layoutStatus() is the share already laid out, rounded down: a safe place to go on from.
    m_layoutedTo = std::max(m_layoutedTo, int(qint64(layoutStatus()) * last / 100));
    if (m_layoutedTo >= last)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!LayoutFinished() && m_layoutedTo < last && clock.elapsed() < sliceMs) {
        m_layoutedTo = std::min(last, m_layoutedTo + stepChars);
        // Lays out up to the end of that paragraph and no further than Qt's next stopping place.
        blockBoundingRect(doc->findBlock(m_layoutedTo));
    }
    return true;
}
