#include "print/richeditprintable.h"

#include "richtext/rxrichedit.h"

int RichEditPrintable::TextLength() const {
    return m_control.TextLength();
}

int RichEditPrintable::FormatRange(const TFormatRange *range, bool render) {
    return m_control.FormatRange(range, render);
}
