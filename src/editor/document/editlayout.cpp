#include "editor/document/editlayout.h"

#include "editor/document/modeflags.h"
#include "richtext/rxrichedit.h"

namespace {
// A rectangle given by its edges, the right and bottom ones outside it.
QRect rectangle(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

TEditLayout::TEditLayout(TRxRichEdit &memo, const TModeFlags &mode)
    : m_memo(memo)
    , m_mode(mode) {}

void TEditLayout::SetEditRect() {
    // The control's client area, margins included: the rectangle is given within it.
    const QRect client = m_memo.contentsRect();
    const int height = client.height();
    if (m_mode.PlainLayout) {
        // Text mode keeps its own line width (unbroken lines, or the window with Word Wrap).
        m_memo.SetFormatRect(rectangle(6, 0, client.width() - 6, height));
        return;
    }
    m_memo.SetFormatRect(rectangle(MarginLeftPx, 0, RulerWidthPx - MarginRightPx + 8, height));
    const int width = RulerWidthPx - MarginRightPx;
    const int twips = width * 13 + width / 2;
    // Setting the width lays the whole document out again; a resize must not pay for that.
    if (m_memo.TargetLineWidth() != twips)
        m_memo.SetTargetLineWidth(twips);
}
