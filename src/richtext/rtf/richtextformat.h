#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>

// The conventions by which the rich text model keeps what Qt's formats have no field for, and
// the unit rules between whole points, twips and the document's own lengths. The RTF reader and
// writer and the control adapter both go through these, so a document means the same to both.
namespace RichTextFormat {

// Character format: underline type 0-5 (none, solid, word, double, dotted, wave) and the
// protected mark, both kept as user properties of QTextCharFormat.
inline constexpr int UnderlineTypeProperty = QTextFormat::UserProperty + 1;
inline constexpr int ProtectedProperty = QTextFormat::UserProperty + 2;
// Paragraph format: for a numbered paragraph whose first line is laid out flush with the later
// lines (the number hangs in front of it), the indent of the later lines relative to the first
// line, in document units; absent on paragraphs laid out by leftMargin + textIndent alone.
inline constexpr int ListHangingIndentProperty = QTextFormat::UserProperty + 16;

enum UnderlineType { utNone = 0, utSolid = 1, utWord = 2, utDouble = 3, utDotted = 4, utWave = 5 };

// The underline type a format shows, read from the stored type, which is what counts: Qt's own
// underline flag is off for words-only text. 0 unless underlined; an underline without a stored
// type counts by the style Qt draws (dotted, wave, else solid).
int underlineType(const QTextCharFormat &format);
// Sets the drawn style and the stored type together; out-of-range types count as solid, 0
// clears the underline. Qt draws the double as one line and words-only not at all; the
// control's view and the page renderer add the rest (UnderlineDecorations).
void setUnderlineType(QTextCharFormat &format, int type);

bool isProtected(const QTextCharFormat &format);
void setProtected(QTextCharFormat &format, bool on);

// Document lengths (margins, indents, line heights) are in units of 1/96 inch, as Qt lays them
// out on the screen; one point is 4/3 of a unit and one twip 1/15 of a unit.
inline constexpr double UnitsPerPoint = 96.0 / 72.0;
inline constexpr double UnitsPerTwip = 96.0 / 1440.0;
double pointsToUnits(double points);
// Whole points, rounded to the nearest (a value set in whole points reads back unchanged).
int unitsToPoints(double units);
double twipsToUnits(double twips);
int unitsToTwips(double units);

// Paragraph indents as the control reports them, in document units: the first line's indent
// from the left edge, the indent of the later lines relative to the first line, and the right
// indent.
struct ParagraphIndents {
    double first = 0;
    double left = 0;
    double right = 0;
};
ParagraphIndents paragraphIndents(const QTextBlockFormat &format);
// Writes the indents into leftMargin/textIndent/rightMargin, or, for a numbered paragraph
// (hanging), lays the first line flush with the later ones and keeps the relative indent in
// ListHangingIndentProperty so that the number has room in front of the text.
void setParagraphIndents(QTextBlockFormat &format, const ParagraphIndents &indents, bool hanging);

} // namespace RichTextFormat
