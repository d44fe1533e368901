#include "plaintext/plaintextrtf.h"

#include "richtext/rtf/rtfcodec.h"

#include <cmath>

PlainTextRtf::PlainTextRtf(const QString &family, double pointSize)
    : m_family(family)
    , m_run("\\f0\\fs" + QByteArray::number(std::lround(pointSize * 2))) {}

QByteArray PlainTextRtf::header() const {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendRtfText(out, m_family);
    out.append(";}}\n{\\*\\generator Quillet Vado;}\\viewkind4\n");
    return out;
}

void PlainTextRtf::appendParagraph(QByteArray &out, QStringView line) const {
    out.append("\\pard\\ql\\plain ");
    if (!line.isEmpty()) {
        out.append('{');
        out.append(m_run);
        out.append(' ');
        appendRtfText(out, line);
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
