#include "plaintext/plaintextrtf.h"

#include "richtext/rtf/rtfcodec.h"

#include <cmath>
#include <cstdint>

namespace {

// Characters as the RTF writer puts them: ASCII as it is (with \, { and } escaped), a few
// characters by their control words, control characters dropped, the rest as \uN with a
// Windows-1252 fallback byte.
void appendText(QByteArray &out, QStringView text) {
    static constexpr char hex[] = "0123456789abcdef";
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                out.append('\\');
            out.append(static_cast<char>(c));
            continue;
        }
        switch (c) {
        case '\t':
            out.append("\\tab ");
            continue;
        case QChar::LineSeparator:
            out.append("\\line ");
            continue;
        case 0x00A0:
            out.append("\\~");
            continue;
        case 0x00AD:
            out.append("\\-");
            continue;
        case 0x2011:
            out.append("\\_");
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        const int byte = RtfCodePage::windows1252Byte(c);
        const int fallback = byte >= 0 ? byte : '?';
        out.append("\\u");
        out.append(QByteArray::number(static_cast<std::int16_t>(c)));
        out.append("\\'");
        out.append(hex[fallback >> 4]);
        out.append(hex[fallback & 0xF]);
    }
}

} // namespace

PlainTextRtf::PlainTextRtf(const QString &family, double pointSize)
    : m_family(family)
    , m_run("\\f0\\fs" + QByteArray::number(std::lround(pointSize * 2))) {}

QByteArray PlainTextRtf::header() const {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendText(out, m_family);
    out.append(";}}\n{\\*\\generator Quillet Vado;}\\viewkind4\n");
    return out;
}

void PlainTextRtf::appendParagraph(QByteArray &out, QStringView line) const {
    out.append("\\pard\\ql\\plain ");
    if (!line.isEmpty()) {
        out.append('{');
        out.append(m_run);
        out.append(' ');
        appendText(out, line);
        out.append('}');
    }
    out.append(m_run);
    out.append("\\par\n");
}

QByteArray PlainTextRtf::rtf(QStringView text) const {
    QByteArray out = header();
    out.reserve(text.size() + text.size() / 2 + 64);
    // Every line is a paragraph, the empty one after a last break too.
    qsizetype start = 0;
    for (;;) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        appendParagraph(out, text.mid(start, end - start));
        if (end == text.size())
            break;
        start = end + 1;
    }
    out.append(footer());
    return out;
}
