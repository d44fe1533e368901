#pragma once

#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtfreadresult.h"

// The destinations the reader does not carry into the document, and the tally of what that
// drops, for the warning before a save.
class RtfSkippedGroups {
public:
    // A destination of the skipped kind (headers, footers, notes, annotations and the like)
    // begins; its whole group is dropped.
    void skip(RtfWord word);

    RtfDroppedContent &dropped() { return m_dropped; }
    const RtfDroppedContent &dropped() const { return m_dropped; }

private:
    RtfDroppedContent m_dropped;
};
