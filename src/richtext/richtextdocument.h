#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

class QTextDocument;

// Work on a whole document that the rich text control does for its text, its plain-text mode and
// its clipboard, without a widget.
namespace RichTextDocument {

// Whether the character of a document's raw text ends a line: a paragraph or line separator,
// or a mark that opens or closes a frame (a table cell), which stands between paragraphs.
constexpr bool isLineBreakMark(char16_t c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == 0xFDD0 ||
           c == 0xFDD1;
}

// Paragraph and line separators as CR LF.
QString withCrLf(const QString &text);
// CR LF, CR and LF as '\n', which the document takes as a paragraph break.
QString withNewlines(const QString &text);

// A cursor's selected text as plain text: paragraph, line and cell breaks as '\n', no-break
// spaces as spaces, as a document fragment's plain text has them.
QString plainTextOfSelection(QString selected);

// Whether any character of the text is written from right to left.
bool hasRightToLeft(QStringView text);

// The kinds of format a document's parts carry of their own.
enum CarriedFormat {
    cfFrames = 0x1,
    cfParagraphs = 0x2,
    cfParagraphMarks = 0x4,
    cfCharacters = 0x8
};
// Which kinds of format the document carries: frames (cfFrames alone), paragraph formats,
// paragraph marks' character formats, characters' formats; 0 when none.
int carriedFormats(const QTextDocument &document);
// Drops every format from the document in place, given what carriedFormats found; false
// when its structure (tables) needs the text rebuilt instead.
bool dropFormats(QTextDocument &document, int carried);

// Pictures live in a document's resources, which a fragment does not carry; gives `to` the
// pictures its text refers to.
void copyPictures(const QTextDocument &from, QTextDocument &to);
// Turns words-only underlines into full ones, for readers that know no words-only underline.
void underlineWordsOnlyRunsFully(QTextDocument &document);

} // namespace RichTextDocument
