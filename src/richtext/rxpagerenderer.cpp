#include "richtext/rxpagerenderer.h"

#include "richtext/richtextformat.h"
#include "richtext/underlinedecorations.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

int dotsPerInch(int reported) {
    return reported > 0 ? reported : 600;
}

// The marker the Insert menu puts in as protected text to force a page break.
const QString pageBreakMarker = QStringLiteral("<<Page Break>>");

// The position just after the first protected page-break marker of `block` that ends after
// `from`; -1 when it holds none.
int pageBreakMarkerEnd(const QTextBlock &block, int from) {
    const QString text = block.text();
    for (qsizetype at = text.indexOf(pageBreakMarker); at >= 0;
         at = text.indexOf(pageBreakMarker, at + 1)) {
        const int markerEnd = block.position() + int(at + pageBreakMarker.size());
        if (markerEnd <= from)
            continue;
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + int(at) + 1);
        if (RichTextFormat::isProtected(cursor.charFormat()))
            return markerEnd;
    }
    return -1;
}

} // namespace

TRxPageRenderer::TRxPageRenderer(const QTextDocument &document)
    : m_document(document) {}

TRxPageRenderer::~TRxPageRenderer() = default;

void TRxPageRenderer::release() {
    m_copy.reset();
    m_device = nullptr;
    m_revision = -1;
}

QTextDocument *TRxPageRenderer::layoutFor(QPaintDevice *device, double width) {
    if (m_copy && m_device == device && m_width == width && m_revision == m_document.revision())
        return m_copy.get();
    // A clone carries the original's pictures with it.
    m_copy.reset(m_document.clone());
    m_copy->setUndoRedoEnabled(false);
    m_copy->setDocumentMargin(0);
    m_copy->documentLayout()->setPaintDevice(device);
    m_copy->setTextWidth(width);
    m_device = device;
    m_width = width;
    m_revision = m_document.revision();
    return m_copy.get();
}

int TRxPageRenderer::formatRange(const TFormatRange &range, bool render) {
    QPaintDevice *device =
        range.target ? range.target : (range.painter ? range.painter->device() : nullptr);
    const int length = m_document.characterCount() - 1;
    const int end = range.cpMax < 0 || range.cpMax > length ? length : range.cpMax;
    const int start = qBound(0, range.cpMin, length);
    if (!device || start >= end)
        return end;
    const double dpiX = dotsPerInch(device->logicalDpiX());
    const double dpiY = dotsPerInch(device->logicalDpiY());
    const QRectF body(range.rc.left() * dpiX / 1440.0, range.rc.top() * dpiY / 1440.0,
                      range.rc.width() * dpiX / 1440.0, range.rc.height() * dpiY / 1440.0);
    if (body.width() <= 0 || body.height() <= 0)
        return start;

    QTextDocument *copy = layoutFor(device, body.width());
    QAbstractTextDocumentLayout *layout = copy->documentLayout();

    // Walk the display lines from the one holding `start` until one no longer fits the height.
    double top = -1;
    double bottom = 0;
    int next = end;
    bool stop = false;
    for (QTextBlock block = copy->findBlock(start); block.isValid() && !stop;
         block = block.next()) {
        const QTextFormat::PageBreakFlags breaks = block.blockFormat().pageBreakPolicy();
        // A paragraph that must begin a page ends this one, unless the page begins with it.
        if (top >= 0 && (breaks & QTextFormat::PageBreak_AlwaysBefore)) {
            next = block.position();
            break;
        }
        // Asking for the rectangle lays the block out first.
        const QRectF rect = layout->blockBoundingRect(block);
        const QTextLayout *lines = block.layout();
        const double originY = rect.top() - lines->boundingRect().top();
        int first = 0;
        if (top < 0) {
            const QTextLine line = lines->lineForTextPosition(start - block.position());
            first = line.isValid() ? line.lineNumber() : 0;
        }
        const int markerEnd = pageBreakMarkerEnd(block, start);
        for (int i = first; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const int lineStart = block.position() + line.textStart();
            if (lineStart >= end) {
                stop = true;
                break;
            }
            const double lineTop = originY + line.y();
            const double lineBottom = lineTop + line.height();
            if (top < 0) {
                top = lineTop;
            } else if (lineBottom - top > body.height()) {
                next = lineStart;
                stop = true;
                break;
            }
            bottom = lineBottom;
            // The line holding a page-break marker is the last of its page.
            const int lineEnd = lineStart + line.textLength();
            if (markerEnd >= 0 && markerEnd <= lineEnd && markerEnd > lineStart &&
                i + 1 < lines->lineCount()) {
                next = block.position() + lines->lineAt(i + 1).textStart();
                stop = true;
                break;
            }
        }
        if (stop)
            break;
        if ((breaks & QTextFormat::PageBreak_AlwaysAfter) || markerEnd >= 0) {
            const QTextBlock following = block.next();
            if (following.isValid()) {
                next = qMin(end, following.position());
                break;
            }
        }
    }
    if (top < 0)
        return end;

    if (render && range.painter) {
        QPainter &painter = *range.painter;
        painter.save();
        painter.setClipRect(QRectF(body.left(), body.top(), body.width(), bottom - top),
                            Qt::IntersectClip);
        painter.translate(body.left(), body.top() - top);
        QAbstractTextDocumentLayout::PaintContext context;
        // Qt draws the lines and paragraphs that touch the clip's edges too; the inset keeps
        // the neighbours on the pages before and after out of this one.
        context.clip = QRectF(0, top + 0.25, body.width(), bottom - top - 0.5);
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        UnderlineDecorations::PaintContext decorations;
        decorations.clip = context.clip;
        decorations.text = Qt::black;
        UnderlineDecorations::draw(painter, *copy, decorations);
        painter.restore();
    }
    return next;
}
