#include "richtext/underlinedecorations.h"

#include "richtext/rtf/richtextformat.h"
#include "richtext/rxdocumentlayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <vector>

namespace UnderlineDecorations {

namespace {

// A stretch of one paragraph (positions relative to it) whose underline this module draws,
// with where its single line goes below the baseline and how thick it is.
struct Run {
    int start = 0;
    int end = 0;
    int type = 0;
    QColor colour;
    double offset = 0;
    double width = 0;
};

int decoratedType(const QTextCharFormat &format) {
    const int type = RichTextFormat::underlineType(format);
    return type == RichTextFormat::utWord || type == RichTextFormat::utDouble ? type : 0;
}

class BlockPainter {
public:
    BlockPainter(QPainter &painter, const PaintContext &context, const QTextDocument &document)
        : m_painter(painter)
        , m_context(context)
        , m_defaultFont(document.defaultFont())
        , m_device(document.documentLayout()->paintDevice()) {}

    void paint(const QTextBlock &block, const QPointF &origin) {
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            return;
        // Lines are laid out top to bottom: find the first one the clip reaches.
        const double top = m_context.clip.top() - origin.y();
        const double bottom = m_context.clip.bottom() - origin.y();
        int first = 0;
        int count = layout->lineCount();
        while (count > 0) {
            const int half = count / 2;
            if (layout->lineAt(first + half).rect().bottom() <= top) {
                first += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
        int last = first;
        while (last < layout->lineCount() && layout->lineAt(last).y() < bottom)
            ++last;
        if (first >= last)
            return;
        const QTextLine lastLine = layout->lineAt(last - 1);
        const int from = layout->lineAt(first).textStart();
        const int to = lastLine.textStart() + lastLine.textLength();
        collectRuns(block, from, to);
        if (m_runs.empty())
            return;
        // Only the shown part of the text: a paragraph may be the whole document.
        QTextCursor shown(block);
        shown.setPosition(block.position() + from);
        shown.setPosition(block.position() + to, QTextCursor::KeepAnchor);
        m_text = shown.selectedText();
        m_textStart = from;
        m_blockPosition = block.position();
        for (int i = first; i < last; ++i)
            paintLine(layout->lineAt(i), origin);
    }

private:
    void collectRuns(const QTextBlock &block, int from, int to) {
        m_runs.clear();
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int start = fragment.position() - block.position();
            const int end = start + fragment.length();
            if (end <= from)
                continue;
            if (start >= to)
                break;
            // Runs of one format share their look, which asks for a font's metrics.
            const int index = fragment.charFormatIndex();
            auto known = m_looks.constFind(index);
            if (known == m_looks.constEnd())
                known = m_looks.insert(index, lookOf(fragment.charFormat()));
            if (known->type != 0) {
                Run run = *known;
                run.start = start;
                run.end = end;
                m_runs.push_back(run);
            }
        }
    }

    // The type, colour and line metrics of a format; type 0 when this module draws nothing
    // for it.
    Run lookOf(const QTextCharFormat &format) const {
        Run run;
        run.type = decoratedType(format);
        if (run.type == 0)
            return run;
        run.colour = m_context.text;
        if (format.underlineColor().isValid())
            run.colour = format.underlineColor();
        else if (format.foreground().style() != Qt::NoBrush)
            run.colour = format.foreground().color();
        const QFont font = format.font().resolve(m_defaultFont);
        const QFontMetricsF metrics =
            m_device ? QFontMetricsF(font, m_device) : QFontMetricsF(font);
        // Where Qt puts its own single line: the underline position rounded away from the
        // text, kept within the descent, centred on a pixel row.
        run.width = metrics.lineWidth();
        run.offset = std::ceil(metrics.underlinePos()) + 0.5;
        if (metrics.underlinePos() <= metrics.descent())
            run.offset = std::min(run.offset, metrics.descent() - 0.5);
        return run;
    }

    void paintLine(const QTextLine &line, const QPointF &origin) {
        const int lineStart = line.textStart();
        const int lineEnd = lineStart + line.textLength();
        const double baseline = origin.y() + line.y() + line.ascent();
        const double lineBottom = origin.y() + line.y() + line.height();
        for (const Run &run : m_runs) {
            const int from = std::max(run.start, lineStart);
            const int to = std::min(run.end, lineEnd);
            if (from >= to)
                continue;
            const double y = baseline + run.offset;
            if (run.type == RichTextFormat::utDouble) {
                // Qt drew the first line; the second goes one line width below it, but not
                // past the line's own box, which is all a repaint of this line covers.
                const double second = std::min(y + 2 * run.width, lineBottom - run.width / 2);
                addSpan(line, origin.x(), from, to, second, run);
                continue;
            }
            int word = -1;
            for (int i = from; i <= to; ++i) {
                const bool blank = i == to || m_text.at(i - m_textStart).isSpace();
                if (!blank && word < 0) {
                    word = i;
                } else if (blank && word >= 0) {
                    addSpan(line, origin.x(), word, i, y, run);
                    word = -1;
                }
            }
        }
    }

    // One line under [from, to) of `line`, in the selection's text colour where it is selected,
    // as Qt colours the text and its own underline there.
    void addSpan(const QTextLine &line, double originX, int from, int to, double y,
                 const Run &run) {
        const int selStart = m_context.selectionStart - m_blockPosition;
        const int selEnd = m_context.selectionEnd - m_blockPosition;
        const int cuts[] = {from, std::clamp(selStart, from, to), std::clamp(selEnd, from, to), to};
        for (int i = 0; i + 1 < 4; ++i) {
            if (cuts[i] >= cuts[i + 1])
                continue;
            const bool selected = cuts[i] >= selStart && cuts[i + 1] <= selEnd;
            const QColor &colour = selected ? m_context.selectedText : run.colour;
            if (colour != m_colour || run.width != m_width) {
                flush();
                m_colour = colour;
                m_width = run.width;
            }
            const double x1 = originX + line.cursorToX(cuts[i]);
            const double x2 = originX + line.cursorToX(cuts[i + 1]);
            m_lines.append(
                QLineF(std::floor(std::min(x1, x2)), y, std::floor(std::max(x1, x2)), y));
        }
    }

public:
    // Lines of one colour and thickness go to the painter together; the last of them when the
    // painting ends.
    void flush() {
        if (m_lines.isEmpty())
            return;
        QPen pen(m_colour);
        pen.setWidthF(m_width);
        pen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(pen);
        m_painter.drawLines(m_lines.constData(), int(m_lines.size()));
        m_lines.clear();
    }

private:
    QPainter &m_painter;
    const PaintContext &m_context;
    const QFont m_defaultFont;
    QPaintDevice *m_device;
    std::vector<Run> m_runs;
    QHash<int, Run> m_looks;
    // The shown text of the paragraph being painted, from m_textStart on.
    QString m_text;
    int m_textStart = 0;
    int m_blockPosition = 0;
    QVarLengthArray<QLineF, 64> m_lines;
    QColor m_colour;
    double m_width = 0;
};

} // namespace

void draw(QPainter &painter, const QTextDocument &document, const PaintContext &context) {
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    if (!layout || !context.clip.isValid() || context.clip.isEmpty())
        return;
    QTextBlock block = TRxDocumentLayout::FirstBlockReaching(document, context.clip.top());
    // Paragraphs beside the one hit (earlier cells of a table row) reach the clip as well.
    while (block.previous().isValid() &&
           layout->blockBoundingRect(block.previous()).bottom() > context.clip.top())
        block = block.previous();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    BlockPainter blocks(painter, context, document);
    for (; block.isValid(); block = block.next()) {
        if (!block.isVisible())
            continue;
        const QRectF rect = layout->blockBoundingRect(block);
        if (rect.top() > context.clip.bottom())
            break;
        if (rect.bottom() >= context.clip.top())
            blocks.paint(block, rect.topLeft());
    }
    blocks.flush();
    painter.restore();
}

} // namespace UnderlineDecorations
