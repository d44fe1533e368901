#include "richtext/rtf/rtfwriter.h"

#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfcodec.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfkeptgroup.h"
#include "richtext/rtf/rtflisttables.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <cctype>
#include <cmath>

namespace {

constexpr int defaultTableWidthTwips = 9360; // 6.5 inches: a Letter page between its margins
constexpr qint64 progressStep = 64 * 1024;

int twips(double units) {
    return static_cast<int>(std::lround(DocumentUnits::toTwips(units)));
}

// The numbering kinds of RTF, for \levelnfc and the old-style \pn words.
struct ListStyleWords {
    int levelNfc;
    const char *pnWord;
};

ListStyleWords listStyleWords(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return {23, "pnlvlblt"};
    case QTextListFormat::ListLowerAlpha:
        return {4, "pnlcltr"};
    case QTextListFormat::ListUpperAlpha:
        return {3, "pnucltr"};
    case QTextListFormat::ListLowerRoman:
        return {2, "pnlcrm"};
    case QTextListFormat::ListUpperRoman:
        return {1, "pnucrm"};
    default:
        return {0, "pndec"};
    }
}

bool isBullet(QTextListFormat::Style style) {
    return listStyleWords(style).levelNfc == 23;
}

// Qt numbers "1." when a list sets no suffix of its own.
QString numberSuffix(const QTextListFormat &format) {
    return format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                             : QStringLiteral(".");
}

int listStart(const QTextListFormat &format) {
    return format.hasProperty(RtfFormatProperty::ListStart)
               ? format.intProperty(RtfFormatProperty::ListStart)
               : 1;
}

// Whether two list levels number their items alike.
bool sameNumbering(const QTextListFormat &a, const QTextListFormat &b) {
    if (isBullet(a.style()) || isBullet(b.style()))
        return isBullet(a.style()) == isBullet(b.style());
    return a.style() == b.style() && a.numberPrefix() == b.numberPrefix() &&
           numberSuffix(a) == numberSuffix(b) && listStart(a) == listStart(b);
}

// A number as a list of this style shows it, as Qt counts: letters a-z, then aa, ab, ...;
// roman numerals up to 3999, decimal beyond.
QString numberText(QTextListFormat::Style style, int number) {
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        if (number <= 0)
            break;
        QString text;
        const char16_t first = style == QTextListFormat::ListLowerAlpha ? 'a' : 'A';
        for (int rest = number; rest > 0; rest = (rest - 1) / 26)
            text.prepend(QChar(static_cast<char16_t>(first + (rest - 1) % 26)));
        return text;
    }
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        if (number <= 0 || number >= 4000)
            break;
        static constexpr std::pair<int, const char *> numerals[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        QString text;
        int rest = number;
        for (const auto &[value, letters] : numerals) {
            for (; rest >= value; rest -= value)
                text.append(QLatin1String(letters));
        }
        return style == QTextListFormat::ListUpperRoman ? text.toUpper() : text;
    }
    default:
        break;
    }
    return QString::number(number);
}

const char *underlineWord(int type) {
    switch (static_cast<UnderlineType>(type)) {
    case UnderlineType::Word:
        return "ulw";
    case UnderlineType::Double:
        return "uldb";
    case UnderlineType::Dotted:
        return "uld";
    case UnderlineType::Wave:
        return "ulwave";
    default:
        return "ul";
    }
}

// An empty block with no format of its own, as Qt puts before a table that starts a frame.
bool isBareBlock(const QTextBlock &block) {
    return block.length() == 1 && block.blockFormat().properties().isEmpty() &&
           block.textList() == nullptr;
}

// Kept bytes of a section break: \sect and the words of the section after it.
bool isSectionBreak(const QByteArray &kept) {
    return kept.startsWith("\\sect") &&
           (kept.size() == 5 || !std::isalpha(static_cast<unsigned char>(kept[5])));
}

bool hasBrush(const QTextFormat &format, int property) {
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

} // namespace

RtfWriter::RtfWriter(const QTextDocument &document)
    : m_document(document) {}

void RtfWriter::word(const char *name) {
    m_out.append('\\');
    m_out.append(name);
}

void RtfWriter::word(const char *name, long long value) {
    m_out.append('\\');
    m_out.append(name);
    m_out.append(QByteArray::number(value));
}

QString RtfWriter::familyOf(const QTextCharFormat &format) const {
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_document.defaultFont().family();
}

double RtfWriter::pointSizeOf(const QTextCharFormat &format) const {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    const QFont font = m_document.defaultFont();
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0)
        return DocumentUnits::toPoints(font.pixelSize());
    return 12;
}

int RtfWriter::fontIndex(const QString &family) {
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.constEnd())
        return *it;
    const int index = static_cast<int>(m_fonts.size());
    m_fontIndex.insert(family, index);
    m_fonts.append(family);
    return index;
}

int RtfWriter::colorIndex(const QColor &color) {
    const auto it = m_colorIndex.constFind(color.rgb());
    if (it != m_colorIndex.constEnd())
        return *it;
    m_colors.append(color);
    const int index = static_cast<int>(m_colors.size()); // 0 is "automatic"
    m_colorIndex.insert(color.rgb(), index);
    return index;
}

int RtfWriter::listIndex(QTextList *list) {
    const auto it = m_listIndex.constFind(list);
    if (it != m_listIndex.constEnd())
        return *it;
    const QTextListFormat format = list->format();
    const auto level = static_cast<std::size_t>(qBound(0, format.indent() - 1, 8));
    // The levels of one list of the file stay one list; a list of our own that is indented
    // right after another list is a level of that one.
    const bool grouped = format.hasProperty(RtfFormatProperty::ListGroup);
    const int group = format.intProperty(RtfFormatProperty::ListGroup);
    int index = 0;
    if (grouped)
        index = m_groupIndex.value(group);
    else if (m_previousList != 0 && level > 0)
        index = m_previousList;
    if (index != 0) {
        const ListDefinition &definition = m_lists[static_cast<std::size_t>(index - 1)];
        if (definition.used[level] && !sameNumbering(definition.levels[level], format))
            index = 0; // a level numbered otherwise: a list of its own
    }
    if (index == 0) {
        m_lists.emplace_back();
        index = static_cast<int>(m_lists.size());
        if (grouped && !m_groupIndex.contains(group))
            m_groupIndex.insert(group, index);
    }
    ListDefinition &definition = m_lists[static_cast<std::size_t>(index - 1)];
    if (!definition.used[level]) {
        definition.levels[level] = format;
        definition.used[level] = true;
    }
    m_listIndex.insert(list, index);
    return index;
}

QByteArray RtfWriter::write(const Progress &progress) {
    m_progress = progress;
    // The body first: the tables in the header list what it used, and only that.
    m_out.clear();
    m_out.reserve(static_cast<qsizetype>(m_document.characterCount()) * 2 + 4096);
    fontIndex(m_document.defaultFont().family()); // \deff0
    const QTextFrameFormat root = m_document.rootFrame()->frameFormat();
    const QVariantHash fonts = root.property(RtfFormatProperty::KeptFonts).toHash();
    for (auto it = fonts.cbegin(); it != fonts.cend(); ++it)
        m_keptFonts.insert(it.key().toInt(), it.value().toString());
    for (const QVariant &color : root.property(RtfFormatProperty::KeptColors).toList())
        m_keptColors.append(color.value<QColor>());
    writeFrame(m_document.rootFrame(), 0);
    m_out.append("}\n");
    QByteArray body;
    std::swap(body, m_out);
    const QByteArray prologue =
        renumbered(root.property(RtfFormatProperty::KeptPrologue).toByteArray());
    writeHeader();
    if (!prologue.isEmpty()) {
        m_out.append(prologue);
        m_out.append('\n');
    }
    m_out.append(body);
    if (m_progress)
        m_progress(m_document.characterCount(), m_document.characterCount());
    return std::move(m_out);
}

QByteArray RtfWriter::renumbered(QByteArrayView kept) {
    if (kept.isEmpty())
        return {};
    return RtfKeptGroup::renumbered(
        kept,
        [this](int number) {
            const auto it = m_keptFonts.constFind(number);
            return it == m_keptFonts.constEnd() || it->isEmpty() ? 0 : fontIndex(*it);
        },
        [this](int number) {
            if (number <= 0 || number >= m_keptColors.size())
                return 0;
            const QColor &color = m_keptColors[number];
            return color.isValid() ? colorIndex(color) : 0;
        });
}

void RtfWriter::closeField() {
    if (m_openField == 0)
        return;
    m_out.append("}}");
    m_openField = 0;
}

bool RtfWriter::continuesOpenField(const QTextBlock &block) const {
    if (m_openField == 0)
        return false;
    const QTextBlock next = block.next();
    // Only a paragraph of the same frame: a table between them gets rows the result cannot hold.
    if (!next.isValid() || next.begin().atEnd() ||
        next.document()->frameAt(next.position()) != block.document()->frameAt(block.position()))
        return false;
    const QTextCharFormat format = next.begin().fragment().charFormat();
    return format.intProperty(RtfFormatProperty::FieldSerial) == m_openField;
}

void RtfWriter::reportProgress(int position) {
    if (m_progress && position >= m_nextProgress) {
        m_progress(position, m_document.characterCount());
        m_nextProgress = position + progressStep;
    }
}

void RtfWriter::writeHeader() {
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    m_out.append("{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out.append("{");
        word("f", i);
        m_out.append("\\fnil\\fcharset0 ");
        writeText(m_fonts[i]);
        m_out.append(";}");
    }
    m_out.append("}\n");
    if (!m_colors.isEmpty()) {
        m_out.append("{\\colortbl;");
        for (const QColor &color : m_colors) {
            word("red", color.red());
            word("green", color.green());
            word("blue", color.blue());
            m_out.append(';');
        }
        m_out.append("}\n");
    }
    writeListTable();
    m_out.append("{\\*\\generator Quillet Vado;}\\viewkind4\n");
}

void RtfWriter::writeListTable() {
    if (m_lists.empty())
        return;
    // One list per list of the document with its levels, one override (\ls) per list.
    m_out.append("{\\*\\listtable");
    for (std::size_t i = 0; i < m_lists.size(); ++i)
        writeListDefinition(m_lists[i], static_cast<int>(i) + 1);
    m_out.append("}\n{\\*\\listoverridetable");
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        m_out.append("{\\listoverride");
        word("listid", static_cast<long long>(i) + 1);
        m_out.append("\\listoverridecount0");
        word("ls", static_cast<long long>(i) + 1);
        m_out.append("}");
    }
    m_out.append("}\n");
}

void RtfWriter::writeListDefinition(const ListDefinition &list, int id) {
    m_out.append("{\\list");
    word("listtemplateid", id);
    m_out.append("\\listsimple0");
    // Every level is written, so that an \ilvl finds one wherever it points: the levels no
    // paragraph uses number like the list's first level, or with "1." under a bullet list's.
    QTextListFormat other;
    for (std::size_t level = 0; level < list.levels.size(); ++level) {
        if (list.used[level]) {
            other = list.levels[level];
            break;
        }
    }
    if (!isBullet(other.style()))
        other = QTextListFormat();
    other.setStyle(isBullet(other.style()) ? QTextListFormat::ListDisc
                                           : QTextListFormat::ListDecimal);
    for (std::size_t level = 0; level < list.levels.size(); ++level)
        writeListLevel(list.used[level] ? list.levels[level] : other, static_cast<int>(level));
    m_out.append("{\\listname ;}");
    word("listid", id);
    m_out.append("}");
}

void RtfWriter::writeListLevel(const QTextListFormat &format, int level) {
    const ListStyleWords style = listStyleWords(format.style());
    m_out.append("{\\listlevel");
    word("levelnfc", style.levelNfc);
    word("levelnfcn", style.levelNfc);
    m_out.append("\\leveljc0\\leveljcn0\\levelfollow0");
    word("levelstartat", isBullet(format.style()) ? 1 : listStart(format));
    m_out.append("\\levelspace0\\levelindent0{\\leveltext");
    if (isBullet(format.style())) {
        m_out.append("\\'01\\u8226\\'b7;}{\\levelnumbers;}");
    } else {
        // The file's own text where it still says what the list shows ("1.2." for "2."), else
        // the prefix, this level's number and the suffix.
        const QString prefix = format.numberPrefix();
        const QString suffix = numberSuffix(format);
        QString text = format.stringProperty(RtfFormatProperty::ListLevelText);
        if (text.isEmpty() || RtfListTables::levelAffix(text, true) != prefix ||
            RtfListTables::levelAffix(text, false) != suffix)
            text = prefix + QChar(static_cast<char16_t>(level)) + suffix;
        text.truncate(255);
        static constexpr char hex[] = "0123456789abcdef";
        const auto byte = [this](qsizetype value) {
            m_out.append("\\'");
            m_out.append(hex[(value >> 4) & 0xF]);
            m_out.append(hex[value & 0xF]);
        };
        byte(text.size());
        QByteArray numbers;
        qsizetype plain = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i].unicode() >= 9)
                continue;
            writeText(QStringView(text).mid(plain, i - plain));
            plain = i + 1;
            if (i < text.size()) {
                byte(text[i].unicode());
                numbers.append("\\'");
                numbers.append(hex[((i + 1) >> 4) & 0xF]);
                numbers.append(hex[(i + 1) & 0xF]);
            }
        }
        m_out.append(";}{\\levelnumbers");
        m_out.append(numbers);
        m_out.append(";}");
    }
    word("fi", -360);
    word("li", 720LL * (level + 1));
    m_out.append("}");
}

void RtfWriter::writeFrame(QTextFrame *frame, int depth) {
    bool first = true;
    bool afterTable = false;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            auto *table = qobject_cast<QTextTable *>(child);
            if (table)
                writeTable(table, depth + 1);
            else
                writeFrame(child, depth);
            first = false;
            afterTable = table != nullptr;
            continue;
        }
        auto next = it;
        ++next;
        const auto *nextTable =
            next.atEnd() ? nullptr : qobject_cast<QTextTable *>(next.currentFrame());
        const bool bare = isBareBlock(it.currentBlock());
        // The empty block a document needs before a table it starts with is no paragraph of
        // the text; a reader makes it again. Nor is the one between two pieces of one table,
        // whose rows go on as one table.
        const bool leadsTable = first && bare && nextTable != nullptr;
        const bool joinsPieces =
            afterTable && bare && nextTable != nullptr &&
            nextTable->format().boolProperty(RtfFormatProperty::TableContinues);
        if (!leadsTable && !joinsPieces)
            writeBlock(it.currentBlock(), depth, false);
        first = false;
        afterTable = false;
    }
}

void RtfWriter::writeRowDefinition(QTextTable *table, int row) {
    const QTextTableFormat format = table->format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    const int columns = table->columns();
    // Fixed widths as given, percentages of the usual text width, the rest shared equally.
    std::vector<int> widths(static_cast<std::size_t>(columns), 0);
    int fixed = 0;
    int variable = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        int width = 0;
        if (length.type() == QTextLength::FixedLength)
            width = twips(length.rawValue());
        else if (length.type() == QTextLength::PercentageLength)
            width = static_cast<int>(defaultTableWidthTwips * length.rawValue() / 100.0);
        if (width > 0) {
            widths[static_cast<std::size_t>(c)] = width;
            fixed += width;
        } else {
            ++variable;
        }
    }
    if (variable > 0) {
        const int share = qMax(360, (defaultTableWidthTwips - fixed) / variable);
        for (int &width : widths) {
            if (width == 0)
                width = share;
        }
    }
    m_out.append("\\trowd\\trgaph108\\trleft0");
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() == row && cell.column() == c) {
            if (cell.rowSpan() > 1)
                m_out.append("\\clvmgf");
            if (cell.columnSpan() > 1)
                m_out.append("\\clmgf");
        } else {
            if (cell.row() != row)
                m_out.append("\\clvmrg");
            if (cell.column() != c)
                m_out.append("\\clmrg");
        }
        const QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
        if (hasBrush(cellFormat, QTextFormat::BackgroundBrush))
            word("clcbpat", colorIndex(cellFormat.background().color()));
        m_out.append("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                     "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
        right += widths[static_cast<std::size_t>(c)];
        word("cellx", right);
    }
    m_out.append('\n');
}

void RtfWriter::writeTable(QTextTable *table, int depth) {
    for (int row = 0; row < table->rows(); ++row) {
        if (depth == 1)
            writeRowDefinition(table, row);
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            const bool origin = cell.row() == row && cell.column() == column;
            const char *cellEnd = depth > 1 ? "\\nestcell " : "\\cell ";
            if (!origin) {
                m_out.append("\\pard\\intbl");
                if (depth > 1)
                    word("itap", depth);
                m_out.append(cellEnd);
                m_out.append('\n');
                continue;
            }
            // The cell's blocks: each ends with \par except the last, which \cell ends.
            std::vector<std::pair<QTextBlock, QTextTable *>> items;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (QTextFrame *frame = it.currentFrame()) {
                    if (auto *nested = qobject_cast<QTextTable *>(frame))
                        items.emplace_back(QTextBlock(), nested);
                } else {
                    items.emplace_back(it.currentBlock(), nullptr);
                }
            }
            // As in a document, an empty first block before a nested table is Qt's own.
            if (items.size() > 1 && items[0].second == nullptr && isBareBlock(items[0].first) &&
                items[1].second != nullptr)
                items.erase(items.begin());
            bool ended = false;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i].second != nullptr) {
                    writeTable(items[i].second, depth + 1);
                    continue;
                }
                const bool last = i + 1 == items.size();
                writeBlock(items[i].first, depth, last);
                if (last) {
                    m_out.append(cellEnd);
                    ended = true;
                }
            }
            if (!ended) {
                m_out.append("\\pard\\intbl");
                if (depth > 1)
                    word("itap", depth);
                m_out.append(cellEnd);
            }
            m_out.append('\n');
        }
        if (depth == 1) {
            m_out.append("\\row\n");
        } else {
            m_out.append("{\\*\\nesttableprops");
            writeRowDefinition(table, row);
            m_out.append("\\nestrow}{\\nonesttables\\par}\n");
        }
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int depth, bool lastInCell) {
    reportProgress(block.position());
    const QTextBlockFormat format = block.blockFormat();
    m_out.append("\\pard");
    if (format.layoutDirection() == Qt::RightToLeft)
        m_out.append("\\rtlpar");
    if (format.hasProperty(RtfFormatProperty::StyleNumber))
        word("s", format.intProperty(RtfFormatProperty::StyleNumber));
    if (depth > 0) {
        m_out.append("\\intbl");
        if (depth > 1)
            word("itap", depth);
    }
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        m_out.append("\\qr");
    else if (alignment & Qt::AlignHCenter)
        m_out.append("\\qc");
    else if (alignment & Qt::AlignJustify)
        m_out.append("\\qj");
    else
        m_out.append("\\ql");
    // A paragraph with a style states every length, zeros too: a reader applies the style's
    // own lengths under what the paragraph leaves out.
    const bool styled = format.hasProperty(RtfFormatProperty::StyleNumber);
    if (const int value = twips(format.textIndent()); value != 0 || styled)
        word("fi", value);
    if (const int value = twips(format.leftMargin()); value != 0 || styled)
        word("li", value);
    if (const int value = twips(format.rightMargin()); value != 0 || styled)
        word("ri", value);
    if (const int value = twips(format.topMargin()); value != 0 || styled)
        word("sb", value);
    if (const int value = twips(format.bottomMargin()); value != 0 || styled)
        word("sa", value);
    if (styled && format.lineHeightType() == QTextBlockFormat::SingleHeight)
        m_out.append("\\sl0\\slmult0");
    if (format.boolProperty(RtfFormatProperty::KeepWithNext))
        m_out.append("\\keepn");
    if (format.boolProperty(RtfFormatProperty::KeepTogether))
        m_out.append("\\keep");
    if (format.hasProperty(RtfFormatProperty::OutlineLevel))
        word("outlinelevel", format.intProperty(RtfFormatProperty::OutlineLevel));
    m_out.append(renumbered(format.property(RtfFormatProperty::ParagraphShading).toByteArray()));
    m_out.append(renumbered(format.property(RtfFormatProperty::ParagraphBorders).toByteArray()));
    if (format.hasProperty(QTextFormat::LineHeightType)) {
        const double height = format.lineHeight();
        switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            word("sl", std::lround(height * 240 / 100));
            word("slmult", 1);
            break;
        case QTextBlockFormat::MinimumHeight:
            word("sl", twips(height));
            word("slmult", 0);
            break;
        case QTextBlockFormat::FixedHeight:
            word("sl", -twips(height));
            word("slmult", 0);
            break;
        default:
            break;
        }
    }
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            m_out.append("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            m_out.append("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            m_out.append("\\tqdec");
        word("tx", twips(tab.position));
    }
    QTextList *list = block.textList();
    if (list != nullptr) {
        m_previousList = listIndex(list);
        word("ls", m_previousList);
        word("ilvl", qBound(0, list->format().indent() - 1, 8));
    } else {
        m_previousList = 0;
    }
    if (depth == 0 && (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        m_out.append("\\page");
    // Runs are groups that start from plain text; the paragraph mark's format (what an empty
    // paragraph shows in) comes after them.
    m_out.append("\\plain ");
    if (list != nullptr)
        writeNumberFallback(block, list);

    bool sectionEnded = false; // the block's last piece is a section break
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat charFormat = fragment.charFormat();
        const QString href = charFormat.isAnchor() ? charFormat.anchorHref() : QString();
        // A kept field's result holds its links, never the other way round.
        const int field = charFormat.intProperty(RtfFormatProperty::FieldSerial);
        if (field != m_openField) {
            if (!m_openLink.isEmpty())
                m_out.append("}}");
            m_openLink.clear();
            closeField();
            if (field != 0) {
                m_out.append("{\\field");
                m_out.append(renumbered(
                    charFormat.property(RtfFormatProperty::FieldInstruction).toByteArray()));
                m_out.append("{\\fldrslt ");
                m_openField = field;
            }
        }
        if (href != m_openLink) {
            if (!m_openLink.isEmpty())
                m_out.append("}}");
            if (!href.isEmpty()) {
                // A link into the document names a bookmark the way word processors write it.
                const bool internal = href.startsWith(QLatin1Char('#'));
                m_out.append(internal ? "{\\field{\\*\\fldinst HYPERLINK \\\\l \""
                                      : "{\\field{\\*\\fldinst HYPERLINK \"");
                QString escaped = internal ? href.mid(1) : href;
                escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
                escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
                writeText(escaped);
                m_out.append("\"}{\\fldrslt ");
            }
            m_openLink = href;
        }
        for (const QString &name : charFormat.anchorNames()) {
            m_out.append("{\\*\\bkmkstart ");
            writeText(name);
            m_out.append("}{\\*\\bkmkend ");
            writeText(name);
            m_out.append('}');
        }
        if (charFormat.hasProperty(RtfFormatProperty::KeptGroup)) {
            // What was kept at this place goes back in it, once for all the runs that show it.
            const int serial = charFormat.intProperty(RtfFormatProperty::KeptSerial);
            const QByteArray kept = charFormat.property(RtfFormatProperty::KeptGroup).toByteArray();
            if (depth == 0 && isSectionBreak(kept)) {
                // A section break ends the paragraph in place of its \par, after the format of
                // the paragraph's mark.
                writeCharFormat(block.charFormat());
                m_out.append(renumbered(kept));
                m_out.append('\n');
                sectionEnded = true;
                m_lastKept = serial;
                continue;
            }
            sectionEnded = false;
            if (serial == 0 || serial != m_lastKept) {
                m_out.append('{');
                m_out.append(runFormat(fragment.charFormatIndex(), charFormat));
                m_out.append(' ');
                m_out.append(renumbered(kept));
                m_out.append('}');
            }
            m_lastKept = serial;
            continue;
        }
        m_lastKept = 0;
        sectionEnded = false;
        if (charFormat.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                writePicture(charFormat);
            continue;
        }
        m_out.append('{');
        m_out.append(runFormat(fragment.charFormatIndex(), charFormat));
        m_out.append(' ');
        writeText(fragment.text());
        m_out.append('}');
    }
    if (!m_openLink.isEmpty()) {
        m_out.append("}}");
        m_openLink.clear();
    }
    // A kept field whose result runs on into the next paragraph (a table of contents) stays one
    // field; its paragraph marks are written inside the result.
    if (sectionEnded || lastInCell || depth != 0 || !continuesOpenField(block))
        closeField();
    if (!sectionEnded) {
        writeCharFormat(block.charFormat());
        if (!lastInCell)
            m_out.append("\\par\n");
    }
}

void RtfWriter::writeNumberFallback(const QTextBlock &block, QTextList *list) {
    // For readers without list tables: the number as text, and the old-style numbering.
    const QTextListFormat format = list->format();
    const ListStyleWords style = listStyleWords(format.style());
    m_out.append("{\\pntext\\f0 ");
    if (isBullet(format.style()))
        m_out.append("\\'b7");
    else
        writeText(itemLabel(block, list));
    m_out.append("\\tab}{\\*\\pn");
    if (isBullet(format.style())) {
        m_out.append("\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'b7}}");
        return;
    }
    m_out.append("\\pnlvlbody\\pnindent0");
    word("pnstart", listStart(format));
    m_out.append("\\");
    m_out.append(style.pnWord);
    if (!format.numberPrefix().isEmpty()) {
        m_out.append("{\\pntxtb ");
        writeText(format.numberPrefix());
        m_out.append('}');
    }
    m_out.append("{\\pntxta ");
    writeText(numberSuffix(format));
    m_out.append("}}");
}

QString RtfWriter::itemLabel(const QTextBlock &block, QTextList *list) const {
    const QTextListFormat format = list->format();
    const int start = listStart(format);
    if (start == 1)
        return list->itemText(block);
    // Qt counts from 1 whatever the list says.
    return format.numberPrefix() + numberText(format.style(), list->itemNumber(block) + start) +
           numberSuffix(format);
}

const QByteArray &RtfWriter::runFormat(int formatIndex, const QTextCharFormat &format) {
    auto it = m_runFormats.find(formatIndex);
    if (it != m_runFormats.end())
        return *it;
    QByteArray saved;
    std::swap(saved, m_out);
    writeCharFormat(format);
    std::swap(saved, m_out);
    return *m_runFormats.insert(formatIndex, saved);
}

void RtfWriter::writeCharFormat(const QTextCharFormat &format) {
    word("f", fontIndex(familyOf(format)));
    word("fs", std::lround(pointSizeOf(format) * 2));
    if (format.fontWeight() >= QFont::DemiBold)
        m_out.append("\\b");
    if (format.fontItalic())
        m_out.append("\\i");
    if (format.fontStrikeOut())
        m_out.append("\\strike");
    if (const int underline = RichTextFormat::underlineType(format); underline != 0)
        word(underlineWord(underline));
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out.append("\\sub");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out.append("\\super");
    if (hasBrush(format, QTextFormat::ForegroundBrush))
        word("cf", colorIndex(format.foreground().color()));
    if (hasBrush(format, QTextFormat::BackgroundBrush))
        word("highlight", colorIndex(format.background().color()));
    if (format.boolProperty(RtfFormatProperty::Protected))
        m_out.append("\\protect");
    if (format.hasProperty(QTextFormat::FontCapitalization)) {
        if (format.fontCapitalization() == QFont::SmallCaps)
            m_out.append("\\scaps");
        else if (format.fontCapitalization() == QFont::AllUppercase)
            m_out.append("\\caps");
    }
    // Direction and the associated format after the shown one: a right-to-left run shows its
    // associated format, and its other format comes last, as it was.
    switch (format.intProperty(RtfFormatProperty::RunDirection)) {
    case 1:
        m_out.append("\\ltrch");
        break;
    case 2:
        m_out.append("\\rtlch");
        break;
    default:
        break;
    }
    m_out.append(renumbered(format.property(RtfFormatProperty::AssociatedWords).toByteArray()));
    m_out.append(renumbered(format.property(RtfFormatProperty::OtherScriptWords).toByteArray()));
}

void RtfWriter::writeText(QStringView text) {
    appendRtfText(m_out, text);
}

void RtfWriter::writePicture(const QTextCharFormat &charFormat) {
    const QTextImageFormat format = charFormat.toImageFormat();
    QByteArray data = format.property(RtfFormatProperty::PictureData).toByteArray();
    auto kind =
        static_cast<PictureKind>(format.intProperty(RtfFormatProperty::PictureKindProperty));
    QImage image;
    const QVariant resource =
        m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (resource.canConvert<QImage>())
        image = resource.value<QImage>();
    if (data.isEmpty() || kind == PictureKind::Unknown || kind == PictureKind::Bitmap) {
        // A picture from elsewhere (pasted, inserted): store it as PNG.
        if (image.isNull())
            return;
        data.clear();
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        kind = PictureKind::Png;
    }
    double width = format.width();
    double height = format.height();
    if (width <= 0 || height <= 0) {
        width = image.isNull() ? 32 : image.width();
        height = image.isNull() ? 32 : image.height();
    }
    m_out.append("{\\pict");
    switch (kind) {
    case PictureKind::Png:
        m_out.append("\\pngblip");
        break;
    case PictureKind::Jpeg:
        m_out.append("\\jpegblip");
        break;
    case PictureKind::Emf:
        m_out.append("\\emfblip");
        break;
    case PictureKind::Wmf:
        m_out.append("\\wmetafile8");
        break;
    case PictureKind::Dib:
        m_out.append("\\dibitmap0");
        break;
    default:
        break;
    }
    if (kind == PictureKind::Wmf || kind == PictureKind::Emf) {
        // Metafile extents are in hundredths of a millimetre.
        word("picw", std::lround(width * 2540.0 / 96.0));
        word("pich", std::lround(height * 2540.0 / 96.0));
    } else {
        word("picw", image.isNull() ? std::lround(width) : image.width());
        word("pich", image.isNull() ? std::lround(height) : image.height());
    }
    word("picwgoal", twips(width));
    word("pichgoal", twips(height));
    m_out.append('\n');
    static constexpr char hex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        m_out.append(hex[byte >> 4]);
        m_out.append(hex[byte & 0xF]);
        if (i % 64 == 63)
            m_out.append('\n');
    }
    m_out.append("}");
}
