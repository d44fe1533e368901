#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

// The text tools' rules over plain text: case conversion, Letter Style, word count, and the
// placement and messages of the find dialogs. Whole texts are as the editing area reads them:
// paragraph breaks as CR LF, each break one position.

// A to Z turned into a to z; every other character stays.
QString LowercaseAZ(const QString &text);
// a to z turned into A to Z; every other character stays.
QString UppercaseAZ(const QString &text);

// Characters that make up words for Word Count: the apostrophe, digits, capitals A to Z (small
// letters count as their capitals), { | } ~, the character 127, and every character of code 128
// to 255 in the Windows-1252 code page (accented letters, the typographic quotes and dashes, the
// no-break space). Letters, digits and marks beyond that code page count as well.
bool IsWordChar(QChar c);

// The number of runs of word characters.
int WordCount(const QString &text);

// The status bar text: the count followed by " words".
QString WordCountText(int count);

// Letter Style enlarges the capitals A to Z only.
constexpr int LetterStyleStep = 3;
bool IsLetterStyleCapital(QChar c);

// A run of positions [start, end).
struct TextRange {
    int start = 0;
    int end = 0;
    bool operator==(const TextRange &) const = default;
};

// The runs of consecutive capitals A to Z in a whole text, in positions.
QList<TextRange> CapitalRuns(const QString &text);

// The size box's text as a whole number of points; anything else raises UserError with the
// runtime's conversion message ("'12pt' is not a valid integer value").
int SizeBoxPoints(const QString &sizeBoxText);

// Where Letter Style leaves the caret: the selection's start minus its length, and 0 where that
// would lie before the text.
int LetterStyleCaret(int selStart, int selLength);

// Letter Style typing: the change of the insertion size before the key's character goes in, and
// the new state of `capsEnlarged`. A capital raises the size once; any other character, control
// characters included, lowers it again.
int LetterStyleKeyDelta(QChar key, bool &capsEnlarged);

// The not-found message for a search text.
QString NotFoundText(const QString &findText);

// Moving a find dialog off the match it just selected. `dialog` is the dialog's frame on the
// screen, `matchTopLeft` the top-left corner of the match's first character, `afterMatch` the
// top-left corner of the position just after the match, `screen` the available screen area.
// Answers the dialog's new top, or nothing when it may stay.
std::optional<int> DialogTopOffMatch(const QRect &dialog, const QPoint &matchTopLeft,
                                     const QPoint &afterMatch, const QRect &screen);
