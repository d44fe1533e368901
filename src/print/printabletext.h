#pragma once

#include "richtext/rxformatrange.h"

// What the print component prints: text that draws or measures itself page by page through
// format-range requests. The editing area and a bare document both offer it.
class PrintableText {
public:
    virtual ~PrintableText() = default;

    // The last position: the number of characters, a paragraph break counting one.
    virtual int TextLength() const = 0;
    // Draws (render) or measures the text from range->cpMin into range->rc and answers the
    // first position that did not fit; a null range releases cached formatting.
    virtual int FormatRange(const TFormatRange *range, bool render) = 0;
};
