#include "richtext/rtf/rtfreader.h"

#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfformatproperties.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int defaultHalfPoints = 24;
constexpr qint64 progressStep = 256 * 1024;
constexpr qsizetype maxMadeFormats = 4096;

} // namespace

RtfReader::RtfReader(QByteArrayView data, RtfSink &sink)
    : m_data(data)
    , m_tokenizer(data)
    , m_sink(sink)
    , m_tables(
          sink, m_colors,
          [this] {
              flushBytes();
              return !m_paragraph.isEmpty();
          },
          [this] { return takeParagraph(); }) {}

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
    result.dropped = m_kept.dropped();
    result.kept = m_kept.kept();
    return result;
}

void RtfReader::handleToken(const RtfToken &token) {
    if (!m_sectionBreak.isEmpty() && token.type != RtfToken::Type::ControlWord &&
        token.type != RtfToken::Type::End)
        flushSection();
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
    next.keep = RtfKeptGroups::Keep::None;
    next.start = m_tokenizer.position() - 1;
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

    const auto groupBytes = [this] {
        QByteArray bytes =
            m_data.sliced(state().start, m_tokenizer.position() - state().start).toByteArray();
        // Groups the input left open are closed here too.
        bytes.append(QByteArray(m_forcedCloses, '}'));
        return bytes;
    };
    if (state().styleSheet)
        m_styles.read(m_data.sliced(state().start, m_tokenizer.position() - state().start));
    if (state().keep != RtfKeptGroups::Keep::None)
        keepGroup(state().keep, groupBytes());
    if (ending == Destination::FieldInstruction && parent != Destination::FieldInstruction)
        m_fields.instructionGroup(groupBytes());
    if (m_fields.endsWithoutResultAt(depth) && parent == Destination::Text) {
        // A field that shows nothing (an index entry, a page count still to come) stays as it is.
        keepGroup(RtfKeptGroups::Keep::Anchor, groupBytes());
        ++m_kept.kept().fields;
    }

    if (ending == Destination::Picture && m_picture.readsAt(depth))
        finishPicture();
    if (ending == Destination::BookmarkName && parent != Destination::BookmarkName) {
        const QString name = m_bookmarkName.trimmed();
        if (!name.isEmpty() && m_pendingAnchors.size() < 16)
            m_pendingAnchors.append(name);
    }
    if (ending == Destination::FontTable && parent != Destination::FontTable) {
        forgetFormats();
        m_fonts.end();
    }
    if (m_lists.numberingEndsAt(depth)) {
        m_stack.pop_back();
        state().para.numbering = m_lists.finishNumbering();
    } else {
        m_stack.pop_back();
    }
    m_kept.dropped().fields += m_fields.closeAbove(m_stack.size());
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
        if (group.destination == Destination::Picture && m_picture.readsAt(m_stack.size()))
            m_picture.binary(data);
        return;
    }
    if (group.destination == Destination::Skip)
        return;
    if (!m_sectionBreak.isEmpty()) {
        // The new section's words (\sectd, page size and margins, columns, ...).
        if (group.destination == Destination::Text && info.word == RtfWord::Unknown && !starred &&
            m_sectionBreak.size() < 4096) {
            m_sectionBreak.append('\\');
            m_sectionBreak.append(token.text.data(), token.text.size());
            if (token.hasParameter)
                m_sectionBreak.append(QByteArray::number(token.parameter));
            return;
        }
        flushSection();
    }
    // "{\*\word" with a word this reader does not read: the whole group is optional.
    if (starred && info.group == RtfWordGroup::None) {
        if (first || info.word == RtfWord::Unknown) {
            startSkipped(info.word, true, first);
            return;
        }
    }
    if (info.group != RtfWordGroup::None) {
        destinationWord(info, first);
        return;
    }
    if (group.destination == Destination::Text && group.para.borderOpen) {
        // The kind, width, colour and spacing words that follow \brdrt and the like.
        if (info.word == RtfWord::Unknown &&
            (token.text.startsWith("brdr") || token.text.startsWith("brsp"))) {
            if (group.para.borders.size() < 1024) {
                group.para.borders.append('\\');
                group.para.borders.append(token.text.data(), token.text.size());
                if (token.hasParameter)
                    group.para.borders.append(QByteArray::number(token.parameter));
            }
            return;
        }
        group.para.borderOpen = false;
    }
    if (info.word == RtfWord::Unknown) {
        // Directly in the document's group (the \rtf1 one), before any text.
        if (m_stack.size() == 2 && !m_textStarted)
            m_kept.documentWord(token.text, token.hasParameter, token.parameter);
        return;
    }

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
        forgetFormats();
        m_fonts.word(info.word, parameter);
        return;
    case Destination::ColorTable:
        forgetFormats();
        m_colors.word(info.word, parameter);
        return;
    case Destination::ListTable:
    case Destination::LevelText:
        m_lists.listWord(info.word, parameter, group.destination == Destination::ListTable);
        return;
    case Destination::ListOverrideTable:
        m_lists.overrideWord(info.word, parameter);
        return;
    case Destination::Numbering:
    case Destination::NumberingBefore:
    case Destination::NumberingAfter:
        m_lists.numberingWord(info.word, parameter);
        return;
    case Destination::Picture:
        m_picture.word(info.word, parameter);
        return;
    case Destination::Ignore:
    case Destination::Skip:
    case Destination::BookmarkName:
        return;
    }
}

void RtfReader::destinationWord(RtfWordInfo info, bool first) {
    GroupState &group = state();
    const Destination parent = group.destination;
    const bool inBody = parent == Destination::Text;
    // The group reads as `destination` where the word has its place, else it is skipped.
    const auto inside = [&group](bool placed, Destination destination) {
        group.destination = placed ? destination : Destination::Skip;
    };

    if (info.group == RtfWordGroup::Skipped) {
        startSkipped(info.word, false, first);
        return;
    }

    switch (info.word) {
    case RtfWord::Fonttbl:
        group.destination = Destination::FontTable;
        m_fonts.start();
        return;
    case RtfWord::Colortbl:
        group.destination = Destination::ColorTable;
        m_colors.start();
        return;
    case RtfWord::Listtable:
        group.destination = Destination::ListTable;
        return;
    case RtfWord::List:
    case RtfWord::Listlevel:
        if (parent != Destination::ListTable)
            group.destination = Destination::Skip;
        else if (info.word == RtfWord::List)
            m_lists.startList();
        else
            m_lists.startLevel();
        return;
    case RtfWord::Leveltext:
        inside(parent == Destination::ListTable, Destination::LevelText);
        return;
    case RtfWord::Listoverridetable:
        group.destination = Destination::ListOverrideTable;
        return;
    case RtfWord::Listoverride:
        if (parent == Destination::ListOverrideTable)
            m_lists.startOverride();
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Pn:
        inside(inBody, Destination::Numbering);
        if (inBody)
            m_lists.startNumbering(m_stack.size());
        return;
    case RtfWord::Pntxta:
        inside(parent == Destination::Numbering, Destination::NumberingAfter);
        return;
    case RtfWord::Pntxtb:
        inside(parent == Destination::Numbering, Destination::NumberingBefore);
        return;
    case RtfWord::Pict:
    case RtfWord::Macpict:
    case RtfWord::Pmmetafile: {
        const bool placed = inBody && !m_picture.isOpen();
        inside(placed, Destination::Picture);
        if (placed)
            m_picture.start(m_stack.size(), info.word == RtfWord::Pict);
        return;
    }
    case RtfWord::Field:
        if (inBody || parent == Destination::FieldInstruction)
            m_fields.start(m_stack.size(), parent == Destination::FieldInstruction);
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Fldinst:
        inside(!m_fields.isEmpty() && (inBody || parent == Destination::FieldInstruction),
               Destination::FieldInstruction);
        return;
    case RtfWord::Fldrslt:
        if (!m_fields.isEmpty() && (inBody || parent == Destination::FieldInstruction))
            startFieldResult();
        else
            group.destination = Destination::Skip;
        return;
    case RtfWord::Object:
    case RtfWord::Shp:
        inside(inBody, Destination::Ignore);
        if (inBody && m_overflowDepth == 0) {
            // Its result shows in the text; the group itself is kept.
            group.keep = RtfKeptGroups::Keep::Object;
            group.objectParagraph = m_paragraphsEnded;
            group.objectInline = m_paragraph.inlines.size();
            group.objectTail =
                m_paragraph.inlines.empty() ? 0 : m_paragraph.inlines.back().text.size();
        }
        return;
    case RtfWord::Result:
    case RtfWord::Shprslt:
        // The picture or text an object or shape shows in place of itself.
        inside(parent == Destination::Ignore, Destination::Text);
        return;
    case RtfWord::Shppict:
        inside(inBody, Destination::Text);
        return;
    case RtfWord::Bkmkstart:
        inside(inBody, Destination::BookmarkName);
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

void RtfReader::startSkipped(RtfWord word, bool unknown, bool first) {
    GroupState &group = state();
    const Destination parent =
        m_stack.size() >= 2 ? m_stack[m_stack.size() - 2].destination : Destination::Skip;
    RtfKeptGroups::Place place = RtfKeptGroups::Place::Elsewhere;
    // Text read before the word already shows; kept, it would come back twice.
    if (parent == Destination::Text && m_overflowDepth == 0 && first) {
        // Before any text a group belongs to the document, whatever wraps it (\upr does); after
        // some, only the tables directly in the document's group (the \rtf1 one) do.
        if (!m_textStarted)
            place = RtfKeptGroups::Place::DocumentStart;
        else if (m_stack.size() == 3)
            place = RtfKeptGroups::Place::DocumentLater;
        else
            place = RtfKeptGroups::Place::Text;
    }
    group.keep = m_kept.start(word, unknown, place);
    group.destination = Destination::Skip;
    group.styleSheet = word == RtfWord::Stylesheet && first;
}

void RtfReader::keepGroup(RtfKeptGroups::Keep keep, QByteArray bytes) {
    switch (keep) {
    case RtfKeptGroups::Keep::None:
        return;
    case RtfKeptGroups::Keep::Prologue:
        m_kept.addToPrologue(bytes);
        return;
    case RtfKeptGroups::Keep::Anchor:
        // A word joiner: it takes no room and joins what stands around it.
        addKeptMarker(QString(QChar(0x2060)), std::move(bytes), false);
        return;
    case RtfKeptGroups::Keep::Object:
        keepObject(std::move(bytes));
        return;
    case RtfKeptGroups::Keep::Footnote:
        if (m_footnoteMark) {
            // The note is numbered where it stands: its mark is the number.
            m_footnoteMark = false;
            addKeptMarker(QString::number(++m_footnoteNumber), "\\chftn " + bytes, true);
        } else {
            // A mark of its own was written as text before the note.
            addKeptMarker(QString(QChar(0x2060)), std::move(bytes), false);
        }
        return;
    }
}

void RtfReader::keepObject(QByteArray bytes) {
    const GroupState &group = state();
    if (group.objectParagraph != m_paragraphsEnded ||
        group.objectInline > m_paragraph.inlines.size()) {
        // Its result spans paragraphs: that text stays, the object is lost.
        ++m_kept.dropped().objects;
        return;
    }
    ++m_kept.kept().objects;
    auto &inlines = m_paragraph.inlines;
    // Text it showed may have joined the run before it: that text becomes a run of its own.
    if (group.objectInline > 0) {
        RtfInline &before = inlines[group.objectInline - 1];
        if (before.text.size() > group.objectTail) {
            RtfInline shown = before;
            shown.text = before.text.mid(group.objectTail);
            before.text.truncate(group.objectTail);
            inlines.insert(inlines.begin() + static_cast<std::ptrdiff_t>(group.objectInline),
                           std::move(shown));
        }
    }
    if (group.objectInline == inlines.size()) {
        // A floating picture shows at its anchor; anything else is an invisible marker.
        std::optional<RtfInline> picture = shapePicture(bytes);
        if (!picture) {
            addKeptMarker(QString(QChar(0x2060)), std::move(bytes), false);
            return;
        }
        picture->format.setProperty(RtfFormatProperty::Protected, true);
        picture->format.setProperty(RtfFormatProperty::KeptGroup, std::move(bytes));
        picture->format.setProperty(RtfFormatProperty::KeptSerial, ++m_keptSerial);
        picture->formatSerial = -1;
        m_textStarted = true;
        inlines.push_back(std::move(*picture));
        return;
    }
    // What it shows stays, protected, and stands for it: the object is written in its place.
    const int serial = ++m_keptSerial;
    for (std::size_t i = group.objectInline; i < inlines.size(); ++i) {
        RtfInline &piece = inlines[i];
        piece.format.setProperty(RtfFormatProperty::Protected, true);
        piece.format.setProperty(RtfFormatProperty::KeptGroup, bytes);
        piece.format.setProperty(RtfFormatProperty::KeptSerial, serial);
        piece.formatSerial = -1;
    }
}

void RtfReader::addKeptMarker(const QString &text, QByteArray bytes, bool superscript) {
    flushBytes();
    m_textStarted = true;
    RtfInline marker;
    marker.text = text;
    marker.format = currentCharFormat();
    if (superscript)
        marker.format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    marker.format.setProperty(RtfFormatProperty::Protected, true);
    marker.format.setProperty(RtfFormatProperty::KeptGroup, std::move(bytes));
    marker.format.setProperty(RtfFormatProperty::KeptSerial, ++m_keptSerial);
    m_paragraph.inlines.push_back(std::move(marker));
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
        forgetFormats();
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
    case RtfWord::Sect:
        if (paragraphDepth() == 0 && group.destination == Destination::Text &&
            m_overflowDepth == 0) {
            flushSection();
            m_sectionBreak = "\\sect";
            return true;
        }
        endParagraph();
        return true;
    case RtfWord::Par:
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
    case RtfWord::Chftn:
        flushBytes();
        m_footnoteMark = true;
        return true;
    default:
        return false;
    }
}

bool RtfReader::characterWord(RtfWord word, bool hasParameter, int parameter) {
    RtfCharState &chars = state().chars;
    // Toggles: a bare word or any non-zero parameter turns on, 0 turns off.
    const bool on = !hasParameter || parameter != 0;
    switch (word) {
    case RtfWord::Plain: {
        const int link = chars.link;
        const int field = chars.field;
        chars = RtfCharState();
        chars.link = link; // links and fields are the field's, not formats
        chars.field = field;
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
    case RtfWord::Rtlch:
        chars.direction = 2;
        return true;
    case RtfWord::Ltrch:
        chars.direction = 1;
        return true;
    case RtfWord::Af:
        chars.assocFont = parameter;
        return true;
    case RtfWord::Afs:
        chars.assocHalfPoints = hasParameter ? qBound(2, parameter, 3276) : 0;
        return true;
    case RtfWord::Ab:
        chars.assocBold = on;
        return true;
    case RtfWord::Ai:
        chars.assocItalic = on;
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
    RtfParaState &para = state().para;
    // Lengths in twips; a broken file may give anything, so keep them to +-22 inches.
    const int length = qBound(-31680, parameter, 31680);
    switch (word) {
    case RtfWord::Pard:
        para = RtfParaState();
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
    case RtfWord::Rtlpar:
        para.rightToLeft = true;
        return true;
    case RtfWord::Ltrpar:
        para.rightToLeft = false;
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
    case RtfWord::S:
        // The style's formatting first; the paragraph's own words after it override it.
        para.style = qMax(0, parameter);
        for (const RtfStyleSheet::Word &styled : m_styles.words(para.style)) {
            if (!characterWord(styled.word, styled.hasParameter, styled.parameter))
                paragraphWord(styled.word, styled.hasParameter, styled.parameter);
        }
        return true;
    case RtfWord::Cbpat:
        para.shadeBack = qMax(0, parameter);
        para.shaded = true;
        return true;
    case RtfWord::Cfpat:
        para.shadeFore = qMax(0, parameter);
        para.shaded = true;
        return true;
    case RtfWord::Shading:
        para.shading = qBound(0, parameter, 10000);
        para.shaded = true;
        return true;
    case RtfWord::Brdrt:
    case RtfWord::Brdrb:
    case RtfWord::Brdrl:
    case RtfWord::Brdrr:
    case RtfWord::Box:
        if (para.borders.size() < 1024) {
            static constexpr const char *names[] = {"\\brdrt", "\\brdrb", "\\brdrl", "\\brdrr",
                                                    "\\box"};
            para.borders.append(names[static_cast<int>(word) - static_cast<int>(RtfWord::Brdrt)]);
        }
        para.borderOpen = true;
        return true;
    case RtfWord::Keepn:
        para.keepNext = !hasParameter || parameter != 0;
        return true;
    case RtfWord::Keep:
        para.keepTogether = !hasParameter || parameter != 0;
        return true;
    case RtfWord::Outlinelevel:
        para.outlineLevel = qBound(-1, parameter, 8);
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
        m_tables.endCell(1);
        return true;
    case RtfWord::Nestcell:
        m_tables.endCell(qMax(2, paragraphDepth()));
        return true;
    case RtfWord::Row:
        m_tables.endRow(1);
        return true;
    case RtfWord::Nestrow:
        m_tables.endRow(qMax(2, paragraphDepth()));
        return true;
    default:
        return m_tables.definitionWord(word, parameter, qMax(1, paragraphDepth()));
    }
}

void RtfReader::finishPicture() {
    if (std::optional<RtfInline> piece = m_picture.finish([this] { return currentCharFormat(); })) {
        m_textStarted = true;
        m_paragraph.inlines.push_back(std::move(*piece));
    }
}

void RtfReader::startFieldResult() {
    const RtfFields::Result result = m_fields.startResult(state().chars.field != 0);
    if (result.inInstruction) {
        state().destination = Destination::FieldInstruction;
        return;
    }
    state().destination = Destination::Text;
    if (result.link > 0)
        state().chars.link = result.link;
    if (result.field > 0) {
        state().chars.field = result.field;
        ++m_kept.kept().fields;
    }
}

void RtfReader::appendBytes(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    switch (state().destination) {
    case Destination::Skip:
    case Destination::Ignore:
        return;
    case Destination::Picture:
        if (m_picture.readsAt(m_stack.size()))
            m_picture.hexText(bytes);
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
        forgetFormats();
        m_fonts.text(text);
        return;
    case Destination::ColorTable:
        forgetFormats();
        m_colors.text(text);
        return;
    case Destination::LevelText:
        m_lists.levelText(text);
        return;
    case Destination::NumberingBefore:
    case Destination::NumberingAfter:
        m_lists.numberingText(text, state().destination == Destination::NumberingBefore);
        return;
    case Destination::FieldInstruction:
        m_fields.instructionText(text);
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
    const RtfCharState &chars = state().chars;
    if (chars.hidden) {
        if (!m_lastTextHidden)
            ++m_kept.dropped().hiddenText;
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
    m_textStarted = true;
    m_footnoteMark = false;
    if (!m_pendingAnchors.isEmpty()) {
        // A bookmark names the character it starts at, so that links to it find it.
        RtfInline named;
        named.text = use->left(1);
        named.format = currentCharFormat();
        named.format.setAnchor(true);
        // One name is kept as a string, which the document's table of formats tells apart by
        // its value; to it, all lists of names look alike, so each new bookmark was compared
        // in full with every one before it.
        if (m_pendingAnchors.size() == 1)
            named.format.setProperty(QTextFormat::AnchorName, m_pendingAnchors.front());
        else
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

int RtfReader::currentCodePage() const {
    const GroupState &group = state();
    if (group.destination == Destination::FontTable)
        return m_fonts.nameCodePage(m_documentCodePage);
    const int font = group.chars.font >= 0 ? group.chars.font : m_defaultFont;
    return m_fonts.codePage(font, m_documentCodePage);
}

QTextCharFormat RtfReader::currentCharFormat() {
    const RtfCharState &chars = state().chars;
    if (m_formatSerial >= 0 && chars == m_formatState)
        return m_format;
    m_formatState = chars;
    if (const auto made = m_madeFormats.constFind(chars); made != m_madeFormats.cend()) {
        m_formatSerial = made->serial;
        m_format = made->format;
        return m_format;
    }
    m_formatSerial = ++m_lastSerial;
    QTextCharFormat format;
    const int fontNumber = chars.font >= 0 ? chars.font : m_defaultFont;
    if (const QString family = m_fonts.family(fontNumber); !family.isEmpty())
        format.setFontFamilies({family});
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
    if (const QColor foreground = m_colors.color(chars.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = m_colors.color(chars.background); background.isValid())
        format.setBackground(background);
    if (chars.protect)
        format.setProperty(RtfFormatProperty::Protected, true);
    if (chars.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (chars.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    if (chars.direction != 0)
        format.setProperty(RtfFormatProperty::RunDirection, static_cast<int>(chars.direction));
    if (chars.assocFont >= 0 || chars.assocHalfPoints > 0 || chars.assocBold || chars.assocItalic) {
        QByteArray words;
        if (chars.assocFont >= 0)
            words.append("\\af" + QByteArray::number(chars.assocFont));
        if (chars.assocHalfPoints > 0)
            words.append("\\afs" + QByteArray::number(chars.assocHalfPoints));
        if (chars.assocBold)
            words.append("\\ab");
        if (chars.assocItalic)
            words.append("\\ai");
        format.setProperty(RtfFormatProperty::AssociatedWords, words);
        if (chars.direction == 2) {
            // Right-to-left text shows in the associated format; the other one is kept.
            QByteArray other;
            if (fontNumber >= 0)
                other.append("\\f" + QByteArray::number(fontNumber));
            other.append("\\fs" + QByteArray::number(chars.halfPoints));
            other.append(chars.bold ? "\\b" : "\\b0");
            other.append(chars.italic ? "\\i" : "\\i0");
            format.setProperty(RtfFormatProperty::OtherScriptWords, other);
            if (chars.assocFont >= 0) {
                if (const QString family = m_fonts.family(chars.assocFont); !family.isEmpty())
                    format.setFontFamilies({family});
            }
            if (chars.assocHalfPoints > 0)
                format.setFontPointSize(chars.assocHalfPoints / 2.0);
            format.setFontWeight(chars.assocBold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(chars.assocItalic);
        }
    }
    if (const QString &link = m_fields.link(chars.link); !link.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(link);
    }
    if (const QByteArray &instruction = m_fields.instruction(chars.field); !instruction.isEmpty()) {
        format.setProperty(RtfFormatProperty::FieldInstruction, instruction);
        format.setProperty(RtfFormatProperty::FieldSerial, chars.field);
    }
    m_format = format;
    // Fields and links make a state of their own each; the cache stays small regardless.
    if (m_madeFormats.size() >= maxMadeFormats)
        m_madeFormats.clear();
    m_madeFormats.insert(chars, MadeFormat{format, m_formatSerial});
    return m_format;
}

QTextBlockFormat RtfReader::blockFormat(const RtfParaState &para) {
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
    if (para.rightToLeft)
        format.setLayoutDirection(Qt::RightToLeft);
    if (para.shaded) {
        QByteArray words;
        if (para.shadeBack > 0)
            words.append("\\cbpat" + QByteArray::number(para.shadeBack));
        if (para.shadeFore > 0)
            words.append("\\cfpat" + QByteArray::number(para.shadeFore));
        if (para.shading > 0)
            words.append("\\shading" + QByteArray::number(para.shading));
        if (!words.isEmpty())
            format.setProperty(RtfFormatProperty::ParagraphShading, words);
        // The pattern colour (black unless given) over the background (white unless given),
        // in the share the shading gives.
        QColor back = m_colors.color(para.shadeBack);
        QColor fore = m_colors.color(para.shadeFore);
        if (para.shading > 0 || back.isValid()) {
            if (!back.isValid())
                back = Qt::white;
            if (!fore.isValid())
                fore = Qt::black;
            const double share = para.shading / 10000.0;
            const auto mix = [share](int under, int over) {
                return static_cast<int>(std::lround(under * (1 - share) + over * share));
            };
            format.setBackground(QColor(mix(back.red(), fore.red()),
                                        mix(back.green(), fore.green()),
                                        mix(back.blue(), fore.blue())));
        }
    }
    if (!para.borders.isEmpty())
        format.setProperty(RtfFormatProperty::ParagraphBorders, para.borders);
    if (para.style > 0)
        format.setProperty(RtfFormatProperty::StyleNumber, para.style);
    if (para.outlineLevel >= 0)
        format.setProperty(RtfFormatProperty::OutlineLevel, para.outlineLevel);
    if (para.keepNext)
        format.setProperty(RtfFormatProperty::KeepWithNext, true);
    if (para.keepTogether)
        format.setProperty(RtfFormatProperty::KeepTogether, true);
    m_blockFormatState = para;
    m_blockFormat = format;
    m_blockFormatValid = true;
    return format;
}

int RtfReader::paragraphDepth() const {
    const RtfParaState &para = state().para;
    if (!para.inTable)
        return 0;
    return qBound(1, para.nesting, maxTableDepth);
}

RtfParagraph RtfReader::takeParagraph() {
    flushBytes();
    ++m_paragraphsEnded;
    m_textStarted = true;
    m_footnoteMark = false;
    const RtfParaState &para = state().para;
    RtfParagraph paragraph = std::move(m_paragraph);
    // A copy shares the empty formats; a new list format would be made, with a font, each time.
    m_paragraph = m_emptyParagraph;
    paragraph.format = blockFormat(para);
    paragraph.markFormat = currentCharFormat();
    m_lists.assign(paragraph, para);
    m_pageBreakPending = false;
    return paragraph;
}

void RtfReader::endParagraph() {
    const int depth = paragraphDepth();
    const bool pageBreakBefore = m_pageBreakPending && depth == 0;
    RtfParagraph paragraph = takeParagraph();
    if (pageBreakBefore)
        paragraph.format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_tables.closeTablesAbove(depth);
    if (depth == 0) {
        m_sink.paragraph(std::move(paragraph));
        return;
    }
    m_tables.addParagraph(depth, std::move(paragraph));
}

void RtfReader::pageBreak() {
    flushBytes();
    if (paragraphDepth() > 0)
        return; // a page cannot break inside a table cell
    // The text before the break ends a paragraph; so does a break right after another one,
    // whose page then holds an empty paragraph.
    if (!m_paragraph.isEmpty() || m_pageBreakPending)
        endParagraph();
    m_pageBreakPending = true;
}

void RtfReader::flushSection() {
    if (m_sectionBreak.isEmpty())
        return;
    QByteArray bytes;
    std::swap(bytes, m_sectionBreak);
    addKeptMarker(QString(QChar(0x2060)), std::move(bytes), false);
    endParagraph();
}

std::optional<RtfInline> RtfReader::shapePicture(const QByteArray &shape) {
    const qsizetype property = shape.indexOf("\\sn pib}");
    const qsizetype at = property < 0 ? -1 : shape.indexOf("{\\pict", property);
    if (at < 0)
        return std::nullopt;
    RtfTokenizer tokenizer(QByteArrayView(shape).sliced(at));
    RtfPicture picture;
    int depth = 0;
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::Type::End;
         token = tokenizer.next()) {
        if (token.type == RtfToken::Type::GroupStart) {
            if (++depth == 1)
                picture.start(1, true);
        } else if (token.type == RtfToken::Type::GroupEnd) {
            if (--depth == 0)
                break;
        } else if (token.type == RtfToken::Type::ControlWord && token.text == "bin") {
            const QByteArrayView data = tokenizer.takeBinary(token.parameter);
            if (depth == 1)
                picture.binary(data);
        } else if (depth == 1 && token.type == RtfToken::Type::ControlWord) {
            picture.word(lookupRtfWord(token.text).word, token.parameter);
        } else if (depth == 1 && token.type == RtfToken::Type::Text) {
            picture.hexText(token.text);
        }
    }
    return picture.finish([this] { return currentCharFormat(); });
}

void RtfReader::endOfInput() {
    flushSection();
    flushBytes();
    // Close what the file left open, innermost first, so that pictures and fields complete.
    while (m_stack.size() > 1 || m_overflowDepth > 0) {
        ++m_forcedCloses;
        groupEnd();
    }
    if (m_picture.isOpen())
        finishPicture();
    // Text after the last \par is a paragraph of its own; an empty one is no paragraph, unless
    // a page break stands before it.
    if (!m_paragraph.isEmpty() || (m_pageBreakPending && paragraphDepth() == 0))
        endParagraph();
    m_tables.closeTablesAbove(0);
    m_sink.keptDocument(RtfKeptDocument{m_kept.prologue(), m_fonts.families(), m_colors.colors()});
    m_sink.finish();
}
