#include "widgets/accessibletextboundaries.h"

namespace AccessibleTextBoundaries {

QString textAtOffset(const QAccessibleTextInterface &text, int offset,
                     QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) {
    const int count = text.characterCount();
    if (offset == -2)
        offset = text.cursorPosition();
    else if (offset == -1)
        offset = count;
    if (offset == count && (boundaryType == QAccessible::WordBoundary ||
                            boundaryType == QAccessible::SentenceBoundary)) {
        // Nothing starts at the end: an empty range there.
        *startOffset = *endOffset = count;
        return QString();
    }
    return text.QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset,
                                                       endOffset);
}

} // namespace AccessibleTextBoundaries
