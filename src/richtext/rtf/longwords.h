#pragma once

#include <QStringView>

// Qt wraps a line at a word boundary where it can and anywhere where it cannot, but to find out
// that it cannot it measures the rest of the word for every line the word fills: a word of a
// few hundred thousand characters (a pasted blob, a file of one "word") takes minutes to lay
// out. Text holding such a word is wrapped anywhere instead, which costs no more than any line.
namespace LongWords {

// Characters without a blank from which on a word counts as long; laying one out the usual way
// takes some tens of milliseconds.
inline constexpr int MinimumLength = 10000;

// Whether the text holds a run of MinimumLength characters or more without a blank.
bool hasLongWord(QStringView text);
// Whether the text of an HTML page does, tags aside (they neither part nor lengthen a word).
bool hasLongWordInMarkup(QStringView html);

} // namespace LongWords
