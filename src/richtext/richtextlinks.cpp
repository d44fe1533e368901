#include "richtext/richtextlinks.h"

#include <array>

namespace RichTextLinks {

namespace {

bool endsRun(QChar c) {
    return c.isSpace() || c == u'<' || c == u'>' || c == u'"' ||
           c == QChar::ObjectReplacementCharacter || c.unicode() < 0x20;
}

bool isTrailingPunctuation(QChar c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' ||
           c == u')' || c == u'\'' || c == u']' || c == u'}';
}

bool isLeadingPunctuation(QChar c) {
    return c == u'(' || c == u'[' || c == u'{' || c == u'\'';
}

bool startsLikeLink(const QString &run) {
    static constexpr std::array<const char16_t *, 10> prefixes = {
        u"http://", u"https://", u"ftp://",  u"file:", u"mailto:",
        u"news:",   u"telnet:",  u"gopher:", u"nntp:", u"www."};
    for (const char16_t *prefix : prefixes) {
        const QString p = QString::fromUtf16(prefix);
        if (run.startsWith(p, Qt::CaseInsensitive) && run.size() > p.size())
            return true;
    }
    return false;
}

} // namespace

QString urlAt(const QString &text, int offset) {
    if (offset < 0 || offset >= text.size() || endsRun(text.at(offset)))
        return {};
    int start = offset;
    while (start > 0 && !endsRun(text.at(start - 1)))
        --start;
    int end = offset + 1;
    while (end < text.size() && !endsRun(text.at(end)))
        ++end;
    while (start < end && isLeadingPunctuation(text.at(start)))
        ++start;
    while (end > start && isTrailingPunctuation(text.at(end - 1)))
        --end;
    if (offset < start || offset >= end)
        return {};
    const QString run = text.mid(start, end - start);
    return startsLikeLink(run) ? run : QString();
}

} // namespace RichTextLinks
