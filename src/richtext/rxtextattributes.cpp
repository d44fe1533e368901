#include "richtext/rxtextattributes.h"

#include "richtext/rtf/richtextformat.h"
#include "richtext/rxrichedit.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

namespace {

// Every attribute of one format with unset values resolved against the document's default font,
// so that formats that differ only in what they spell out compare equal.
struct Resolved {
    QString face;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    int underlineType = 0;
    QColor color;
    QColor backColor;
    int script = 0;
    bool isProtected = false;
};

QString faceOf(const QTextCharFormat &format, const QFont &defaultFont) {
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return defaultFont.family();
}

int sizeOf(const QTextCharFormat &format, const QFont &defaultFont) {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return int(std::lround(format.fontPointSize()));
    if (defaultFont.pointSizeF() > 0)
        return int(std::lround(defaultFont.pointSizeF()));
    return int(std::lround(defaultFont.pixelSize() * 72.0 / 96.0));
}

QColor brushColor(const QTextCharFormat &format, int property) {
    if (!format.hasProperty(property))
        return {};
    const QBrush brush = format.brushProperty(property);
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

int scriptOf(const QTextCharFormat &format) {
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSubScript:
        return TRxTextAttributes::ssSubscript;
    case QTextCharFormat::AlignSuperScript:
        return TRxTextAttributes::ssSuperscript;
    default:
        return TRxTextAttributes::ssNone;
    }
}

Resolved resolve(const QTextCharFormat &format, const QFont &defaultFont) {
    Resolved r;
    r.face = faceOf(format, defaultFont);
    r.size = sizeOf(format, defaultFont);
    r.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                         : defaultFont.bold();
    r.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaultFont.italic();
    r.strikeOut = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                                 : defaultFont.strikeOut();
    r.underlineType = RichTextFormat::underlineType(format);
    r.color = brushColor(format, QTextFormat::ForegroundBrush);
    r.backColor = brushColor(format, QTextFormat::BackgroundBrush);
    r.script = scriptOf(format);
    r.isProtected = RichTextFormat::isProtected(format);
    return r;
}

TRxTextAttributes::ConsistentAttributes differences(const Resolved &a, const Resolved &b) {
    TRxTextAttributes::ConsistentAttributes d;
    if (a.bold != b.bold)
        d |= TRxTextAttributes::caBold;
    if (a.color != b.color)
        d |= TRxTextAttributes::caColor;
    if (a.face != b.face)
        d |= TRxTextAttributes::caFace;
    if (a.italic != b.italic)
        d |= TRxTextAttributes::caItalic;
    if (a.size != b.size)
        d |= TRxTextAttributes::caSize;
    if (a.strikeOut != b.strikeOut)
        d |= TRxTextAttributes::caStrikeOut;
    if ((a.underlineType != 0) != (b.underlineType != 0))
        d |= TRxTextAttributes::caUnderline;
    if (a.isProtected != b.isProtected)
        d |= TRxTextAttributes::caProtected;
    if (a.backColor != b.backColor)
        d |= TRxTextAttributes::caBackColor;
    if (a.underlineType != b.underlineType)
        d |= TRxTextAttributes::caUnderlineType;
    if (a.script != b.script)
        d |= TRxTextAttributes::caScript;
    return d;
}

} // namespace

QTextCharFormat TRxTextAttributes::Format() const {
    return m_control->selectionCharFormat();
}

QString TRxTextAttributes::Name() const {
    return faceOf(Format(), m_control->document()->defaultFont());
}

void TRxTextAttributes::SetName(const QString &face) {
    QTextCharFormat delta;
    delta.setFontFamilies(QStringList{face.left(MaxFaceLength)});
    m_control->mergeSelectionCharFormat(delta);
}

int TRxTextAttributes::Size() const {
    return sizeOf(Format(), m_control->document()->defaultFont());
}

void TRxTextAttributes::SetSize(int points) {
    if (points <= 0)
        return;
    QTextCharFormat delta;
    delta.setFontPointSize(points);
    m_control->mergeSelectionCharFormat(delta);
}

TRxTextAttributes::FontStyles TRxTextAttributes::Style() const {
    const Resolved r = resolve(Format(), m_control->document()->defaultFont());
    FontStyles style;
    style.setFlag(fsBold, r.bold);
    style.setFlag(fsItalic, r.italic);
    style.setFlag(fsUnderline, r.underlineType != 0);
    style.setFlag(fsStrikeOut, r.strikeOut);
    return style;
}

void TRxTextAttributes::SetStyle(FontStyles style) {
    QTextCharFormat delta;
    delta.setFontWeight(style.testFlag(fsBold) ? QFont::Bold : QFont::Normal);
    delta.setFontItalic(style.testFlag(fsItalic));
    delta.setFontStrikeOut(style.testFlag(fsStrikeOut));
    const int current = UnderlineType();
    RichTextFormat::setUnderlineType(
        delta, style.testFlag(fsUnderline) ? (current != 0 ? current : int(RichTextFormat::utSolid))
                                           : int(RichTextFormat::utNone));
    m_control->mergeSelectionCharFormat(delta);
}

QColor TRxTextAttributes::Color() const {
    return brushColor(Format(), QTextFormat::ForegroundBrush);
}

void TRxTextAttributes::SetColor(const QColor &color) {
    QTextCharFormat delta;
    if (!color.isValid()) {
        m_control->mergeSelectionCharFormat(delta, {QTextFormat::ForegroundBrush});
        return;
    }
    delta.setForeground(color);
    m_control->mergeSelectionCharFormat(delta);
}

QColor TRxTextAttributes::BackColor() const {
    return brushColor(Format(), QTextFormat::BackgroundBrush);
}

void TRxTextAttributes::SetBackColor(const QColor &color) {
    QTextCharFormat delta;
    if (!color.isValid()) {
        m_control->mergeSelectionCharFormat(delta, {QTextFormat::BackgroundBrush});
        return;
    }
    delta.setBackground(color);
    m_control->mergeSelectionCharFormat(delta);
}

int TRxTextAttributes::UnderlineType() const {
    return RichTextFormat::underlineType(Format());
}

void TRxTextAttributes::SetUnderlineType(int type) {
    QTextCharFormat delta;
    RichTextFormat::setUnderlineType(delta, type);
    m_control->mergeSelectionCharFormat(delta);
}

int TRxTextAttributes::ScriptStyle() const {
    return scriptOf(Format());
}

void TRxTextAttributes::SetScriptStyle(int script) {
    QTextCharFormat delta;
    delta.setVerticalAlignment(script == ssSubscript     ? QTextCharFormat::AlignSubScript
                               : script == ssSuperscript ? QTextCharFormat::AlignSuperScript
                                                         : QTextCharFormat::AlignNormal);
    m_control->mergeSelectionCharFormat(delta);
}

bool TRxTextAttributes::Protected() const {
    return RichTextFormat::isProtected(Format());
}

void TRxTextAttributes::SetProtected(bool on) {
    QTextCharFormat delta;
    RichTextFormat::setProtected(delta, on);
    m_control->mergeSelectionCharFormat(delta);
}

TRxTextAttributes::ConsistentAttributes TRxTextAttributes::Consistent() const {
    const QTextCursor cursor = m_control->textCursor();
    if (!cursor.hasSelection())
        return caAll;
    return ConsistentBetween(cursor.selectionStart(), cursor.selectionEnd());
}

TRxTextAttributes::ConsistentAttributes TRxTextAttributes::ConsistentBetween(int start,
                                                                             int end) const {
    const QTextDocument *document = m_control->document();
    const QFont defaultFont = document->defaultFont();
    ConsistentAttributes consistent = caAll;
    bool haveFirst = false;
    Resolved first;
    // Runs of equal format share an index, so each distinct format is resolved once per run.
    int lastFormatIndex = -1;
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start)
                continue;
            if (fragment.position() >= end)
                break;
            if (fragment.charFormatIndex() == lastFormatIndex)
                continue;
            lastFormatIndex = fragment.charFormatIndex();
            const Resolved r = resolve(fragment.charFormat(), defaultFont);
            if (!haveFirst) {
                first = r;
                haveFirst = true;
                continue;
            }
            consistent &= ~differences(first, r);
            if (!consistent)
                return consistent;
        }
    }
    return consistent;
}

void TRxTextAttributes::Assign(const QFont &font) {
    QTextCharFormat delta;
    delta.setFontFamilies(QStringList{font.family().left(MaxFaceLength)});
    const double points =
        font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    if (points > 0)
        delta.setFontPointSize(std::lround(points));
    delta.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    delta.setFontItalic(font.italic());
    delta.setFontStrikeOut(font.strikeOut());
    const int current = UnderlineType();
    RichTextFormat::setUnderlineType(
        delta, font.underline() ? (current != 0 ? current : int(RichTextFormat::utSolid))
                                : int(RichTextFormat::utNone));
    m_control->mergeSelectionCharFormat(delta);
}

QFont TRxTextAttributes::ToFont() const {
    const Resolved r = resolve(Format(), m_control->document()->defaultFont());
    QFont font(m_control->document()->defaultFont());
    font.setFamilies(QStringList{r.face});
    font.setPointSize(qMax(1, r.size));
    font.setBold(r.bold);
    font.setItalic(r.italic);
    font.setUnderline(r.underlineType != 0);
    font.setStrikeOut(r.strikeOut);
    return font;
}
