#include "editor/richtext/richtextformat.h"

#include <cmath>

namespace RichTextFormat {

int underlineType(const QTextCharFormat &format) {
    const bool underlined =
        format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline;
    if (!underlined)
        return utNone;
    const int stored = format.intProperty(UnderlineTypeProperty);
    return stored >= utSolid && stored <= utWave ? stored : utSolid;
}

void setUnderlineType(QTextCharFormat &format, int type) {
    if (type == utNone) {
        format.setUnderlineStyle(QTextCharFormat::NoUnderline);
        format.setFontUnderline(false);
        format.setProperty(UnderlineTypeProperty, int(utNone));
        return;
    }
    if (type < utSolid || type > utWave)
        type = utSolid;
    // Qt draws no double or words-only line; those keep their type for saving and show as a
    // single line.
    switch (type) {
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
