#pragma once

#include "richtext/rtfcodec.h"
#include "richtext/rtfcontrolword.h"
#include "richtext/rtfreadresult.h"
#include "richtext/rtfsink.h"
#include "richtext/rtftokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextOption>
#include <functional>
#include <memory>
#include <vector>

// Reads RTF tokens into a sink: keeps a stack of group states, hands text and control words to
// the handler of the current destination (body text, font table, colour table, list tables,
// numbering, pictures, fields) and skips the destinations it does not show. It never fails on
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
    static constexpr int maxTableDepth = 8;
    static constexpr int maxColumns = 64;
    static constexpr int maxListLevel = 8;

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

    enum class ListKind : std::uint8_t {
        None,
        Bullet,
        Decimal,
        LowerAlpha,
        UpperAlpha,
        LowerRoman,
        UpperRoman
    };

    struct CharState {
        int font = -1; // -1: the default font
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        bool protect = false;
        bool caps = false;
        bool smallCaps = false;
        std::uint8_t underline = 0; // UnderlineType
        std::uint8_t script = 0;    // 0 none, 1 sub, 2 super
        int foreground = 0;         // colour table index, 0: automatic
        int background = 0;
        int link = 0; // index into m_links, 0: none
        bool operator==(const CharState &) const = default;
    };

    struct Numbering {
        ListKind kind = ListKind::None;
        int level = 0;
        bool continuation = false;
        QString prefix;
        QString suffix;
        bool operator==(const Numbering &) const = default;
    };

    struct ParaState {
        int alignment = 0; // 0 left, 1 right, 2 centre, 3 justify
        int firstIndent = 0;
        int leftIndent = 0;
        int rightIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0;
        bool lineMultiple = false;
        bool pageBreakBefore = false;
        bool inTable = false;
        int nesting = 0; // \itap
        int listOverride = 0;
        int listLevel = 0;
        Numbering numbering;
        QList<QTextOption::Tab> tabs;
        int pendingTabType = 0; // QTextOption::TabType of the next \tx
        bool operator==(const ParaState &) const = default;
    };

    struct GroupState {
        CharState chars;
        ParaState para;
        Destination destination = Destination::Text;
        int unicodeSkip = 1; // \ucN: bytes of fallback after each \uN
        bool starred = false;
        bool firstWord = true;
    };

    struct Font {
        QString name;
        int charset = -1;
        int codePage = 0; // \cpgN, 0: from the charset
    };

    struct ListLevel {
        ListKind kind = ListKind::Decimal;
        QString text; // \leveltext as read: length, literal text and level placeholders
    };

    struct ListDefinition {
        std::vector<ListLevel> levels;
    };

    struct Field {
        QString instruction;
        std::size_t depth = 0;      // the stack size of the field's group
        bool inInstruction = false; // a field inside another field's instruction
        bool hasResult = false;
    };

    struct CellDefinition {
        int rightEdge = 0;
        bool mergeWithPrevious = false;
        bool mergeWithAbove = false;
        int background = 0;
    };

    // A table being read at one nesting depth.
    struct TableLevel {
        std::vector<CellDefinition> definitions;
        CellDefinition pendingDefinition;
        int leftEdge = 0;
        RtfTableRow row;
        RtfTableCell cell;
        // The table of this level while its rows follow each other; a nested one is already
        // in its parent cell.
        std::shared_ptr<RtfTable> table;
    };

    void handleToken(const RtfToken &token);
    void groupStart();
    void groupEnd();
    void controlWord(const RtfToken &token);
    void controlSymbol(unsigned char symbol);
    void destinationWord(RtfWordInfo info);
    bool bodyWord(RtfWord word, bool hasParameter, int parameter);
    bool characterWord(RtfWord word, bool hasParameter, int parameter);
    bool paragraphWord(RtfWord word, bool hasParameter, int parameter);
    bool tableWord(RtfWord word, int parameter);
    void fontTableWord(RtfWord word, int parameter);
    void colorTableWord(RtfWord word, int parameter);
    void listTableWord(RtfWord word, int parameter);
    void listOverrideWord(RtfWord word, int parameter);
    void numberingWord(RtfWord word, int parameter);
    void pictureWord(RtfWord word, int parameter);

    void appendBytes(QByteArrayView bytes);
    void appendUnicode(char32_t code);
    void flushBytes();
    void deliverText(const QString &text);
    void bodyText(const QString &text);
    void fontTableText(const QString &text);
    void colorTableText(const QString &text);
    void pictureText(QByteArrayView text);

    int currentCodePage() const;
    int fontCodePage(int fontNumber) const;
    QTextCharFormat currentCharFormat();
    QTextBlockFormat blockFormat(const ParaState &para);
    void setListOf(RtfParagraph &paragraph, const ParaState &para);
    static QString levelAffix(const QString &levelText, bool prefix);

    void endParagraph();
    void pageBreak();
    int paragraphDepth() const;
    void closeTablesAbove(int depth);
    void endCell(int depth);
    void endRow(int depth);
    void closeTable(int depth);
    TableLevel &tableLevel(int depth);
    void finishPicture();
    void finishField(const Field &field);
    void startFieldResult();
    static QString hyperlinkTarget(const QString &instruction);
    void endOfInput();

    GroupState &state() { return m_stack.back(); }
    const GroupState &state() const { return m_stack.back(); }

    RtfTokenizer m_tokenizer;
    RtfSink &m_sink;
    Progress m_progress;
    RtfCodec m_codec;
    RtfDroppedContent m_dropped;

    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0; // groups opened beyond maxGroupDepth, sharing the top state
    int m_skipBytes = 0;     // fallback bytes of a \uN still to skip

    QByteArray m_pendingBytes;

    int m_documentCodePage = RtfCodePage::Windows1252;
    int m_defaultFont = -1;
    QHash<int, Font> m_fonts;
    int m_currentFontNumber = 0;
    Font m_currentFont;
    QString m_currentFontName;
    bool m_fontOpen = false;

    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    QHash<int, ListDefinition> m_lists;
    ListDefinition m_currentList;
    QHash<int, int> m_listOverrides; // \ls -> \listid
    int m_currentOverrideList = 0;
    QHash<qint64, int> m_listKeys; // (\ls, level) -> sink list key
    int m_nextListKey = 0;
    int m_previousNumberingKey = -1;
    qint64 m_previousListId = -1; // the \ls list and level of the paragraph before, -1: none
    int m_previousListKey = -1;
    Numbering m_previousNumbering;
    Numbering m_pendingNumbering;
    std::size_t m_numberingDepth = 0; // stack size of the open \pn group, 0: none

    std::vector<QString> m_links{QString()};
    QString m_bookmarkName;       // of the \bkmkstart group being read
    QStringList m_pendingAnchors; // bookmarks that start at the next character
    std::vector<Field> m_fields;

    struct Picture {
        std::size_t depth = 0;
        int kind = 0; // PictureKind
        int width = 0, height = 0, goalWidth = 0, goalHeight = 0;
        int scaleX = 100, scaleY = 100;
        QByteArray data;
        int pendingNibble = -1;
    };
    Picture m_picture;

    ParaState m_blockFormatState; // the state m_blockFormat was made from
    QTextBlockFormat m_blockFormat;
    bool m_blockFormatValid = false;
    CharState m_formatState;
    QTextCharFormat m_format;
    int m_formatSerial = -1;
    bool m_lastTextHidden = false;

    RtfParagraph m_paragraph;
    bool m_pageBreakPending = false;
    std::vector<TableLevel> m_tables;

    qint64 m_nextProgress = 0;
};
