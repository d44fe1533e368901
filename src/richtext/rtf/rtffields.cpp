#include "richtext/rtf/rtffields.h"

#include <QStringList>

void RtfFields::start(std::size_t depth, bool inInstruction) {
    Field field;
    field.depth = depth;
    field.inInstruction = inInstruction;
    m_fields.push_back(field);
}

void RtfFields::instructionText(const QString &text) {
    if (!m_fields.empty() && m_fields.back().instruction.size() < 4096)
        m_fields.back().instruction.append(text);
}

void RtfFields::instructionGroup(QByteArrayView bytes) {
    if (!m_fields.empty())
        m_fields.back().instructionGroup = bytes.toByteArray();
}

RtfFields::Result RtfFields::startResult(bool insideField) {
    Field &field = m_fields.back();
    field.hasResult = true;
    Result result;
    if (field.inInstruction) {
        result.inInstruction = true;
        return result;
    }
    const QString target = hyperlinkTarget(field.instruction);
    if (!target.isEmpty()) {
        m_links.push_back(target);
        result.link = static_cast<int>(m_links.size() - 1);
        return result;
    }
    if (!insideField && !field.instructionGroup.isEmpty()) {
        field.kept = true;
        m_instructions.push_back(field.instructionGroup);
        result.field = static_cast<int>(m_instructions.size() - 1);
    }
    return result;
}

bool RtfFields::endsWithoutResultAt(std::size_t depth) const {
    return !m_fields.empty() && m_fields.back().depth == depth && !m_fields.back().hasResult &&
           !m_fields.back().inInstruction;
}

int RtfFields::closeAbove(std::size_t depth) {
    int dropped = 0;
    while (!m_fields.empty() && m_fields.back().depth >= depth + 1) {
        const Field field = m_fields.back();
        m_fields.pop_back();
        if (field.hasResult && !field.inInstruction && !field.kept &&
            hyperlinkTarget(field.instruction).isEmpty())
            ++dropped;
    }
    return dropped;
}

const QByteArray &RtfFields::instruction(int number) const {
    static const QByteArray none;
    return number > 0 && number < static_cast<int>(m_instructions.size())
               ? m_instructions[static_cast<std::size_t>(number)]
               : none;
}

const QString &RtfFields::link(int number) const {
    static const QString none;
    return number > 0 && number < static_cast<int>(m_links.size())
               ? m_links[static_cast<std::size_t>(number)]
               : none;
}

QString RtfFields::hyperlinkTarget(const QString &instruction) {
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
