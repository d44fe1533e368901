#include "richtext/rtf/rtfkeptgroup.h"

#include "richtext/rtf/documentio.h"

#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class NumberKind { None, Font, Color };

NumberKind kindOf(std::string_view word) {
    static constexpr std::array<std::string_view, 3> fonts = {"af", "f", "pnf"};
    static constexpr std::array<std::string_view, 19> colors = {
        "brdrcf",  "cb",      "cbpat",       "cf",          "cfpat",     "chcbpat", "chcfpat",
        "clcbpat", "clcfpat", "clcbpatraw",  "clcfpatraw",  "highlight", "pncf",    "trcbpat",
        "trcfpat", "ulc",     "tscellcbpat", "tscellcfpat", "tsbrdrcf"};
    if (std::find(fonts.begin(), fonts.end(), word) != fonts.end())
        return NumberKind::Font;
    if (std::find(colors.begin(), colors.end(), word) != colors.end())
        return NumberKind::Color;
    return NumberKind::None;
}

} // namespace

namespace RtfKeptGroup {

QByteArray renumbered(QByteArrayView bytes, const std::function<int(int)> &font,
                      const std::function<int(int)> &color) {
    QByteArray out;
    out.reserve(bytes.size() + 16);
    const qsizetype size = bytes.size();
    qsizetype copied = 0; // bytes before this are in out
    qsizetype i = 0;
    while (i < size) {
        if (bytes[i] != '\\' || i + 1 >= size) {
            ++i;
            continue;
        }
        if (!isLetter(bytes[i + 1])) {
            i += 2; // a control symbol, or the first part of \'xx
            continue;
        }
        const qsizetype nameStart = i + 1;
        qsizetype at = nameStart;
        while (at < size && isLetter(bytes[at]) && at - nameStart < 32)
            ++at;
        const std::string_view name(bytes.data() + nameStart, std::size_t(at - nameStart));
        const qsizetype numberStart = at;
        if (at < size && bytes[at] == '-')
            ++at;
        while (at < size && isDigit(bytes[at]) && at - numberStart < 10)
            ++at;
        const bool hasNumber = at > numberStart && isDigit(bytes[at - 1]);
        const long long number =
            hasNumber ? QByteArrayView(bytes.data() + numberStart, at - numberStart).toLongLong()
                      : 0;
        if (name == "bin" && hasNumber) {
            // Binary data is no RTF: skip it whole, after the word's delimiting blank.
            if (at < size && bytes[at] == ' ')
                ++at;
            i = std::min(size, at + std::max(0LL, number));
            continue;
        }
        const NumberKind kind = hasNumber ? kindOf(name) : NumberKind::None;
        if (kind != NumberKind::None) {
            out.append(bytes.sliced(copied, numberStart - copied));
            const int value = static_cast<int>(qBound(-2147483647LL, number, 2147483647LL));
            out.append(QByteArray::number(kind == NumberKind::Font ? font(value) : color(value)));
            copied = at;
        }
        i = at;
    }
    out.append(bytes.sliced(copied));
    return out;
}

} // namespace RtfKeptGroup

QString RtfKeptGroup::noteText(QByteArrayView bytes) {
    const QByteArray kept = bytes.toByteArray();
    for (const char *word : {"\\footnote", "\\annotation"}) {
        qsizetype at = kept.indexOf(word);
        // The word, not a longer one that begins with it.
        while (at >= 0) {
            const qsizetype after = at + qstrlen(word);
            if (after >= kept.size() || !std::isalpha(static_cast<unsigned char>(kept[after])))
                break;
            at = kept.indexOf(word, after);
        }
        if (at < 0)
            continue;
        // The rest of the group the word opens, read as a document of its own.
        const qsizetype begin = at + qstrlen(word);
        qsizetype end = begin;
        for (int depth = 1; end < kept.size(); ++end) {
            const char c = kept[end];
            if (c == '\\')
                ++end;
            else if (c == '{')
                ++depth;
            else if (c == '}' && --depth == 0)
                break;
        }
        QTextDocument note;
        readRtf("{\\rtf1\\ansi " + kept.mid(begin, end - begin) + "}", note);
        QString text = note.toPlainText();
        text.remove(QChar(0x2060));
        return text.trimmed();
    }
    return {};
}
