#include "richtext/rtf/richtextformat.h"

#include <cmath>

namespace RichTextFormat {

int underlineType(const QTextCharFormat &format) {
    const int stored = format.intProperty(UnderlineTypeProperty);
    // Qt's own line stays off under words-only text (the view draws it word by word), so the
    // stored type alone says it is underlined.
    if (stored == utWord)
        return utWord;
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    if (style == QTextCharFormat::NoUnderline && !format.fontUnderline())
        return utNone;
    if (stored >= utSolid && stored <= utWave)
        return stored;
    // Underlines that came without a type (pasted HTML) by the look Qt gives them.
    switch (style) {
    case QTextCharFormat::DotLine:
    case QTextCharFormat::DashUnderline:
    case QTextCharFormat::DashDotLine:
    case QTextCharFormat::DashDotDotLine:
        return utDotted;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return utWave;
    default:
        return utSolid;
    }
}

void setUnderlineType(QTextCharFormat &format, int type) {
    if (type < utNone || type > utWave)
        type = utSolid;
    // Qt draws no double or words-only line: the double keeps Qt's single line and the view adds
    // the second; words-only has Qt's line off and the view draws it under the words.
    switch (type) {
    case utNone:
    case utWord:
        format.setUnderlineStyle(QTextCharFormat::NoUnderline);
        break;
    case utDotted:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case utWave:
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        break;
    default:
        format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        break;
    }
    format.setProperty(UnderlineTypeProperty, type);
}

bool isProtected(const QTextCharFormat &format) {
    return format.boolProperty(ProtectedProperty);
}

void setProtected(QTextCharFormat &format, bool on) {
    format.setProperty(ProtectedProperty, on);
}

double pointsToUnits(double points) {
    return points * UnitsPerPoint;
}

int unitsToPoints(double units) {
    return int(std::lround(units / UnitsPerPoint));
}

double twipsToUnits(double twips) {
    return twips * UnitsPerTwip;
}

int unitsToTwips(double units) {
    return int(std::lround(units / UnitsPerTwip));
}

ParagraphIndents paragraphIndents(const QTextBlockFormat &format) {
    ParagraphIndents indents;
    indents.right = format.rightMargin();
    if (format.hasProperty(ListHangingIndentProperty)) {
        indents.left = format.doubleProperty(ListHangingIndentProperty);
        indents.first = format.leftMargin() + format.textIndent() - indents.left;
    } else {
        indents.left = -format.textIndent();
        indents.first = format.leftMargin() + format.textIndent();
    }
    return indents;
}

void setParagraphIndents(QTextBlockFormat &format, const ParagraphIndents &indents, bool hanging) {
    format.setRightMargin(indents.right);
    format.setLeftMargin(indents.first + indents.left);
    if (hanging) {
        format.setTextIndent(0);
        format.setProperty(ListHangingIndentProperty, indents.left);
    } else {
        format.setTextIndent(-indents.left);
        format.clearProperty(ListHangingIndentProperty);
    }
}

} // namespace RichTextFormat
