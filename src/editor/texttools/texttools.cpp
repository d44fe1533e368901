#include "editor/texttools/texttools.h"

#include "platform/usererror.h"
#include "platform/windows1252.h"

#include <array>

namespace {

// Word characters among the first 256 codes (small letters already counted as capitals).
constexpr std::array<bool, 256> kWordChars = [] {
    std::array<bool, 256> t{};
    t['\''] = true;
    for (int c = '0'; c <= '9'; ++c)
        t[size_t(c)] = true;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[size_t(c)] = true;
    for (int c = 'a'; c <= 'z'; ++c)
        t[size_t(c)] = true;
    for (int c = '{'; c <= 127; ++c)
        t[size_t(c)] = true;
    // 128 to 159 are C1 controls in Unicode; only the five the code page leaves undefined keep
    // these codes, the rest of that code-page row arrives as the characters below.
    for (int c : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        t[size_t(c)] = true;
    for (int c = 160; c <= 255; ++c)
        t[size_t(c)] = true;
    return t;
}();

} // namespace

QString LowercaseAZ(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return out;
}

QString UppercaseAZ(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return out;
}

bool IsWordChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 256)
        return kWordChars[u];
    if (Windows1252::isHighCharacter(u))
        return true;
    // Beyond the code page: letters of other scripts are word characters too, so that a Greek
    // or Chinese text is not counted as empty.
    return c.isLetterOrNumber() || c.isMark() || c.isSurrogate();
}

int WordCount(const QString &text) {
    int count = 0;
    bool inGap = true;
    for (const QChar c : text) {
        if (IsWordChar(c)) {
            if (inGap)
                ++count;
            inGap = false;
        } else {
            inGap = true;
        }
    }
    return count;
}

QString WordCountText(int count) {
    return QString::number(count) + QStringLiteral(" words");
}

bool IsLetterStyleCapital(QChar c) {
    return c >= u'A' && c <= u'Z';
}

QList<TextRange> CapitalRuns(const QString &text) {
    QList<TextRange> runs;
    int position = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i, ++position) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') {
            ++i; // one paragraph break, one position
            continue;
        }
        if (!IsLetterStyleCapital(c))
            continue;
        if (!runs.isEmpty() && runs.last().end == position)
            runs.last().end = position + 1;
        else
            runs.append({position, position + 1});
    }
    return runs;
}

int SizeBoxPoints(const QString &sizeBoxText) {
    bool ok = false;
    const int points = sizeBoxText.toInt(&ok);
    if (!ok)
        throw UserError(QStringLiteral("'%1' is not a valid integer value").arg(sizeBoxText));
    return points;
}

int LetterStyleCaret(int selStart, int selLength) {
    return std::max(0, selStart - selLength);
}

int LetterStyleKeyDelta(QChar key, bool &capsEnlarged) {
    const bool capital = IsLetterStyleCapital(key);
    if (capital && !capsEnlarged) {
        capsEnlarged = true;
        return LetterStyleStep;
    }
    if (!capital && capsEnlarged) {
        capsEnlarged = false;
        return -LetterStyleStep;
    }
    return 0;
}

QString NotFoundText(const QString &findText) {
    return QStringLiteral("Text \"%1\" not found.").arg(findText);
}

std::optional<int> DialogTopOffMatch(const QRect &dialog, const QPoint &matchTopLeft,
                                     const QPoint &afterMatch, const QRect &screen) {
    if (!dialog.contains(matchTopLeft) && !dialog.contains(afterMatch + QPoint(0, 20)))
        return std::nullopt;
    const int matchTop = matchTopLeft.y() - screen.top();
    const int height = dialog.height();
    if (height + 20 < matchTop)
        return screen.top() + matchTop - 20 - height;
    if (matchTop + height < screen.height())
        return screen.top() + matchTop + 40;
    return std::nullopt;
}
