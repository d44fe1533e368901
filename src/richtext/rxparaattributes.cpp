#include "richtext/rxparaattributes.h"

#include "richtext/rtf/richtextformat.h"
#include "richtext/rxrichedit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

using RichTextFormat::pointsToUnits;
using RichTextFormat::unitsToPoints;

namespace {

QTextBlock startBlock(const TRxRichEdit &control) {
    return control.document()->findBlock(control.textCursor().selectionStart());
}

QTextListFormat::Style listStyle(int numbering) {
    switch (numbering) {
    case TRxParaAttributes::nsArabicNumbers:
        return QTextListFormat::ListDecimal;
    case TRxParaAttributes::nsLoCaseLetter:
        return QTextListFormat::ListLowerAlpha;
    case TRxParaAttributes::nsUpCaseLetter:
        return QTextListFormat::ListUpperAlpha;
    case TRxParaAttributes::nsLoCaseRoman:
        return QTextListFormat::ListLowerRoman;
    case TRxParaAttributes::nsUpCaseRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDisc;
    }
}

int numberingOf(const QTextList *list) {
    if (!list)
        return TRxParaAttributes::nsNone;
    switch (list->format().style()) {
    case QTextListFormat::ListDecimal:
        return TRxParaAttributes::nsArabicNumbers;
    case QTextListFormat::ListLowerAlpha:
        return TRxParaAttributes::nsLoCaseLetter;
    case QTextListFormat::ListUpperAlpha:
        return TRxParaAttributes::nsUpCaseLetter;
    case QTextListFormat::ListLowerRoman:
        return TRxParaAttributes::nsLoCaseRoman;
    case QTextListFormat::ListUpperRoman:
        return TRxParaAttributes::nsUpCaseRoman;
    default:
        return TRxParaAttributes::nsBullet;
    }
}

} // namespace

int TRxParaAttributes::Alignment() const {
    const Qt::Alignment a =
        startBlock(*m_control).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return taJustify;
    if (a & Qt::AlignHCenter)
        return taCenter;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return taRightJustify;
    return taLeftJustify;
}

void TRxParaAttributes::SetAlignment(int alignment) {
    const Qt::Alignment a = alignment == taRightJustify ? Qt::AlignRight
                            : alignment == taCenter     ? Qt::AlignHCenter
                            : alignment == taJustify    ? Qt::AlignJustify
                                                        : Qt::AlignLeft;
    m_control->modifySelectedBlocks(
        [a](const QTextBlock &, QTextBlockFormat &format) { format.setAlignment(a); });
}

int TRxParaAttributes::FirstIndent() const {
    return unitsToPoints(
        RichTextFormat::paragraphIndents(startBlock(*m_control).blockFormat()).first);
}

void TRxParaAttributes::SetFirstIndent(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        RichTextFormat::ParagraphIndents indents = RichTextFormat::paragraphIndents(format);
        indents.first = pointsToUnits(points);
        RichTextFormat::setParagraphIndents(
            format, indents, format.hasProperty(RichTextFormat::ListHangingIndentProperty));
    });
}

int TRxParaAttributes::LeftIndent() const {
    return unitsToPoints(
        RichTextFormat::paragraphIndents(startBlock(*m_control).blockFormat()).left);
}

void TRxParaAttributes::SetLeftIndent(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        RichTextFormat::ParagraphIndents indents = RichTextFormat::paragraphIndents(format);
        indents.left = pointsToUnits(points);
        RichTextFormat::setParagraphIndents(
            format, indents, format.hasProperty(RichTextFormat::ListHangingIndentProperty));
    });
}

int TRxParaAttributes::RightIndent() const {
    return unitsToPoints(startBlock(*m_control).blockFormat().rightMargin());
}

void TRxParaAttributes::SetRightIndent(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        format.setRightMargin(pointsToUnits(points));
    });
}

int TRxParaAttributes::SpaceBefore() const {
    return unitsToPoints(startBlock(*m_control).blockFormat().topMargin());
}

void TRxParaAttributes::SetSpaceBefore(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        format.setTopMargin(pointsToUnits(qMax(0, points)));
    });
}

int TRxParaAttributes::SpaceAfter() const {
    return unitsToPoints(startBlock(*m_control).blockFormat().bottomMargin());
}

void TRxParaAttributes::SetSpaceAfter(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        format.setBottomMargin(pointsToUnits(qMax(0, points)));
    });
}

int TRxParaAttributes::LineSpacing() const {
    const QTextBlockFormat format = startBlock(*m_control).blockFormat();
    if (format.lineHeightType() != QTextBlockFormat::MinimumHeight)
        return 0;
    return unitsToPoints(format.lineHeight());
}

void TRxParaAttributes::SetLineSpacing(int points) {
    m_control->modifySelectedBlocks([points](const QTextBlock &, QTextBlockFormat &format) {
        format.setLineHeight(pointsToUnits(qMax(0, points)), format.lineHeightType());
    });
}

int TRxParaAttributes::LineSpacingRule() const {
    return startBlock(*m_control).blockFormat().lineHeightType() == QTextBlockFormat::MinimumHeight
               ? lsAtLeast
               : lsSingle;
}

void TRxParaAttributes::SetLineSpacingRule(int rule) {
    const int type =
        rule == lsAtLeast ? QTextBlockFormat::MinimumHeight : QTextBlockFormat::SingleHeight;
    m_control->modifySelectedBlocks([type](const QTextBlock &, QTextBlockFormat &format) {
        format.setLineHeight(format.lineHeight(), type);
    });
}

int TRxParaAttributes::Numbering() const {
    return numberingOf(startBlock(*m_control).textList());
}

void TRxParaAttributes::SetNumbering(int numbering) {
    if (m_control->PlainText())
        return;
    if (numbering < nsNone || numbering > nsUpCaseRoman)
        numbering = nsBullet;
    const double minimum = pointsToUnits(NumberingMinimumIndent);
    QTextCursor cursor = m_control->textCursor();
    QTextDocument *document = m_control->document();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    // A run of paragraphs numbered alike continues the list just above it, so numbering one
    // paragraph after another counts on.
    QTextList *target = nullptr;
    if (numbering != nsNone) {
        const QTextBlock above = document->findBlock(start).previous();
        if (above.isValid() && above.textList() && numberingOf(above.textList()) == numbering)
            target = above.textList();
    }
    QTextCursor edit(document);
    edit.beginEditBlock();
    const QTextBlock last = document->findBlock(end);
    for (QTextBlock block = document->findBlock(start); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        RichTextFormat::ParagraphIndents indents = RichTextFormat::paragraphIndents(format);
        if (numbering == nsNone) {
            indents.left = 0;
        } else if (indents.left < minimum) {
            indents.left = minimum;
        }
        if (QTextList *list = block.textList())
            list->remove(block);
        format = block.blockFormat();
        format.setIndent(0);
        RichTextFormat::setParagraphIndents(format, indents, numbering != nsNone);
        edit.setPosition(block.position());
        edit.setBlockFormat(format);
        if (numbering != nsNone) {
            if (!target) {
                QTextListFormat listFormat;
                listFormat.setStyle(listStyle(numbering));
                // The indents above place the text; the list adds none of its own.
                listFormat.setIndent(0);
                target = edit.createList(listFormat);
            } else {
                target->add(block);
            }
        }
        if (block == last)
            break;
    }
    edit.endEditBlock();
}
