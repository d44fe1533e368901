#include "editor/editlayout.h"

#include "editor/modeflags.h"
#include "editor/richtext/rxrichedit.h"

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
    const int height = m_memo.viewport()->height();
    if (m_mode.PlainLayout) {
        // Text mode keeps its own line width (unbroken lines, or the window with Word Wrap).
        m_memo.SetFormatRect(rectangle(6, 0, m_memo.viewport()->width() - 6, height));
        return;
    }
    m_memo.SetFormatRect(rectangle(MarginLeftPx, 0, RulerWidthPx - MarginRightPx + 8, height));
    const int width = RulerWidthPx - MarginRightPx;
    m_memo.SetTargetLineWidth(width * 13 + width / 2);
}
