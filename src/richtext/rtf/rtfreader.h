#pragma once

#include "richtext/rtf/rtfcodec.h"
#include "richtext/rtf/rtfcolortable.h"
#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtffields.h"
#include "richtext/rtf/rtffonttable.h"
#include "richtext/rtf/rtfgroupstate.h"
#include "richtext/rtf/rtfkeptgroups.h"
#include "richtext/rtf/rtflisttables.h"
#include "richtext/rtf/rtfpicture.h"
#include "richtext/rtf/rtfreadresult.h"
#include "richtext/rtf/rtfsink.h"
#include "richtext/rtf/rtfstylesheet.h"
#include "richtext/rtf/rtftablebuilder.h"
#include "richtext/rtf/rtftokenizer.h"

#include <QHash>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <functional>
#include <optional>
#include <vector>

// Reads RTF tokens into a sink: keeps a stack of group states, reads body text itself and hands
// the words and text of every other destination to its handler (font table, colour table, list
// tables and numbering, pictures, fields, tables, kept and skipped groups). It never fails on
// malformed input: what can be read is delivered, unbalanced groups are closed at the end.
class RtfReader {
public:
    using Progress = std::function<void(qint64 done, qint64 total)>;

    RtfReader(QByteArrayView data, RtfSink &sink);
    ~RtfReader();

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Whether the data starts (after at most a kilobyte of junk) with "{\rtf".
    static bool looksLikeRtf(QByteArrayView data);

    // Reads everything; answers NotRtf (delivering nothing) when the header is missing.
    RtfReadResult read();

    // Limits that keep malformed input from taking unbounded memory.
    static constexpr int maxGroupDepth = 512;
    static constexpr int maxTableDepth = RtfTableBuilder::maxDepth;
    static constexpr int maxColumns = RtfTableBuilder::maxColumns;
    static constexpr int maxListLevel = RtfListTables::maxLevel;

private:
    enum class Destination : std::uint8_t {
        Text,   // body text: paragraphs, tables, pictures
        Skip,   // dropped with everything inside
        Ignore, // words and text ignored; some child groups are read (objects, shapes)
        FontTable,
        ColorTable,
        ListTable, // \listtable, \list and \listlevel groups
        LevelText,
        ListOverrideTable,
        Numbering,       // an old-style \pn group
        NumberingBefore, // \pntxtb
        NumberingAfter,  // \pntxta
        Picture,
        FieldInstruction,
        BookmarkName,
    };

    struct GroupState {
        RtfCharState chars;
        RtfParaState para;
        Destination destination = Destination::Text;
        int unicodeSkip = 1; // \ucN: bytes of fallback after each \uN
        bool starred = false;
        bool firstWord = true;
        RtfKeptGroups::Keep keep = RtfKeptGroups::Keep::None;
        bool styleSheet = false; // the \stylesheet group
        qsizetype start = 0;     // where the group's brace stands in the input
        // For a kept object: the paragraph and the inline it began at.
        int objectParagraph = 0;
        std::size_t objectInline = 0;
        qsizetype objectTail = 0; // the text length of the inline before, which text may join
    };

    void handleToken(const RtfToken &token);
    void groupStart();
    void groupEnd();
    void controlWord(const RtfToken &token);
    void controlSymbol(unsigned char symbol);
    // first: the word opens its group, no text or other word before it.
    void destinationWord(RtfWordInfo info, bool first);
    // A group the reader does not show begins: kept or dropped.
    void startSkipped(RtfWord word, bool unknown, bool first);
    bool bodyWord(RtfWord word, bool hasParameter, int parameter);
    bool characterWord(RtfWord word, bool hasParameter, int parameter);
    bool paragraphWord(RtfWord word, bool hasParameter, int parameter);
    bool tableWord(RtfWord word, int parameter);

    void appendBytes(QByteArrayView bytes);
    void appendUnicode(char32_t code);
    void flushBytes();
    void deliverText(const QString &text);
    void bodyText(const QString &text);

    int currentCodePage() const;
    QTextCharFormat currentCharFormat();
    QTextBlockFormat blockFormat(const RtfParaState &para);

    // Ends the paragraph being read with the current formats and its list.
    RtfParagraph takeParagraph();
    void endParagraph();
    void pageBreak();
    // A section break and the section's words after it end the paragraph: a marker that writes
    // them back.
    void flushSection();
    // The picture a shape without a result shows: its \sp pib property's \pict.
    std::optional<RtfInline> shapePicture(const QByteArray &shape);
    int paragraphDepth() const;
    void finishPicture();
    void startFieldResult();
    // A group ends that the document keeps as it came.
    void keepGroup(RtfKeptGroups::Keep keep, QByteArray bytes);
    // Puts a protected marker into the text that carries RTF to write back in its place.
    void addKeptMarker(const QString &text, QByteArray bytes, bool superscript);
    // An object or shape ends: what it showed gives way to one marker that writes it back.
    void keepObject(QByteArray bytes);
    void endOfInput();

    GroupState &state() { return m_stack.back(); }
    const GroupState &state() const { return m_stack.back(); }

    QByteArrayView m_data;
    RtfTokenizer m_tokenizer;
    RtfSink &m_sink;
    Progress m_progress;
    RtfCodec m_codec;

    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0; // groups opened beyond maxGroupDepth, sharing the top state
    int m_skipBytes = 0;     // fallback bytes of a \uN still to skip

    QByteArray m_pendingBytes;

    int m_documentCodePage = RtfCodePage::Windows1252;
    int m_defaultFont = -1;

    RtfFontTable m_fonts;
    RtfColorTable m_colors;
    RtfListTables m_lists;
    RtfPicture m_picture;
    RtfFields m_fields;
    RtfTableBuilder m_tables;
    RtfKeptGroups m_kept;
    RtfStyleSheet m_styles;
    bool m_textStarted = false;  // the text has begun: later groups are kept at their place
    bool m_footnoteMark = false; // a \chftn stood since the last text: a note's number
    int m_footnoteNumber = 0;    // of the last footnote kept with its number
    int m_keptSerial = 0;        // of the last kept marker
    int m_forcedCloses = 0;      // groups the input left open, closed at its end so far
    int m_paragraphsEnded = 0;

    QString m_bookmarkName;       // of the \bkmkstart group being read
    QStringList m_pendingAnchors; // bookmarks that start at the next character

    RtfParaState m_blockFormatState; // the state m_blockFormat was made from
    QTextBlockFormat m_blockFormat;
    bool m_blockFormatValid = false;
    RtfCharState m_formatState;
    QTextCharFormat m_format;
    int m_formatSerial = -1;
    // Formats made before, by state: text that goes back and forth between a few states (bold,
    // plain, italic, plain) takes each one's format from here. Forgotten, the last one included,
    // when the font or colour table changes, which the formats are made from.
    struct MadeFormat {
        QTextCharFormat format;
        int serial = 0;
    };
    QHash<RtfCharState, MadeFormat> m_madeFormats;
    int m_lastSerial = -1;
    void forgetFormats() {
        m_madeFormats.clear();
        m_formatSerial = -1;
    }
    bool m_lastTextHidden = false;

    RtfParagraph m_paragraph;
    const RtfParagraph m_emptyParagraph;
    bool m_pageBreakPending = false;
    QByteArray m_sectionBreak; // \sect and the words after it, until something else comes

    qint64 m_nextProgress = 0;
};
