#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QTextDocument;

// The underline lines Qt cannot draw itself, painted over a document Qt has just drawn: the
// second line of a double underline and the words-only line, which leaves the blanks between
// words bare. The document keeps only the underline type; this is how the view and the page
// renderer show it.
namespace UnderlineDecorations {

struct PaintContext {
    // The area to paint, in document coordinates (the painter maps them to its device).
    QRectF clip;
    // The colour of text that has none of its own.
    QColor text;
    // The range shown selected and the colour the view gives selected text.
    int selectionStart = 0;
    int selectionEnd = 0;
    QColor selectedText;
};

// Draws the lines for the laid-out paragraphs that meet `context.clip`, and only for those, so
// that the cost follows what is shown, not the document's length.
void draw(QPainter &painter, const QTextDocument &document, const PaintContext &context);

} // namespace UnderlineDecorations
