#pragma once

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QString>

// The text around an offset, by character, word, sentence, line or paragraph, for text
// interfaces that have no boundary search of their own. Qt's generic search never returns when
// asked for the word or the sentence at the very end of the text (where the caret is while the
// user types on), so that place is answered here; "-1" (the end) and "-2" (the caret) are taken as
// clients mean them.
namespace AccessibleTextBoundaries {

QString textAtOffset(const QAccessibleTextInterface &text, int offset,
                     QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset);

} // namespace AccessibleTextBoundaries
