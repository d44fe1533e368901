#pragma once

#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtfgroupstate.h"
#include "richtext/rtf/rtfsink.h"

#include <QHash>
#include <QString>
#include <cstddef>
#include <vector>

// Lists: the \listtable and \listoverridetable destinations, old-style \pn numbering groups,
// and which list each paragraph belongs to.
class RtfListTables {
public:
    static constexpr int maxLevel = 8;

    // \list inside \listtable, and \listlevel inside it.
    void startList();
    void startLevel();
    // A word inside \listtable; inTableGroup is false inside its \leveltext.
    void listWord(RtfWord word, int parameter, bool inTableGroup);
    void levelText(const QString &text);

    // \listoverride inside \listoverridetable.
    void startOverride();
    void overrideWord(RtfWord word, int parameter);

    // A \pn group opened at this stack size.
    void startNumbering(std::size_t depth);
    void numberingWord(RtfWord word, int parameter);
    void numberingText(const QString &text, bool before);
    // Whether the group closing at this stack size is the \pn group; finishNumbering then
    // answers what it described.
    bool numberingEndsAt(std::size_t depth) const { return m_numberingDepth == depth; }
    RtfNumbering finishNumbering();

    // Puts the paragraph into its list, if it has one.
    void assign(RtfParagraph &paragraph, const RtfParaState &para);

    // The text before the first level number of a \leveltext (without its length character
    // and closing semicolon), or after the last one; empty when it shows no number.
    static QString levelAffix(const QString &levelText, bool prefix);

private:
    struct ListLevel {
        RtfListKind kind = RtfListKind::Decimal;
        int start = 1;
        QString text; // \leveltext as read: length, literal text and level placeholders
    };
    struct ListDefinition {
        std::vector<ListLevel> levels;
    };
    QHash<int, ListDefinition> m_lists;
    ListDefinition m_currentList;
    QHash<int, int> m_listOverrides;  // \ls -> \listid
    QHash<int, int> m_overrideStarts; // \ls -> the start its override sets for level 0
    int m_currentOverrideList = 0;
    int m_currentOverrideStart = 0; // 0: none
    QHash<qint64, int> m_listKeys;  // (\ls, level) -> sink list key
    int m_nextListKey = 0;
    int m_previousNumberingKey = -1;
    qint64 m_previousListId = -1; // the \ls list and level of the paragraph before, -1: none
    int m_previousListKey = -1;
    RtfNumbering m_previousNumbering;
    RtfNumbering m_pendingNumbering;
    std::size_t m_numberingDepth = 0; // stack size of the open \pn group, 0: none
};
