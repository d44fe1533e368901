#include "editor/texttools/spellsession.h"

#include "editor/texttools/spellchecker.h"
#include "editor/texttools/spellpersonalwords.h"
#include "editor/texttools/texttoolstarget.h"

namespace {

bool isWordBody(QChar c) {
    return c.isLetterOrNumber() || c.isMark();
}

bool isJoiner(QChar c) {
    return c == u'\'' || c == u'\u2019' || c == u'-';
}

bool isSpace(QChar c) {
    return c.isSpace() || c == u'\n';
}

// Whether the run of non-space characters around a range looks like a web or mail address.
bool insideAddress(const QString &text, qsizetype start, qsizetype end) {
    qsizetype from = start;
    while (from > 0 && !isSpace(text.at(from - 1)))
        --from;
    qsizetype to = end;
    while (to < text.size() && !isSpace(text.at(to)))
        ++to;
    const QStringView chunk = QStringView(text).mid(from, to - from);
    return chunk.contains(u'@') || chunk.contains(QLatin1String("://")) ||
           chunk.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

} // namespace

std::optional<TextRange> NextSpellWord(const QString &text, int from) {
    const qsizetype n = text.size();
    qsizetype i = std::max(0, from);
    while (i < n) {
        if (!isWordBody(text.at(i))) {
            ++i;
            continue;
        }
        // A whole run of letters and digits, so that "3rd" is skipped and not checked as "rd".
        const qsizetype start = i;
        bool digit = false;
        while (i < n) {
            const QChar c = text.at(i);
            if (isWordBody(c)) {
                digit = digit || c.isDigit();
                ++i;
            } else if (isJoiner(c) && i + 1 < n && text.at(i + 1).isLetter()) {
                ++i;
            } else {
                break;
            }
        }
        if (text.at(start).isLetter() && !digit && !insideAddress(text, start, i))
            return TextRange{int(start), int(i)};
    }
    return std::nullopt;
}

SpellContext SpellWordContext(const QString &text, const TextRange &word, int reach) {
    qsizetype from = word.start;
    while (from > 0 && text.at(from - 1) != u'\n' && word.start - from < reach)
        --from;
    qsizetype to = word.end;
    while (to < text.size() && text.at(to) != u'\n' && to - word.end < reach)
        ++to;
    return {text.mid(from, to - from), int(word.start - from)};
}

int SpellCaretPosition(const QString &wholeText) {
    return wholeText.isEmpty() ? 0 : int(wholeText.size()) + 2;
}

SpellSession::SpellSession(TextToolsTarget &memo, SpellChecker &checker,
                           SpellPersonalWords &personal)
    : m_memo(memo)
    , m_checker(&checker)
    , m_personal(personal)
    , m_text(memo.text().replace(QLatin1String("\r\n"), QLatin1String("\n"))) {
    setChecker(checker);
}

bool SpellSession::findNext() {
    while (const std::optional<TextRange> range = NextSpellWord(m_text, m_pos)) {
        const QString word = m_text.mid(range->start, range->end - range->start);
        m_pos = range->end;
        if (m_ignoreAll.contains(word) || m_personal.contains(word))
            continue;
        if (const auto to = m_changeAll.constFind(word); to != m_changeAll.cend()) {
            replace(*range, *to);
            continue;
        }
        if (m_checker->isCorrect(word))
            continue;
        m_current = *range;
        m_word = word;
        m_memo.selectRange(range->start, range->end, true);
        return true;
    }
    m_current = {};
    m_word.clear();
    return false;
}

SpellContext SpellSession::context() const {
    return SpellWordContext(m_text, m_current);
}

QStringList SpellSession::suggestions() {
    return m_checker->suggestions(m_word);
}

void SpellSession::ignoreAll() {
    m_ignoreAll.insert(m_word);
}

void SpellSession::change(const QString &replacement) {
    if (replacement != m_word)
        replace(m_current, replacement);
}

void SpellSession::changeAll(const QString &replacement) {
    m_changeAll.insert(m_word, replacement);
    change(replacement);
}

QString SpellSession::add() {
    m_checker->addWord(m_word);
    return m_personal.add(m_word);
}

void SpellSession::setChecker(SpellChecker &checker) {
    m_checker = &checker;
    for (const QString &word : m_personal.words())
        m_checker->addWord(word);
    if (!m_word.isEmpty())
        m_pos = m_current.start;
}

void SpellSession::replace(const TextRange &range, const QString &replacement) {
    m_memo.selectRange(range.start, range.end, false);
    m_memo.setSelText(replacement);
    m_text.replace(range.start, range.end - range.start, replacement);
    m_pos = range.start + int(replacement.size());
    ++m_changes;
}
