#include "richtext/rtf/longwords.h"

namespace LongWords {

bool hasLongWord(QStringView text) {
    if (text.size() < MinimumLength)
        return false;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run >= MinimumLength)
            return true;
    }
    return false;
}

bool hasLongWordInMarkup(QStringView html) {
    if (html.size() < MinimumLength)
        return false;
    qsizetype run = 0;
    bool inTag = false;
    for (const QChar c : html) {
        if (inTag) {
            inTag = c != QLatin1Char('>');
        } else if (c == QLatin1Char('<')) {
            inTag = true;
        } else {
            run = c.isSpace() ? 0 : run + 1;
            if (run >= MinimumLength)
                return true;
        }
    }
    return false;
}

} // namespace LongWords
