#include "richtext/rtfreader.h"

#include "picture/dibdecoder.h"
#include "picture/metafilerenderer.h"
#include "richtext/richtextformat.h"
#include "richtext/rtfformatproperties.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextImageFormat>

namespace {

constexpr int defaultHalfPoints = 24;
constexpr qint64 progressStep = 256 * 1024;
// Pictures Qt cannot draw show as a plain box; bigger boxes are scaled by the image format.
constexpr int maxPlaceholderSide = 256;
constexpr int maxPictureSide = 20000; // document units
constexpr int pictureAllocationLimitMb = 256;
// Cell edges in twips: wide tables reach beyond any page, but sums must not overflow.
constexpr int maxTableEdge = 1000000;

QTextListFormat::Style listStyle(int kind) {
    switch (kind) {
    case 1:
        return QTextListFormat::ListDisc;
    case 3:
        return QTextListFormat::ListLowerAlpha;
    case 4:
        return QTextListFormat::ListUpperAlpha;
    case 5:
        return QTextListFormat::ListLowerRoman;
    case 6:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDecimal;
    }
}

// Picture sizes in twips or pixels can be anything in a broken file.
int clampSide(double value) {
    if (!(value > 0))
        return 0;
    return static_cast<int>(qMin<double>(value, maxPictureSide));
}

QImage placeholderImage(int width, int height) {
    QImage image(qBound(1, width, maxPlaceholderSide), qBound(1, height, maxPlaceholderSide),
                 QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE0, 0xE0));
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, 0xFF909090);
        image.setPixel(x, image.height() - 1, 0xFF909090);
    }
    for (int y = 0; y < image.height(); ++y) {
        image.setPixel(0, y, 0xFF909090);
        image.setPixel(image.width() - 1, y, 0xFF909090);
    }
    return image;
}

QImage decodeImage(const QByteArray &bytes, const char *format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(pictureAllocationLimitMb);
    return reader.read();
}

int hexNibble(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfReader::RtfReader(QByteArrayView data, RtfSink &sink)
    : m_tokenizer(data)
    , m_sink(sink) {}

RtfReader::~RtfReader() = default;

bool RtfReader::looksLikeRtf(QByteArrayView data) {
    RtfTokenizer tokenizer(data);
    return tokenizer.seekHeader();
}

RtfReadResult RtfReader::read() {
    RtfReadResult result;
    if (!m_tokenizer.seekHeader()) {
        result.status = RtfReadResult::Status::NotRtf;
        result.errorText = QStringLiteral("The file is not in Rich Text Format.");
        return result;
    }
    m_stack.reserve(64);
    m_stack.emplace_back();
    // Text outside the outermost group (junk after the final brace) reads like any other text.
    for (;;) {
        const RtfToken token = m_tokenizer.next();
        if (token.type == RtfToken::Type::End)
            break;
        handleToken(token);
        if (m_progress && m_tokenizer.position() >= m_nextProgress) {
            m_progress(m_tokenizer.position(), m_tokenizer.size());
            m_nextProgress = m_tokenizer.position() + progressStep;
        }
    }
    endOfInput();
    if (m_progress)
        m_progress(m_tokenizer.size(), m_tokenizer.size());
    result.dropped = m_dropped;
    return result;
}

void RtfReader::handleToken(const RtfToken &token) {
    switch (token.type) {
    case RtfToken::Type::GroupStart:
        flushBytes();
        m_skipBytes = 0;
        groupStart();
        return;
    case RtfToken::Type::GroupEnd:
        flushBytes();
        m_skipBytes = 0;
        groupEnd();
        return;
    case RtfToken::Type::Text:
        if (m_skipBytes > 0) {
            const qsizetype skipped = qMin<qsizetype>(m_skipBytes, token.text.size());
            m_skipBytes -= static_cast<int>(skipped);
            appendBytes(token.text.sliced(skipped));
        } else {
            appendBytes(token.text);
        }
        state().firstWord = false;
        return;
    case RtfToken::Type::HexByte:
        if (m_skipBytes > 0) {
            --m_skipBytes;
            return;
        }
        {
            const char byte = static_cast<char>(token.symbol);
            appendBytes(QByteArrayView(&byte, 1));
        }
        return;
    case RtfToken::Type::ControlWord:
        if (m_skipBytes > 0) {
            --m_skipBytes;
            // The data of a skipped \bin is still no RTF.
            if (token.text == "bin" && token.hasParameter)
                m_tokenizer.takeBinary(token.parameter);
            return;
        }
        flushBytes();
        controlWord(token);
        return;
    case RtfToken::Type::ControlSymbol:
        if (m_skipBytes > 0) {
            --m_skipBytes;
            return;
        }
        controlSymbol(token.symbol);
        return;
    case RtfToken::Type::End:
        return;
    }
}

void RtfReader::groupStart() {
    if (m_stack.size() >= static_cast<std::size_t>(maxGroupDepth)) {
        ++m_overflowDepth;
        return;
    }
    GroupState next = state();
    next.starred = false;
    next.firstWord = true;
    m_stack.push_back(std::move(next));
}

void RtfReader::groupEnd() {
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    // The outermost group stays: surplus closing braces change nothing.
    if (m_stack.size() <= 1)
        return;
    const std::size_t depth = m_stack.size();
    const Destination ending = state().destination;
    const Destination parent = m_stack[depth - 2].destination;

    if (ending == Destination::Picture && m_picture.depth == depth)
        finishPicture();
    if (ending == Destination::BookmarkName && parent != Destination::BookmarkName) {
        const QString name = m_bookmarkName.trimmed();
        if (!name.isEmpty() && m_pendingAnchors.size() < 16)
            m_pendingAnchors.append(name);
    }
    if (ending == Destination::FontTable && parent != Destination::FontTable && m_fontOpen) {
        // A last font entry without its semicolon.
        m_fonts.insert(m_currentFontNumber, Font{m_currentFontName.trimmed(), m_currentFont.charset,
                                                 m_currentFont.codePage});
        m_fontOpen = false;
    }
    if (m_numberingDepth == depth) {
        m_stack.pop_back();
        state().para.numbering = m_pendingNumbering;
        m_numberingDepth = 0;
    } else {
        m_stack.pop_back();
    }
    while (!m_fields.empty() && m_fields.back().depth >= m_stack.size() + 1) {
        const Field field = m_fields.back();
        m_fields.pop_back();
        finishField(field);
    }
}

void RtfReader::controlSymbol(unsigned char symbol) {
    const Destination destination = state().destination;
    switch (symbol) {
    case '*':
        state().starred = true;
        return;
    case '{':
    case '}':
    case '\\': {
        const char byte = static_cast<char>(symbol);
        appendBytes(QByteArrayView(&byte, 1));
        state().firstWord = false;
        return;
    }
    default:
        break;
    }
    if (destination != Destination::Text && destination != Destination::FieldInstruction)
        return;
    switch (symbol) {
    case '~':
        appendUnicode(0x00A0);
        break;
    case '-':
        appendUnicode(0x00AD);
        break;
    case '_':
        appendUnicode(0x2011);
        break;
    case '\t':
        appendUnicode('\t');
        break;
    case '\n':
        flushBytes();
        if (destination == Destination::Text)
            endParagraph();
        break;
    default:
        // "\:" (index sub-entry), "\|" (formula) and broken escapes stand for nothing here.
        break;
    }
}

void RtfReader::controlWord(const RtfToken &token) {
    const RtfWordInfo info = lookupRtfWord(token.text);
    GroupState &group = state();
    const bool starred = group.starred;
    const bool first = group.firstWord;
    group.starred = false;
    group.firstWord = false;

    if (info.word == RtfWord::Bin) {
        const QByteArrayView data =
            token.hasParameter ? m_tokenizer.takeBinary(token.parameter) : QByteArrayView();
        if (group.destination == Destination::Picture && m_picture.depth == m_stack.size())
            m_picture.data.append(data);
        return;
    }
    if (group.destination == Destination::Skip)
        return;
    // "{\*\word" with a word this reader does not read: the whole group is optional.
    if (starred && info.group == RtfWordGroup::None) {
        if (first || info.word == RtfWord::Unknown) {
            group.destination = Destination::Skip;
            return;
        }
    }
    if (info.group != RtfWordGroup::None) {
        destinationWord(info);
        return;
    }
    if (info.word == RtfWord::Unknown)
        return;

    const bool hasParameter = token.hasParameter;
    const int parameter = token.parameter;
    if ((info.word == RtfWord::U || info.word == RtfWord::Uc) &&
        group.destination != Destination::Picture && group.destination != Destination::Ignore) {
        bodyWord(info.word, hasParameter, parameter);
        return;
    }
    switch (group.destination) {
    case Destination::Text:
    case Destination::FieldInstruction:
        bodyWord(info.word, hasParameter, parameter);
        return;
    case Destination::FontTable:
        fontTableWord(info.word, parameter);
        return;
    case Destination::ColorTable:
        colorTableWord(info.word, parameter);
        return;
    case Destination::ListTable:
    case Destination::LevelText:
        listTableWord(info.word, parameter);
        return;
    case Destination::ListOverrideTable:
        listOverrideWord(info.word, parameter);
        return;
    case Destination::Numbering:
    case Destination::NumberingBefore:
    case Destination::NumberingAfter:
        numberingWord(info.word, parameter);
        return;
    case Destination::Picture:
        pictureWord(info.word, parameter);
        return;
    case Destination::Ignore:
    case Destination::Skip:
    case Destination::BookmarkName:
        return;
    }
}

void RtfReader::destinationWord(RtfWordInfo info) {
    GroupState &group = state();
    const Destination parent = group.destination;
    const bool inBody = parent == Destination::Text;

    if (info.group == RtfWordGroup::Skipped) {
        switch (info.word) {
        case RtfWord::Header:
        case RtfWord::Headerl:
        case RtfWord::Headerr:
        case RtfWord::Headerf:
        case RtfWord::Footer:
        case RtfWord::Footerl:
        case RtfWord::Footerr:
        case RtfWord::Footerf:
            ++m_dropped.headersFooters;
            break;
        case RtfWord::Footnote:
            ++m_dropped.footnotes;
            break;
        case RtfWord::Annotation:
            ++m_dropped.annotations;
            break;
        default:
            break;
        }
        group.destination = Destination::Skip;
        return;
    }

    switch (info.word) {
    case RtfWord::Fonttbl:
        group.destination = Destination::FontTable;
        m_fontOpen = false;
        return;
    case RtfWord::Colortbl:
        group.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorSet = false;
        m_red = m_green = m_blue = 0;
        return;
    case RtfWord::Listtable:
        group.destination = Destination::ListTable;
        return;
    case RtfWord::List:
        if (parent == Destination::ListTable) {
            m_currentList = ListDefinition();
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Listlevel:
        if (parent == Destination::ListTable) {
            if (m_currentList.levels.size() <= static_cast<std::size_t>(maxListLevel))
                m_currentList.levels.emplace_back();
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Leveltext:
        group.destination =
            parent == Destination::ListTable ? Destination::LevelText : Destination::Skip;
        return;
    case RtfWord::Levelnumbers:
        group.destination = Destination::Skip;
        return;
    case RtfWord::Listoverridetable:
        group.destination = Destination::ListOverrideTable;
        return;
    case RtfWord::Listoverride:
        if (parent == Destination::ListOverrideTable)
            m_currentOverrideList = 0;
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Pn:
        if (inBody) {
            group.destination = Destination::Numbering;
            m_pendingNumbering = Numbering();
            m_pendingNumbering.kind = ListKind::Decimal;
            m_numberingDepth = m_stack.size();
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Pntxta:
        group.destination =
            parent == Destination::Numbering ? Destination::NumberingAfter : Destination::Skip;
        return;
    case RtfWord::Pntxtb:
        group.destination =
            parent == Destination::Numbering ? Destination::NumberingBefore : Destination::Skip;
        return;
    case RtfWord::Pict:
    case RtfWord::Macpict:
    case RtfWord::Pmmetafile:
        if (inBody && m_picture.depth == 0) {
            group.destination = Destination::Picture;
            m_picture = Picture();
            m_picture.depth = m_stack.size();
            if (info.word != RtfWord::Pict)
                m_picture.kind = static_cast<int>(PictureKind::Unknown);
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Field:
        if (inBody || parent == Destination::FieldInstruction) {
            Field field;
            field.depth = m_stack.size();
            field.inInstruction = parent == Destination::FieldInstruction;
            m_fields.push_back(field);
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Fldinst:
        if (!m_fields.empty() && (inBody || parent == Destination::FieldInstruction))
            group.destination = Destination::FieldInstruction;
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Fldrslt:
        if (!m_fields.empty() && (inBody || parent == Destination::FieldInstruction))
            startFieldResult();
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Object:
    case RtfWord::Shp:
        if (inBody) {
            ++m_dropped.objects;
            group.destination = Destination::Ignore;
        } else {
            group.destination = Destination::Skip;
        }
        return;
    case RtfWord::Result:
    case RtfWord::Shprslt:
        // The picture or text an object or shape shows in place of itself.
        group.destination = parent == Destination::Ignore ? Destination::Text : Destination::Skip;
        return;
    case RtfWord::Shppict:
        group.destination = inBody ? Destination::Text : Destination::Skip;
        return;
    case RtfWord::Bkmkstart:
        group.destination = inBody ? Destination::BookmarkName : Destination::Skip;
        m_bookmarkName.clear();
        return;
    case RtfWord::Nesttableprops:
    case RtfWord::Upr:
    case RtfWord::Ud:
        // Transparent: the row properties of nested tables, and the Unicode half of \upr (read
        // after its ANSI half, so the Unicode names win).
        return;
    default:
        group.destination = Destination::Skip;
        return;
    }
}

bool RtfReader::bodyWord(RtfWord word, bool hasParameter, int parameter) {
    GroupState &group = state();
    switch (word) {
    case RtfWord::U: {
        // \uN: a signed 16-bit value for the BMP; larger values are taken as code points.
        long long value = parameter;
        if (value < 0)
            value += 65536;
        if (value >= 0 && value <= 0x10FFFF)
            appendUnicode(static_cast<char32_t>(value));
        m_skipBytes = group.unicodeSkip;
        return true;
    }
    case RtfWord::Uc:
        group.unicodeSkip = qBound(0, parameter, 16);
        return true;
    case RtfWord::Ansi:
        m_documentCodePage = RtfCodePage::Windows1252;
        return true;
    case RtfWord::Mac:
        m_documentCodePage = 10000;
        return true;
    case RtfWord::Pc:
        m_documentCodePage = 437;
        return true;
    case RtfWord::Pca:
        m_documentCodePage = 850;
        return true;
    case RtfWord::Ansicpg:
        if (RtfCodePage::isSupported(parameter))
            m_documentCodePage = parameter;
        return true;
    case RtfWord::Deff:
        m_defaultFont = parameter;
        return true;
    default:
        break;
    }
    if (group.destination == Destination::FieldInstruction) {
        // Only text matters in an instruction.
        return false;
    }
    if (characterWord(word, hasParameter, parameter))
        return true;
    if (paragraphWord(word, hasParameter, parameter))
        return true;
    if (tableWord(word, parameter))
        return true;
    switch (word) {
    case RtfWord::Par:
    case RtfWord::Sect:
    case RtfWord::Column:
        endParagraph();
        return true;
    case RtfWord::Page:
        pageBreak();
        return true;
    case RtfWord::Line:
    case RtfWord::Lbr:
        appendUnicode(QChar::LineSeparator);
        return true;
    case RtfWord::Tab:
        appendUnicode('\t');
        return true;
    case RtfWord::Lquote:
        appendUnicode(0x2018);
        return true;
    case RtfWord::Rquote:
        appendUnicode(0x2019);
        return true;
    case RtfWord::Ldblquote:
        appendUnicode(0x201C);
        return true;
    case RtfWord::Rdblquote:
        appendUnicode(0x201D);
        return true;
    case RtfWord::Bullet:
        appendUnicode(0x2022);
        return true;
    case RtfWord::Endash:
        appendUnicode(0x2013);
        return true;
    case RtfWord::Emdash:
        appendUnicode(0x2014);
        return true;
    case RtfWord::Enspace:
        appendUnicode(0x2002);
        return true;
    case RtfWord::Emspace:
        appendUnicode(0x2003);
        return true;
    case RtfWord::Qmspace:
        appendUnicode(0x2005);
        return true;
    case RtfWord::Zwj:
        appendUnicode(0x200D);
        return true;
    case RtfWord::Zwnj:
        appendUnicode(0x200C);
        return true;
    case RtfWord::Zwbo:
        appendUnicode(0x200B);
        return true;
    case RtfWord::Zwnbo:
        appendUnicode(0xFEFF);
        return true;
    case RtfWord::Ltrmark:
        appendUnicode(0x200E);
        return true;
    case RtfWord::Rtlmark:
        appendUnicode(0x200F);
        return true;
    default:
        return false;
    }
}

bool RtfReader::characterWord(RtfWord word, bool hasParameter, int parameter) {
    CharState &chars = state().chars;
    // Toggles: a bare word or any non-zero parameter turns on, 0 turns off.
    const bool on = !hasParameter || parameter != 0;
    switch (word) {
    case RtfWord::Plain: {
        const int link = chars.link;
        chars = CharState();
        chars.link = link; // a link is the field's, not a format
        return true;
    }
    case RtfWord::F:
        chars.font = parameter;
        return true;
    case RtfWord::Fs:
        chars.halfPoints = hasParameter ? qBound(2, parameter, 3276) : defaultHalfPoints;
        return true;
    case RtfWord::B:
        chars.bold = on;
        return true;
    case RtfWord::I:
        chars.italic = on;
        return true;
    case RtfWord::Strike:
    case RtfWord::Striked:
        chars.strike = on;
        return true;
    case RtfWord::V:
        chars.hidden = on;
        return true;
    case RtfWord::Protect:
        chars.protect = on;
        return true;
    case RtfWord::Caps:
        chars.caps = on;
        return true;
    case RtfWord::Scaps:
        chars.smallCaps = on;
        return true;
    case RtfWord::Ul:
    case RtfWord::Ulth:
        chars.underline = on ? static_cast<std::uint8_t>(UnderlineType::Solid) : 0;
        return true;
    case RtfWord::Ulw:
        chars.underline = on ? static_cast<std::uint8_t>(UnderlineType::Word) : 0;
        return true;
    case RtfWord::Uldb:
        chars.underline = on ? static_cast<std::uint8_t>(UnderlineType::Double) : 0;
        return true;
    case RtfWord::Uld:
    case RtfWord::Uldash:
    case RtfWord::Uldashd:
    case RtfWord::Uldashdd:
    case RtfWord::Ulldash:
    case RtfWord::Ulthd:
    case RtfWord::Ulthdash:
    case RtfWord::Ulthdashd:
    case RtfWord::Ulthdashdd:
    case RtfWord::Ulthldash:
        chars.underline = on ? static_cast<std::uint8_t>(UnderlineType::Dotted) : 0;
        return true;
    case RtfWord::Ulwave:
    case RtfWord::Ulhwave:
    case RtfWord::Ululdbwave:
    case RtfWord::Uldbwave:
        chars.underline = on ? static_cast<std::uint8_t>(UnderlineType::Wave) : 0;
        return true;
    case RtfWord::Ulnone:
        chars.underline = 0;
        return true;
    case RtfWord::Super:
        chars.script = on ? 2 : 0;
        return true;
    case RtfWord::Sub:
        chars.script = on ? 1 : 0;
        return true;
    case RtfWord::Nosupersub:
        chars.script = 0;
        return true;
    case RtfWord::Up:
        chars.script = (!hasParameter || parameter > 0) ? 2 : 0;
        return true;
    case RtfWord::Dn:
        chars.script = (!hasParameter || parameter > 0) ? 1 : 0;
        return true;
    case RtfWord::Cf:
        chars.foreground = qMax(0, parameter);
        return true;
    case RtfWord::Cb:
    case RtfWord::Chcbpat:
    case RtfWord::Highlight:
        chars.background = qMax(0, parameter);
        return true;
    default:
        return false;
    }
}

bool RtfReader::paragraphWord(RtfWord word, bool hasParameter, int parameter) {
    ParaState &para = state().para;
    // Lengths in twips; a broken file may give anything, so keep them to +-22 inches.
    const int length = qBound(-31680, parameter, 31680);
    switch (word) {
    case RtfWord::Pard:
        para = ParaState();
        return true;
    case RtfWord::Ql:
        para.alignment = 0;
        return true;
    case RtfWord::Qr:
        para.alignment = 1;
        return true;
    case RtfWord::Qc:
        para.alignment = 2;
        return true;
    case RtfWord::Qj:
    case RtfWord::Qd:
        para.alignment = 3;
        return true;
    case RtfWord::Fi:
        para.firstIndent = length;
        return true;
    case RtfWord::Li:
        para.leftIndent = length;
        return true;
    case RtfWord::Ri:
        para.rightIndent = length;
        return true;
    case RtfWord::Sb:
        para.spaceBefore = qMax(0, length);
        return true;
    case RtfWord::Sa:
        para.spaceAfter = qMax(0, length);
        return true;
    case RtfWord::Sl:
        para.lineSpacing = length;
        return true;
    case RtfWord::Slmult:
        para.lineMultiple = !hasParameter || parameter != 0;
        return true;
    case RtfWord::Pagebb:
        para.pageBreakBefore = !hasParameter || parameter != 0;
        return true;
    case RtfWord::Tqr:
        para.pendingTabType = QTextOption::RightTab;
        return true;
    case RtfWord::Tqc:
        para.pendingTabType = QTextOption::CenterTab;
        return true;
    case RtfWord::Tqdec:
        para.pendingTabType = QTextOption::DelimiterTab;
        return true;
    case RtfWord::Tx:
    case RtfWord::Tb:
        if (length > 0 && para.tabs.size() < 64) {
            QTextOption::Tab tab;
            tab.position = DocumentUnits::fromTwips(length);
            tab.type = static_cast<QTextOption::TabType>(para.pendingTabType);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            para.tabs.append(tab);
        }
        para.pendingTabType = 0;
        return true;
    case RtfWord::Intbl:
        para.inTable = !hasParameter || parameter != 0;
        return true;
    case RtfWord::Itap:
        para.nesting = qBound(0, parameter, maxTableDepth);
        if (para.nesting > 0)
            para.inTable = true;
        return true;
    case RtfWord::Ls:
        para.listOverride = parameter;
        return true;
    case RtfWord::Ilvl:
        para.listLevel = qBound(0, parameter, maxListLevel);
        return true;
    default:
        return false;
    }
}

bool RtfReader::tableWord(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::Cell:
        endCell(1);
        return true;
    case RtfWord::Nestcell:
        endCell(qMax(2, paragraphDepth()));
        return true;
    case RtfWord::Row:
        endRow(1);
        return true;
    case RtfWord::Nestrow:
        endRow(qMax(2, paragraphDepth()));
        return true;
    default:
        break;
    }
    TableLevel &table = tableLevel(qMax(1, paragraphDepth()));
    switch (word) {
    case RtfWord::Trowd:
        table.definitions.clear();
        table.pendingDefinition = CellDefinition();
        table.leftEdge = 0;
        return true;
    case RtfWord::Trleft:
        table.leftEdge = qBound(-maxTableEdge, parameter, maxTableEdge);
        return true;
    case RtfWord::Cellx:
        if (table.definitions.size() < static_cast<std::size_t>(maxColumns)) {
            table.pendingDefinition.rightEdge = qBound(-maxTableEdge, parameter, maxTableEdge);
            table.definitions.push_back(table.pendingDefinition);
        }
        table.pendingDefinition = CellDefinition();
        return true;
    case RtfWord::Clmgf:
        return true;
    case RtfWord::Clmrg:
        table.pendingDefinition.mergeWithPrevious = true;
        return true;
    case RtfWord::Clvmgf:
        return true;
    case RtfWord::Clvmrg:
        table.pendingDefinition.mergeWithAbove = true;
        return true;
    case RtfWord::Clcbpat:
        table.pendingDefinition.background = qMax(0, parameter);
        return true;
    default:
        return false;
    }
}

void RtfReader::fontTableWord(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::F:
        if (m_fontOpen)
            m_fonts.insert(
                m_currentFontNumber,
                Font{m_currentFontName.trimmed(), m_currentFont.charset, m_currentFont.codePage});
        m_currentFontNumber = parameter;
        m_currentFont = Font();
        m_currentFontName.clear();
        m_fontOpen = true;
        return;
    case RtfWord::Fcharset:
        m_currentFont.charset = parameter;
        return;
    case RtfWord::Cpg:
        if (RtfCodePage::isSupported(parameter))
            m_currentFont.codePage = parameter;
        return;
    default:
        return;
    }
}

void RtfReader::fontTableText(const QString &text) {
    for (QChar c : text) {
        if (c == QLatin1Char(';')) {
            if (m_fontOpen) {
                m_fonts.insert(m_currentFontNumber,
                               Font{m_currentFontName.trimmed(), m_currentFont.charset,
                                    m_currentFont.codePage});
                m_fontOpen = false;
            }
            m_currentFontName.clear();
        } else if (m_fontOpen && m_currentFontName.size() < 256 && c.unicode() >= 0x20) {
            m_currentFontName.append(c);
        }
    }
}

void RtfReader::colorTableWord(RtfWord word, int parameter) {
    const int component = qBound(0, parameter, 255);
    switch (word) {
    case RtfWord::Red:
        m_red = component;
        m_colorSet = true;
        return;
    case RtfWord::Green:
        m_green = component;
        m_colorSet = true;
        return;
    case RtfWord::Blue:
        m_blue = component;
        m_colorSet = true;
        return;
    default:
        return;
    }
}

void RtfReader::colorTableText(const QString &text) {
    for (QChar c : text) {
        if (c != QLatin1Char(';'))
            continue;
        // An entry with no components is "automatic" (the window's text colour).
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
    }
}

void RtfReader::listTableWord(RtfWord word, int parameter) {
    ListLevel *level = m_currentList.levels.empty() ? nullptr : &m_currentList.levels.back();
    switch (word) {
    case RtfWord::Levelnfc:
    case RtfWord::Levelnfcn:
        if (level == nullptr)
            return;
        switch (parameter) {
        case 1:
            level->kind = ListKind::UpperRoman;
            break;
        case 2:
            level->kind = ListKind::LowerRoman;
            break;
        case 3:
            level->kind = ListKind::UpperAlpha;
            break;
        case 4:
            level->kind = ListKind::LowerAlpha;
            break;
        case 23:
            level->kind = ListKind::Bullet;
            break;
        case 255:
            level->kind = ListKind::None;
            break;
        default:
            level->kind = ListKind::Decimal;
            break;
        }
        return;
    case RtfWord::Listid:
        if (state().destination == Destination::ListTable)
            m_lists.insert(parameter, m_currentList);
        return;
    default:
        return;
    }
}

void RtfReader::listOverrideWord(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::Listid:
        m_currentOverrideList = parameter;
        return;
    case RtfWord::Ls:
        m_listOverrides.insert(parameter, m_currentOverrideList);
        return;
    default:
        return;
    }
}

void RtfReader::numberingWord(RtfWord word, int parameter) {
    Numbering &numbering = m_pendingNumbering;
    switch (word) {
    case RtfWord::Pnlvlblt:
        numbering.kind = ListKind::Bullet;
        numbering.level = 0;
        return;
    case RtfWord::Pnlvlbody:
        numbering.level = 0;
        return;
    case RtfWord::Pnlvlcont:
        numbering.continuation = true;
        return;
    case RtfWord::Pnlvl:
        numbering.level = qBound(0, parameter - 1, maxListLevel);
        return;
    case RtfWord::Pndec:
    case RtfWord::Pnord:
    case RtfWord::Pnordt:
    case RtfWord::Pncard:
        numbering.kind = ListKind::Decimal;
        return;
    case RtfWord::Pnlcltr:
        numbering.kind = ListKind::LowerAlpha;
        return;
    case RtfWord::Pnucltr:
        numbering.kind = ListKind::UpperAlpha;
        return;
    case RtfWord::Pnlcrm:
        numbering.kind = ListKind::LowerRoman;
        return;
    case RtfWord::Pnucrm:
        numbering.kind = ListKind::UpperRoman;
        return;
    default:
        return;
    }
}

void RtfReader::pictureWord(RtfWord word, int parameter) {
    Picture &picture = m_picture;
    switch (word) {
    case RtfWord::Pngblip:
        picture.kind = static_cast<int>(PictureKind::Png);
        return;
    case RtfWord::Jpegblip:
        picture.kind = static_cast<int>(PictureKind::Jpeg);
        return;
    case RtfWord::Emfblip:
        picture.kind = static_cast<int>(PictureKind::Emf);
        return;
    case RtfWord::Wmetafile:
        picture.kind = static_cast<int>(PictureKind::Wmf);
        return;
    case RtfWord::Dibitmap:
        picture.kind = static_cast<int>(PictureKind::Dib);
        return;
    case RtfWord::Wbitmap:
        picture.kind = static_cast<int>(PictureKind::Bitmap);
        return;
    case RtfWord::Picw:
        picture.width = parameter;
        return;
    case RtfWord::Pich:
        picture.height = parameter;
        return;
    case RtfWord::Picwgoal:
        picture.goalWidth = parameter;
        return;
    case RtfWord::Pichgoal:
        picture.goalHeight = parameter;
        return;
    case RtfWord::Picscalex:
        picture.scaleX = qBound(1, parameter, 10000);
        return;
    case RtfWord::Picscaley:
        picture.scaleY = qBound(1, parameter, 10000);
        return;
    default:
        return;
    }
}

void RtfReader::pictureText(QByteArrayView text) {
    Picture &picture = m_picture;
    for (char c : text) {
        const int nibble = hexNibble(c);
        if (nibble < 0)
            continue;
        if (picture.pendingNibble < 0) {
            picture.pendingNibble = nibble;
        } else {
            picture.data.append(static_cast<char>(picture.pendingNibble * 16 + nibble));
            picture.pendingNibble = -1;
        }
    }
}

void RtfReader::finishPicture() {
    Picture picture = std::move(m_picture);
    m_picture = Picture();
    if (picture.data.isEmpty())
        return;
    const auto kind = static_cast<PictureKind>(picture.kind);
    QImage image;
    switch (kind) {
    case PictureKind::Png:
        image = decodeImage(picture.data, "PNG");
        break;
    case PictureKind::Jpeg:
        image = decodeImage(picture.data, "JPEG");
        break;
    case PictureKind::Dib:
        image = DibDecoder::decode(picture.data, pictureAllocationLimitMb);
        break;
    default:
        break;
    }
    // The size shown: the goal size in twips, scaled; else the picture's own size.
    double width = 0;
    double height = 0;
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        width = DocumentUnits::fromTwips(picture.goalWidth) * picture.scaleX / 100.0;
        height = DocumentUnits::fromTwips(picture.goalHeight) * picture.scaleY / 100.0;
    } else if (!image.isNull()) {
        width = image.width() * picture.scaleX / 100.0;
        height = image.height() * picture.scaleY / 100.0;
    } else if (picture.width > 0 && picture.height > 0) {
        // Metafile extents are in hundredths of a millimetre.
        width = picture.width * 96.0 / 2540.0 * picture.scaleX / 100.0;
        height = picture.height * 96.0 / 2540.0 * picture.scaleY / 100.0;
    }
    const int shownWidth = clampSide(width);
    const int shownHeight = clampSide(height);
    // Metafiles are drawn at the size they are shown at (their own without one). Writers mix
    // up \emfblip and \wmetafile, so the bytes decide which kind is drawn.
    if (kind == PictureKind::Emf || kind == PictureKind::Wmf)
        image = MetafileRenderer::render(picture.data, QSize(shownWidth, shownHeight));
    if (image.isNull())
        image =
            placeholderImage(shownWidth > 0 ? shownWidth : 32, shownHeight > 0 ? shownHeight : 32);

    QTextImageFormat format;
    format.merge(currentCharFormat());
    if (shownWidth > 0 && shownHeight > 0) {
        format.setWidth(shownWidth);
        format.setHeight(shownHeight);
    }
    format.setProperty(RtfFormatProperty::PictureData, picture.data);
    format.setProperty(RtfFormatProperty::PictureKindProperty, picture.kind);
    RtfInline piece;
    piece.format = format;
    piece.image = std::move(image);
    m_paragraph.inlines.push_back(std::move(piece));
}

void RtfReader::startFieldResult() {
    Field &field = m_fields.back();
    field.hasResult = true;
    if (field.inInstruction) {
        state().destination = Destination::FieldInstruction;
        return;
    }
    state().destination = Destination::Text;
    const QString target = hyperlinkTarget(field.instruction);
    if (!target.isEmpty()) {
        m_links.push_back(target);
        state().chars.link = static_cast<int>(m_links.size() - 1);
    }
}

void RtfReader::finishField(const Field &field) {
    if (!field.hasResult || field.inInstruction)
        return;
    if (hyperlinkTarget(field.instruction).isEmpty())
        ++m_dropped.fields;
}

QString RtfReader::hyperlinkTarget(const QString &instruction) {
    const QString trimmed = instruction.trimmed();
    if (!trimmed.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    // Arguments: quoted or bare words; switches \l (a bookmark follows), \o, \t (an argument
    // follows), \m, \n, \h (none).
    QStringList arguments;
    qsizetype i = 9;
    while (i < trimmed.size()) {
        while (i < trimmed.size() && trimmed[i].isSpace())
            ++i;
        if (i >= trimmed.size())
            break;
        QString argument;
        if (trimmed[i] == QLatin1Char('"')) {
            ++i;
            while (i < trimmed.size() && trimmed[i] != QLatin1Char('"')) {
                if (trimmed[i] == QLatin1Char('\\') && i + 1 < trimmed.size() &&
                    (trimmed[i + 1] == QLatin1Char('"') || trimmed[i + 1] == QLatin1Char('\\')))
                    ++i;
                argument.append(trimmed[i]);
                ++i;
            }
            ++i;
            arguments.append(argument);
        } else {
            while (i < trimmed.size() && !trimmed[i].isSpace())
                argument.append(trimmed[i++]);
            arguments.append(argument);
        }
    }
    QString url;
    QString bookmark;
    for (qsizetype a = 0; a < arguments.size(); ++a) {
        const QString &argument = arguments[a];
        if (argument.size() == 2 && argument[0] == QLatin1Char('\\')) {
            const QChar kind = argument[1].toLower();
            if (kind == QLatin1Char('l') && a + 1 < arguments.size())
                bookmark = arguments[++a];
            else if ((kind == QLatin1Char('o') || kind == QLatin1Char('t')) &&
                     a + 1 < arguments.size())
                ++a;
            continue;
        }
        if (url.isEmpty())
            url = argument;
    }
    if (!bookmark.isEmpty())
        url += QLatin1Char('#') + bookmark;
    return url;
}

void RtfReader::appendBytes(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    switch (state().destination) {
    case Destination::Skip:
    case Destination::Ignore:
        return;
    case Destination::Picture:
        if (m_picture.depth == m_stack.size())
            pictureText(bytes);
        return;
    default:
        m_pendingBytes.append(bytes);
        return;
    }
}

void RtfReader::appendUnicode(char32_t code) {
    flushBytes();
    QString text;
    if (code < 0x10000) {
        char16_t unit = static_cast<char16_t>(code);
        // Symbol font characters written as private-use code points.
        if (unit >= 0xF020 && unit <= 0xF0FF && currentCodePage() == RtfCodePage::Symbol) {
            if (const char16_t mapped = RtfCodePage::symbolChar(static_cast<unsigned char>(unit)))
                unit = mapped;
        }
        text.append(QChar(unit));
    } else {
        text.append(QChar::highSurrogate(code));
        text.append(QChar::lowSurrogate(code));
    }
    deliverText(text);
}

void RtfReader::flushBytes() {
    if (m_pendingBytes.isEmpty())
        return;
    QString text;
    m_codec.decode(currentCodePage(), m_pendingBytes, text);
    m_pendingBytes.clear();
    deliverText(text);
}

void RtfReader::deliverText(const QString &text) {
    switch (state().destination) {
    case Destination::Text:
        bodyText(text);
        return;
    case Destination::FontTable:
        fontTableText(text);
        return;
    case Destination::ColorTable:
        colorTableText(text);
        return;
    case Destination::LevelText:
        if (!m_currentList.levels.empty() && m_currentList.levels.back().text.size() < 64)
            m_currentList.levels.back().text.append(text);
        return;
    case Destination::NumberingBefore:
        if (m_pendingNumbering.prefix.size() < 32)
            m_pendingNumbering.prefix.append(text);
        return;
    case Destination::NumberingAfter:
        if (m_pendingNumbering.suffix.size() < 32)
            m_pendingNumbering.suffix.append(text);
        return;
    case Destination::FieldInstruction:
        if (!m_fields.empty() && m_fields.back().instruction.size() < 4096)
            m_fields.back().instruction.append(text);
        return;
    case Destination::BookmarkName:
        if (m_bookmarkName.size() < 256)
            m_bookmarkName.append(text);
        return;
    default:
        return;
    }
}

void RtfReader::bodyText(const QString &text) {
    const CharState &chars = state().chars;
    if (chars.hidden) {
        if (!m_lastTextHidden)
            ++m_dropped.hiddenText;
        m_lastTextHidden = true;
        return;
    }
    m_lastTextHidden = false;
    QString clean;
    const QString *use = &text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c < 0x20 && c != '\t') || c == 0x2029 || c == QChar::ObjectReplacementCharacter) {
            // Control characters have no place in text; a paragraph separator inside a run
            // would split the block behind the reader's back.
            if (use == &text) {
                clean = text.left(i);
                use = &clean;
            }
            if (c == 0x2029)
                clean.append(QChar::LineSeparator);
            continue;
        }
        if (use != &text)
            clean.append(QChar(c));
    }
    if (use->isEmpty())
        return;
    if (!m_pendingAnchors.isEmpty()) {
        // A bookmark names the character it starts at, so that links to it find it.
        RtfInline named;
        named.text = use->left(1);
        named.format = currentCharFormat();
        named.format.setAnchor(true);
        named.format.setAnchorNames(m_pendingAnchors);
        m_pendingAnchors.clear();
        m_paragraph.inlines.push_back(std::move(named));
        if (use->size() == 1)
            return;
        clean = use->mid(1);
        use = &clean;
    }
    const QTextCharFormat &format = currentCharFormat();
    if (!m_paragraph.inlines.empty() && m_paragraph.inlines.back().formatSerial == m_formatSerial) {
        m_paragraph.inlines.back().text.append(*use);
        return;
    }
    RtfInline piece;
    piece.text = *use;
    piece.format = format;
    piece.formatSerial = m_formatSerial;
    m_paragraph.inlines.push_back(std::move(piece));
}

int RtfReader::fontCodePage(int fontNumber) const {
    const auto it = m_fonts.constFind(fontNumber);
    if (it == m_fonts.constEnd())
        return m_documentCodePage;
    if (it->codePage != 0)
        return it->codePage;
    if (it->charset == 2 && it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0)
        return RtfCodePage::Windows1252; // other symbol fonts have no Unicode reading
    if (it->charset < 0)
        return m_documentCodePage;
    return RtfCodePage::forCharset(it->charset, m_documentCodePage);
}

int RtfReader::currentCodePage() const {
    const GroupState &group = state();
    if (group.destination == Destination::FontTable) {
        if (m_currentFont.codePage != 0)
            return m_currentFont.codePage;
        const int codePage =
            m_currentFont.charset < 0
                ? m_documentCodePage
                : RtfCodePage::forCharset(m_currentFont.charset, m_documentCodePage);
        // A symbol font's name is spelled in ordinary letters.
        return codePage == RtfCodePage::Symbol ? RtfCodePage::Windows1252 : codePage;
    }
    const int font = group.chars.font >= 0 ? group.chars.font : m_defaultFont;
    return fontCodePage(font);
}

QTextCharFormat RtfReader::currentCharFormat() {
    const CharState &chars = state().chars;
    if (m_formatSerial >= 0 && chars == m_formatState)
        return m_format;
    m_formatState = chars;
    ++m_formatSerial;
    QTextCharFormat format;
    const int fontNumber = chars.font >= 0 ? chars.font : m_defaultFont;
    const auto font = m_fonts.constFind(fontNumber);
    if (font != m_fonts.constEnd() && !font->name.isEmpty())
        format.setFontFamilies({font->name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.underline != 0)
        RichTextFormat::setUnderlineType(format, chars.underline);
    if (chars.script == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (chars.script == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    const auto color = [this](int index) {
        return index > 0 && index < static_cast<int>(m_colors.size())
                   ? m_colors[static_cast<std::size_t>(index)]
                   : QColor();
    };
    if (const QColor foreground = color(chars.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = color(chars.background); background.isValid())
        format.setBackground(background);
    if (chars.protect)
        format.setProperty(RtfFormatProperty::Protected, true);
    if (chars.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (chars.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    if (chars.link > 0 && chars.link < static_cast<int>(m_links.size())) {
        format.setAnchor(true);
        format.setAnchorHref(m_links[static_cast<std::size_t>(chars.link)]);
    }
    m_format = format;
    return m_format;
}

QTextBlockFormat RtfReader::blockFormat(const ParaState &para) {
    // Most paragraphs repeat the format of the one before.
    if (m_blockFormatValid && para == m_blockFormatState)
        return m_blockFormat;
    QTextBlockFormat format;
    static constexpr Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                                   Qt::AlignJustify};
    format.setAlignment(alignments[para.alignment]);
    if (para.firstIndent != 0)
        format.setTextIndent(DocumentUnits::fromTwips(para.firstIndent));
    if (para.leftIndent != 0)
        format.setLeftMargin(DocumentUnits::fromTwips(para.leftIndent));
    if (para.rightIndent != 0)
        format.setRightMargin(DocumentUnits::fromTwips(para.rightIndent));
    if (para.spaceBefore != 0)
        format.setTopMargin(DocumentUnits::fromTwips(para.spaceBefore));
    if (para.spaceAfter != 0)
        format.setBottomMargin(DocumentUnits::fromTwips(para.spaceAfter));
    if (para.lineSpacing != 0) {
        if (para.lineMultiple) {
            const double percent = qAbs(para.lineSpacing) * 100.0 / 240.0;
            if (qAbs(percent - 100.0) > 0.5)
                format.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
        } else if (para.lineSpacing > 0) {
            format.setLineHeight(DocumentUnits::fromTwips(para.lineSpacing),
                                 QTextBlockFormat::MinimumHeight);
        } else {
            format.setLineHeight(DocumentUnits::fromTwips(-para.lineSpacing),
                                 QTextBlockFormat::FixedHeight);
        }
    }
    if (!para.tabs.isEmpty())
        format.setTabPositions(para.tabs);
    if (para.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_blockFormatState = para;
    m_blockFormat = format;
    m_blockFormatValid = true;
    return format;
}

QString RtfReader::levelAffix(const QString &levelText, bool prefix) {
    // \leveltext: a length character, then text in which characters 0-8 stand for the numbers
    // of the levels; a trailing semicolon ends the group.
    QString text = levelText;
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    if (text.isEmpty())
        return {};
    text.remove(0, 1);
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 9) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return {};
    return prefix ? text.left(first) : text.mid(last + 1);
}

void RtfReader::setListOf(RtfParagraph &paragraph, const ParaState &para) {
    const qint64 previousListId = m_previousListId;
    m_previousListId = -1;
    if (para.listOverride != 0) {
        const auto override = m_listOverrides.constFind(para.listOverride);
        const ListDefinition *definition = nullptr;
        if (override != m_listOverrides.constEnd()) {
            const auto list = m_lists.constFind(*override);
            if (list != m_lists.constEnd())
                definition = &*list;
        }
        ListKind kind = ListKind::Decimal;
        QString prefix;
        QString suffix = QStringLiteral(".");
        if (definition != nullptr &&
            static_cast<std::size_t>(para.listLevel) < definition->levels.size()) {
            const ListLevel &level = definition->levels[static_cast<std::size_t>(para.listLevel)];
            kind = level.kind;
            if (!level.text.isEmpty()) {
                prefix = levelAffix(level.text, true);
                suffix = levelAffix(level.text, false);
            }
        } else if (para.numbering.kind != ListKind::None) {
            // No list table entry: the old-style numbering next to \ls describes the list.
            kind = para.numbering.kind;
            prefix = para.numbering.prefix;
            suffix = para.numbering.suffix;
        }
        if (kind == ListKind::None)
            return;
        const qint64 id = (static_cast<qint64>(para.listOverride) << 8) | para.listLevel;
        if (kind == ListKind::Bullet) {
            // Bullets count nothing: a run of them after other paragraphs is a list of its own.
            // Qt touches every item of a list when it gains one, so one list for all the
            // bullets of a long document would make loading it quadratic.
            if (previousListId != id)
                m_previousListKey = m_nextListKey++;
            paragraph.listKey = m_previousListKey;
        } else {
            auto key = m_listKeys.find(id);
            if (key == m_listKeys.end())
                key = m_listKeys.insert(id, m_nextListKey++);
            paragraph.listKey = *key;
        }
        m_previousListId = id;
        paragraph.listFormat.setStyle(listStyle(static_cast<int>(kind)));
        paragraph.listFormat.setIndent(para.listLevel + 1);
        if (kind != ListKind::Bullet) {
            paragraph.listFormat.setNumberPrefix(prefix);
            paragraph.listFormat.setNumberSuffix(suffix);
        }
        m_previousNumberingKey = -1;
        return;
    }
    const Numbering &numbering = para.numbering;
    if (numbering.kind == ListKind::None || numbering.continuation) {
        if (numbering.kind == ListKind::None)
            m_previousNumberingKey = -1;
        return;
    }
    // Old-style numbering: consecutive paragraphs with the same numbering form one list.
    if (m_previousNumberingKey < 0 || !(m_previousNumbering == numbering))
        m_previousNumberingKey = m_nextListKey++;
    m_previousNumbering = numbering;
    paragraph.listKey = m_previousNumberingKey;
    paragraph.listFormat.setStyle(listStyle(static_cast<int>(numbering.kind)));
    paragraph.listFormat.setIndent(numbering.level + 1);
    if (numbering.kind != ListKind::Bullet) {
        paragraph.listFormat.setNumberPrefix(numbering.prefix);
        paragraph.listFormat.setNumberSuffix(numbering.suffix);
    }
}

int RtfReader::paragraphDepth() const {
    const ParaState &para = state().para;
    if (!para.inTable)
        return 0;
    return qBound(1, para.nesting, maxTableDepth);
}

RtfReader::TableLevel &RtfReader::tableLevel(int depth) {
    depth = qBound(1, depth, maxTableDepth);
    if (m_tables.size() < static_cast<std::size_t>(depth))
        m_tables.resize(static_cast<std::size_t>(depth));
    return m_tables[static_cast<std::size_t>(depth - 1)];
}

void RtfReader::endParagraph() {
    flushBytes();
    const ParaState &para = state().para;
    RtfParagraph paragraph = std::move(m_paragraph);
    m_paragraph = RtfParagraph();
    paragraph.format = blockFormat(para);
    paragraph.markFormat = currentCharFormat();
    const int depth = paragraphDepth();
    if (m_pageBreakPending && depth == 0)
        paragraph.format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_pageBreakPending = false;
    setListOf(paragraph, para);
    closeTablesAbove(depth);
    if (depth == 0) {
        m_sink.paragraph(std::move(paragraph));
        return;
    }
    tableLevel(depth).cell.blocks.push_back(RtfCellBlock{std::move(paragraph), nullptr});
}

void RtfReader::pageBreak() {
    flushBytes();
    if (paragraphDepth() > 0)
        return; // a page cannot break inside a table cell
    if (!m_paragraph.isEmpty())
        endParagraph();
    m_pageBreakPending = true;
}

void RtfReader::closeTablesAbove(int depth) {
    // Rows left open by a file that ended a table without \row are delivered as they are.
    for (int d = static_cast<int>(m_tables.size()); d > depth; --d) {
        TableLevel &table = m_tables[static_cast<std::size_t>(d - 1)];
        if (!table.cell.blocks.empty())
            endCell(d);
        if (!table.row.cells.empty())
            endRow(d);
        closeTable(d);
    }
}

void RtfReader::closeTable(int depth) {
    TableLevel &level = tableLevel(depth);
    if (!level.table)
        return;
    std::shared_ptr<RtfTable> table = std::move(level.table);
    level.table.reset();
    if (depth == 1)
        m_sink.table(std::move(*table));
}

void RtfReader::endCell(int depth) {
    depth = qBound(1, depth, maxTableDepth);
    closeTablesAbove(depth);
    TableLevel &table = tableLevel(depth);
    flushBytes();
    // \cell ends the cell's last paragraph, an empty one too (as after "\par\cell").
    {
        RtfParagraph paragraph = std::move(m_paragraph);
        m_paragraph = RtfParagraph();
        const ParaState &para = state().para;
        paragraph.format = blockFormat(para);
        paragraph.markFormat = currentCharFormat();
        setListOf(paragraph, para);
        table.cell.blocks.push_back(RtfCellBlock{std::move(paragraph), nullptr});
    }
    m_pageBreakPending = false;
    if (table.row.cells.size() < static_cast<std::size_t>(maxColumns)) {
        table.row.cells.push_back(std::move(table.cell));
    } else {
        // Beyond the column limit, content joins the last cell.
        auto &last = table.row.cells.back().blocks;
        for (auto &block : table.cell.blocks)
            last.push_back(std::move(block));
    }
    table.cell = RtfTableCell();
}

void RtfReader::endRow(int depth) {
    depth = qBound(1, depth, maxTableDepth);
    flushBytes();
    TableLevel &table = tableLevel(depth);
    if (!m_paragraph.isEmpty() || !table.cell.blocks.empty())
        endCell(depth);
    else
        closeTablesAbove(depth);
    TableLevel &level = tableLevel(depth);
    RtfTableRow row = std::move(level.row);
    level.row = RtfTableRow();
    if (row.cells.empty())
        return;
    int left = level.leftEdge;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        RtfTableCell &cell = row.cells[i];
        if (i >= level.definitions.size())
            continue;
        const CellDefinition &definition = level.definitions[i];
        cell.hasEdges = true;
        cell.leftEdge = left;
        cell.rightEdge = definition.rightEdge;
        left = definition.rightEdge;
        cell.mergeWithPrevious = definition.mergeWithPrevious && i > 0;
        cell.mergeWithAbove = definition.mergeWithAbove;
        if (definition.background > 0 && definition.background < static_cast<int>(m_colors.size()))
            cell.background = m_colors[static_cast<std::size_t>(definition.background)];
    }
    TableLevel &self = tableLevel(depth);
    if (!self.table) {
        self.table = std::make_shared<RtfTable>();
        // A nested table takes its place in the parent cell with its first row.
        if (depth > 1)
            tableLevel(depth - 1).cell.blocks.push_back(RtfCellBlock{RtfParagraph(), self.table});
    }
    self.table->rows.push_back(std::move(row));
}

void RtfReader::endOfInput() {
    flushBytes();
    // Close what the file left open, innermost first, so that pictures and fields complete.
    while (m_stack.size() > 1 || m_overflowDepth > 0)
        groupEnd();
    if (m_picture.depth != 0)
        finishPicture();
    // Text after the last \par is a paragraph of its own; an empty one is no paragraph.
    if (!m_paragraph.isEmpty())
        endParagraph();
    closeTablesAbove(0);
    m_sink.finish();
}
