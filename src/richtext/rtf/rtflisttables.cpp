#include "richtext/rtf/rtflisttables.h"

#include "richtext/rtf/rtfformatproperties.h"

namespace {

QTextListFormat::Style listStyle(RtfListKind kind) {
    switch (kind) {
    case RtfListKind::Bullet:
        return QTextListFormat::ListDisc;
    case RtfListKind::LowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case RtfListKind::UpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case RtfListKind::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case RtfListKind::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDecimal;
    }
}

} // namespace

void RtfListTables::startList() {
    m_currentList = ListDefinition();
}

void RtfListTables::startLevel() {
    if (m_currentList.levels.size() <= static_cast<std::size_t>(maxLevel))
        m_currentList.levels.emplace_back();
}

void RtfListTables::listWord(RtfWord word, int parameter, bool inTableGroup) {
    ListLevel *level = m_currentList.levels.empty() ? nullptr : &m_currentList.levels.back();
    switch (word) {
    case RtfWord::Levelnfc:
    case RtfWord::Levelnfcn:
        if (level == nullptr)
            return;
        switch (parameter) {
        case 1:
            level->kind = RtfListKind::UpperRoman;
            break;
        case 2:
            level->kind = RtfListKind::LowerRoman;
            break;
        case 3:
            level->kind = RtfListKind::UpperAlpha;
            break;
        case 4:
            level->kind = RtfListKind::LowerAlpha;
            break;
        case 23:
            level->kind = RtfListKind::Bullet;
            break;
        case 255:
            level->kind = RtfListKind::None;
            break;
        default:
            level->kind = RtfListKind::Decimal;
            break;
        }
        return;
    case RtfWord::Levelstartat:
        if (level != nullptr)
            level->start = qBound(0, parameter, 32767);
        return;
    case RtfWord::Listid:
        if (inTableGroup)
            m_lists.insert(parameter, m_currentList);
        return;
    default:
        return;
    }
}

void RtfListTables::levelText(const QString &text) {
    if (!m_currentList.levels.empty() && m_currentList.levels.back().text.size() < 64)
        m_currentList.levels.back().text.append(text);
}

void RtfListTables::startOverride() {
    m_currentOverrideList = 0;
    m_currentOverrideStart = 0;
}

void RtfListTables::overrideWord(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::Listid:
        m_currentOverrideList = parameter;
        return;
    case RtfWord::Levelstartat:
        // A restart of the list's numbering for the paragraphs of this \ls.
        m_currentOverrideStart = qBound(0, parameter, 32767) + 1;
        return;
    case RtfWord::Ls:
        m_listOverrides.insert(parameter, m_currentOverrideList);
        if (m_currentOverrideStart > 0)
            m_overrideStarts.insert(parameter, m_currentOverrideStart - 1);
        return;
    default:
        return;
    }
}

void RtfListTables::startNumbering(std::size_t depth) {
    m_pendingNumbering = RtfNumbering();
    m_pendingNumbering.kind = RtfListKind::Decimal;
    m_numberingDepth = depth;
}

void RtfListTables::numberingWord(RtfWord word, int parameter) {
    RtfNumbering &numbering = m_pendingNumbering;
    switch (word) {
    case RtfWord::Pnlvlblt:
        numbering.kind = RtfListKind::Bullet;
        numbering.level = 0;
        return;
    case RtfWord::Pnlvlbody:
        numbering.level = 0;
        return;
    case RtfWord::Pnlvlcont:
        numbering.continuation = true;
        return;
    case RtfWord::Pnlvl:
        numbering.level = qBound(0, parameter - 1, maxLevel);
        return;
    case RtfWord::Pndec:
    case RtfWord::Pnord:
    case RtfWord::Pnordt:
    case RtfWord::Pncard:
        numbering.kind = RtfListKind::Decimal;
        return;
    case RtfWord::Pnlcltr:
        numbering.kind = RtfListKind::LowerAlpha;
        return;
    case RtfWord::Pnucltr:
        numbering.kind = RtfListKind::UpperAlpha;
        return;
    case RtfWord::Pnlcrm:
        numbering.kind = RtfListKind::LowerRoman;
        return;
    case RtfWord::Pnucrm:
        numbering.kind = RtfListKind::UpperRoman;
        return;
    default:
        return;
    }
}

void RtfListTables::numberingText(const QString &text, bool before) {
    QString &affix = before ? m_pendingNumbering.prefix : m_pendingNumbering.suffix;
    if (affix.size() < 32)
        affix.append(text);
}

RtfNumbering RtfListTables::finishNumbering() {
    m_numberingDepth = 0;
    return m_pendingNumbering;
}

QString RtfListTables::levelAffix(const QString &text, bool prefix) {
    // Characters 0-8 stand for the numbers of the levels.
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

void RtfListTables::assign(RtfParagraph &paragraph, const RtfParaState &para) {
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
        RtfListKind kind = RtfListKind::Decimal;
        QString prefix;
        QString suffix = QStringLiteral(".");
        QString levelText;
        int start = 1;
        if (definition != nullptr &&
            static_cast<std::size_t>(para.listLevel) < definition->levels.size()) {
            const ListLevel &level = definition->levels[static_cast<std::size_t>(para.listLevel)];
            kind = level.kind;
            start = level.start;
            // \leveltext: a length character, the text, and the semicolon that ends the group.
            levelText = level.text;
            if (levelText.endsWith(QLatin1Char(';')))
                levelText.chop(1);
            levelText.remove(0, 1);
            if (!level.text.isEmpty()) {
                prefix = levelAffix(levelText, true);
                suffix = levelAffix(levelText, false);
            }
        } else if (para.numbering.kind != RtfListKind::None) {
            // No list table entry: the old-style numbering next to \ls describes the list.
            kind = para.numbering.kind;
            prefix = para.numbering.prefix;
            suffix = para.numbering.suffix;
        }
        if (kind == RtfListKind::None)
            return;
        if (para.listLevel == 0) {
            const auto restart = m_overrideStarts.constFind(para.listOverride);
            if (restart != m_overrideStarts.constEnd())
                start = *restart;
        }
        const qint64 id = (static_cast<qint64>(para.listOverride) << 8) | para.listLevel;
        if (kind == RtfListKind::Bullet) {
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
            // An item restarts the numbering of the levels below it.
            for (int deeper = para.listLevel + 1; deeper <= maxLevel; ++deeper)
                m_listKeys.remove((static_cast<qint64>(para.listOverride) << 8) | deeper);
        }
        m_previousListId = id;
        paragraph.listFormat.setStyle(listStyle(kind));
        paragraph.listFormat.setIndent(para.listLevel + 1);
        paragraph.listFormat.setProperty(RtfFormatProperty::ListGroup, para.listOverride);
        if (kind != RtfListKind::Bullet) {
            paragraph.listFormat.setNumberPrefix(prefix);
            paragraph.listFormat.setNumberSuffix(suffix);
            if (start != 1)
                paragraph.listFormat.setProperty(RtfFormatProperty::ListStart, start);
            if (!levelText.isEmpty())
                paragraph.listFormat.setProperty(RtfFormatProperty::ListLevelText, levelText);
        }
        m_previousNumberingKey = -1;
        return;
    }
    const RtfNumbering &numbering = para.numbering;
    if (numbering.kind == RtfListKind::None || numbering.continuation) {
        if (numbering.kind == RtfListKind::None)
            m_previousNumberingKey = -1;
        return;
    }
    // Old-style numbering: consecutive paragraphs with the same numbering form one list.
    if (m_previousNumberingKey < 0 || !(m_previousNumbering == numbering))
        m_previousNumberingKey = m_nextListKey++;
    m_previousNumbering = numbering;
    paragraph.listKey = m_previousNumberingKey;
    paragraph.listFormat.setStyle(listStyle(numbering.kind));
    paragraph.listFormat.setIndent(numbering.level + 1);
    if (numbering.kind != RtfListKind::Bullet) {
        paragraph.listFormat.setNumberPrefix(numbering.prefix);
        paragraph.listFormat.setNumberSuffix(numbering.suffix);
    }
}
