#pragma once

#include "print/printabletext.h"

class TRxRichEdit;

// The editing area as printable text; refers to the control, which must outlive it.
class RichEditPrintable : public PrintableText {
public:
    explicit RichEditPrintable(TRxRichEdit &control)
        : m_control(control) {}

    int TextLength() const override;
    int FormatRange(const TFormatRange *range, bool render) override;

private:
    TRxRichEdit &m_control;
};
