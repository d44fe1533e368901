#include "widgets/accessibletextboundaries.h"

#include <QTextBoundaryFinder>

namespace AccessibleTextBoundaries {

namespace {

bool endsOrStartsAnItem(const QTextBoundaryFinder &finder) {
    return finder.boundaryReasons() &
           (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem);
}

} // namespace

QString textAtOffset(const QAccessibleTextInterface &text, int offset,
                     QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) {
    if (boundaryType != QAccessible::WordBoundary && boundaryType != QAccessible::SentenceBoundary)
        return text.QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset,
                                                           endOffset);
    // Qt's own search looks for the item's end with a loop that takes the finder's "no further
    // boundary" (-1) for a position inside the text, so it never returns where no word or
    // sentence ends before the end of the text (trailing spaces or line ends, and the very end).
    const QString all = text.text(0, text.characterCount());
    if (offset == -2)
        offset = text.cursorPosition();
    else if (offset == -1)
        offset = int(all.size());
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > all.size())
        return QString();
    if (offset == all.size()) {
        // Nothing starts at the end: an empty range there.
        *startOffset = *endOffset = offset;
        return QString();
    }
    QTextBoundaryFinder finder(boundaryType == QAccessible::WordBoundary
                                   ? QTextBoundaryFinder::Word
                                   : QTextBoundaryFinder::Sentence,
                               all);
    finder.setPosition(offset);
    while (!(finder.isAtBoundary() && endsOrStartsAnItem(finder)) &&
           finder.toPreviousBoundary() > 0) {
    }
    const int start = qMax(0, int(finder.position()));
    finder.setPosition(offset);
    int end = int(all.size());
    for (int next = int(finder.toNextBoundary()); next > 0 && next < all.size();
         next = int(finder.toNextBoundary())) {
        if (endsOrStartsAnItem(finder)) {
            end = next;
            break;
        }
    }
    *startOffset = start;
    *endOffset = end;
    return all.mid(start, end - start);
}

} // namespace AccessibleTextBoundaries
