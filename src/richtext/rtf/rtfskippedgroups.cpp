#include "richtext/rtf/rtfskippedgroups.h"

void RtfSkippedGroups::skip(RtfWord word) {
    switch (word) {
    case RtfWord::Header:
    case RtfWord::Headerl:
    case RtfWord::Headerr:
    case RtfWord::Headerf:
    case RtfWord::Footer:
    case RtfWord::Footerl:
    case RtfWord::Footerr:
    case RtfWord::Footerf:
        ++m_dropped.headersFooters;
        return;
    case RtfWord::Footnote:
        ++m_dropped.footnotes;
        return;
    case RtfWord::Annotation:
        ++m_dropped.annotations;
        return;
    default:
        return;
    }
}
