#pragma once

#include <QTextBlock>
#include <QtGui/private/qtextdocumentlayout_p.h>

// Qt's document layout with two changes for very long documents. It lays out what lies beyond
// the view in slices of a few milliseconds between events (Qt's own background steps grow to
// 200,000 characters, which stalls the window for seconds), and while that is going on it
// answers a frame's bounding rectangle from what is laid out so far instead of finishing the
// whole layout first (a selection over two paragraphs asks for it on every repaint, including
// each focus change).
class TRxDocumentLayout : public QTextDocumentLayout {
public:
    explicit TRxDocumentLayout(QTextDocument *document);

    QRectF frameBoundingRect(QTextFrame *frame) const override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    bool LayoutFinished() const { return layoutStatus() >= 100; }

    // The first paragraph whose bottom lies below y, found by halving among the paragraphs laid
    // out so far (Qt's hit test walks every paragraph after a point between two paragraphs, and
    // takes those not laid out yet for height 0); lays nothing out. May be past the last.
    static QTextBlock FirstBlockReaching(const QTextDocument &document, qreal y);

    // While held, changes of page size and text options wait and are laid out once, from the
    // top, on release: each costs a whole new layout, and a document with a big table lays
    // that out at once. Only for changes that leave the text alone.
    void HoldLayout() { ++m_holds; }
    void ReleaseLayout();

protected:
    void documentChanged(int from, int oldLength, int length) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Lays out further for about one slice; false when this could not advance the layout.
    bool layoutSlice();

    int m_layoutedTo = 0;
    int m_holds = 0;
    bool m_changeHeld = false;
};
