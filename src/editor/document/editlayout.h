#pragma once

class TRxRichEdit;
struct TModeFlags;

// Lays the text of the editing area out: in text mode across the whole area, in RTF mode in the
// column between the page margins, broken at the printable width as the printer would.
class TEditLayout {
public:
    TEditLayout(TRxRichEdit &memo, const TModeFlags &mode);

    // Page margins and printable width in ruler pixels; the ruler and the page setup set them.
    int MarginLeftPx = 0;
    int MarginRightPx = 0;
    int RulerWidthPx = 665;

    void SetEditRect();

private:
    TRxRichEdit &m_memo;
    const TModeFlags &m_mode;
};
