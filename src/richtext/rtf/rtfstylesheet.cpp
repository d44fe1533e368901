#include "richtext/rtf/rtfstylesheet.h"

#include "richtext/rtf/rtftokenizer.h"

namespace {

constexpr int maxStyles = 4096;
constexpr std::size_t maxWordsPerStyle = 256;
constexpr int maxBasedOnDepth = 16;

// Words a style may set for the paragraphs that name it. List membership, table nesting and
// tab stops stay the paragraph's own: a paragraph states them itself, and a style's tab stops
// would add to the ones it states rather than stand under them.
bool appliesFromStyle(RtfWord word) {
    switch (word) {
    case RtfWord::Unknown:
    case RtfWord::S:
    case RtfWord::Sbasedon:
    case RtfWord::Pard:
    case RtfWord::Plain:
    case RtfWord::Ls:
    case RtfWord::Ilvl:
    case RtfWord::Intbl:
    case RtfWord::Itap:
    case RtfWord::Tx:
    case RtfWord::Tb:
    case RtfWord::Tqr:
    case RtfWord::Tqc:
    case RtfWord::Tqdec:
    case RtfWord::U:
    case RtfWord::Uc:
    case RtfWord::Bin:
        return false;
    default:
        return true;
    }
}

} // namespace

void RtfStyleSheet::read(QByteArrayView group) {
    RtfTokenizer tokenizer(group);
    int depth = 0;
    bool inStyle = false;
    bool paragraphStyle = true;
    bool firstWord = false;
    int number = 0;
    Style style;
    const auto finishStyle = [&] {
        if (inStyle && paragraphStyle && m_styles.size() < maxStyles)
            m_styles.insert(number, std::move(style));
        style = Style();
        inStyle = false;
    };
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::Type::End;
         token = tokenizer.next()) {
        switch (token.type) {
        case RtfToken::Type::GroupStart:
            ++depth;
            if (depth == 2) {
                // A style: a paragraph style unless its first word says otherwise.
                inStyle = true;
                paragraphStyle = true;
                firstWord = true;
                number = 0;
            }
            break;
        case RtfToken::Type::GroupEnd:
            if (depth == 2)
                finishStyle();
            --depth;
            break;
        case RtfToken::Type::ControlSymbol:
            if (depth == 2 && token.symbol == '*' && firstWord)
                continue; // \*\cs, \*\ts: starred kinds of style
            firstWord = false;
            break;
        case RtfToken::Type::ControlWord: {
            if (token.text == "bin" && token.hasParameter)
                tokenizer.takeBinary(token.parameter);
            if (depth != 2 || !inStyle)
                break;
            if (firstWord && (token.text == "cs" || token.text == "ds" || token.text == "ts" ||
                              token.text == "tsrowd"))
                paragraphStyle = false;
            firstWord = false;
            const RtfWordInfo info = lookupRtfWord(token.text);
            if (info.word == RtfWord::S) {
                number = token.parameter;
            } else if (info.word == RtfWord::Sbasedon) {
                style.basedOn = token.parameter;
            } else if (appliesFromStyle(info.word) && info.group == RtfWordGroup::None &&
                       style.words.size() < maxWordsPerStyle) {
                style.words.push_back({info.word, token.hasParameter, token.parameter});
            }
            break;
        }
        default:
            firstWord = false;
            break;
        }
    }
}

std::vector<RtfStyleSheet::Word> RtfStyleSheet::words(int number) const {
    // The chain of styles, the one named last: the base's words come first.
    std::vector<const Style *> chain;
    for (int at = number; chain.size() < static_cast<std::size_t>(maxBasedOnDepth);) {
        const auto it = m_styles.constFind(at);
        if (it == m_styles.constEnd())
            break;
        chain.push_back(&*it);
        if (it->basedOn < 0 || it->basedOn == at)
            break;
        at = it->basedOn;
    }
    std::vector<Word> words;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        words.insert(words.end(), (*it)->words.begin(), (*it)->words.end());
    return words;
}
