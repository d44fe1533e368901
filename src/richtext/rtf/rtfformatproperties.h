#pragma once

#include <QTextFormat>

// Format properties of the editing area that QTextFormat has no own slot for, shared by the RTF
// reader and writer and by the rich text control adapter, plus the document's length unit.
namespace RtfFormatProperty {

// Underline type of a character run, an int 0-5 on QTextCharFormat: none, solid, word, double,
// dotted, wave. Qt draws only some of these itself, so the kind is kept here and read through
// RichTextFormat::underlineType; absent means 0, or the kind Qt's own underline style shows.
inline constexpr int UnderlineType = QTextFormat::UserProperty + 1;

// Protected text, a bool on QTextCharFormat: the user may not edit it without being asked.
inline constexpr int Protected = QTextFormat::UserProperty + 2;

// The bytes a picture was read from (QByteArray on QTextImageFormat) and their kind
// (PictureKind as int), so that a picture Qt cannot draw (metafiles) or would re-encode is
// written back exactly as it came.
inline constexpr int PictureData = QTextFormat::UserProperty + 3;
inline constexpr int PictureKindProperty = QTextFormat::UserProperty + 4;

// What the document keeps of an RTF file without showing it, written back as it came.
// On the character format of a protected marker in the text (a footnote's reference mark, or an
// invisible word joiner): the RTF to write in the marker's place (QByteArray) and a number that
// keeps neighbouring markers apart (int).
inline constexpr int KeptGroup = QTextFormat::UserProperty + 5;
inline constexpr int KeptSerial = QTextFormat::UserProperty + 6;
// On the runs of a field's result: the field's instruction group as it came (QByteArray) and a
// number that tells one field's runs from the next one's (int).
inline constexpr int FieldInstruction = QTextFormat::UserProperty + 7;
inline constexpr int FieldSerial = QTextFormat::UserProperty + 8;
// On the root frame's format: the groups and words before the text (style sheet, information,
// headers and footers, page and section setup, groups the reader does not know) as one
// QByteArray, and the file's font names by number (QVariantHash) and colours by number
// (QVariantList of QColor, invalid for automatic), which kept bytes refer to.
inline constexpr int KeptPrologue = QTextFormat::UserProperty + 9;
inline constexpr int KeptFonts = QTextFormat::UserProperty + 10;
inline constexpr int KeptColors = QTextFormat::UserProperty + 11;
// On a QTextList's format: the list of the file it is a level of (an int, the same for all the
// levels of one list, so that they are written back as one list), the number its items start
// at when not 1 (Qt itself always counts from 1), and the level's number text as the file gave
// it (QString, the level numbers as the characters 0-8), which may show the numbers of the
// levels above ("1.2.") where Qt shows only its own.
inline constexpr int ListGroup = QTextFormat::UserProperty + 12;
inline constexpr int ListStart = QTextFormat::UserProperty + 13;
inline constexpr int ListLevelText = QTextFormat::UserProperty + 14;
// On a paragraph's block format: its style's number in the file's style sheet (int, \sN), its
// outline level (int 0-8), and whether it keeps with the next paragraph and keeps its lines on
// one page (bools), all written back as they came.
inline constexpr int StyleNumber = QTextFormat::UserProperty + 15;
inline constexpr int OutlineLevel = QTextFormat::UserProperty + 17;
inline constexpr int KeepWithNext = QTextFormat::UserProperty + 18;
inline constexpr int KeepTogether = QTextFormat::UserProperty + 19;
// On a paragraph's block format: its shading (\cbpat, \cfpat, \shading) and its borders
// (\brdrt ... with their kind, width and colour) as RTF words of the file (QByteArray); the
// shading also shows as the block's background.
inline constexpr int ParagraphShading = QTextFormat::UserProperty + 20;
inline constexpr int ParagraphBorders = QTextFormat::UserProperty + 21;
// On a run: its direction as the file gave it (int, 1 \ltrch, 2 \rtlch), the associated font,
// size, bold and italic that right-to-left text uses (\af, \afs, \ab, \ai as RTF words,
// QByteArray), and for a right-to-left run, which shows in the associated format, the words of
// its other format (\f, \fs, \b, \i), so that both are written back.
inline constexpr int RunDirection = QTextFormat::UserProperty + 22;
inline constexpr int AssociatedWords = QTextFormat::UserProperty + 23;
inline constexpr int OtherScriptWords = QTextFormat::UserProperty + 24;
// On a table's format (bool): the table goes on from the one before it. A long table is held in
// pieces (see rtfTablePieceStarts); the empty paragraph Qt keeps between two pieces is no
// paragraph of the text, and the writer joins the pieces into one table again.
inline constexpr int TableContinues = QTextFormat::UserProperty + 25;

} // namespace RtfFormatProperty

// Underline types as the control numbers them.
enum class UnderlineType { None = 0, Solid = 1, Word = 2, Double = 3, Dotted = 4, Wave = 5 };

// Encodings of picture data inside RTF.
enum class PictureKind { Unknown = 0, Png = 1, Jpeg = 2, Wmf = 3, Emf = 4, Dib = 5, Bitmap = 6 };

// Lengths in QTextBlockFormat, QTextImageFormat and QTextTableFormat (margins, indents, spacing,
// line heights, picture sizes) are in document units: pixels at 96 dpi, the unit QTextDocument
// lays out in on screen, so one point is 4/3 of a unit. Font sizes stay in points.
namespace DocumentUnits {
inline constexpr double perPoint = 96.0 / 72.0;
inline constexpr double fromPoints(double points) {
    return points * perPoint;
}
inline constexpr double toPoints(double units) {
    return units / perPoint;
}
inline constexpr double fromTwips(double twips) {
    return twips / 15.0;
}
inline constexpr double toTwips(double units) {
    return units * 15.0;
}
} // namespace DocumentUnits
