#include "richtext/rtf/rtffonttable.h"

#include "richtext/rtf/rtfcodec.h"

void RtfFontTable::start() {
    m_open = false;
}

void RtfFontTable::commit() {
    m_fonts.insert(m_number, Font{m_name.trimmed(), m_current.charset, m_current.codePage});
}

void RtfFontTable::word(RtfWord word, int parameter) {
    switch (word) {
    case RtfWord::F:
        if (m_open)
            commit();
        m_number = parameter;
        m_current = Font();
        m_name.clear();
        m_open = true;
        return;
    case RtfWord::Fcharset:
        m_current.charset = parameter;
        return;
    case RtfWord::Cpg:
        if (RtfCodePage::isSupported(parameter))
            m_current.codePage = parameter;
        return;
    default:
        return;
    }
}

void RtfFontTable::text(const QString &text) {
    for (QChar c : text) {
        if (c == QLatin1Char(';')) {
            if (m_open) {
                commit();
                m_open = false;
            }
            m_name.clear();
        } else if (m_open && m_name.size() < 256 && c.unicode() >= 0x20) {
            m_name.append(c);
        }
    }
}

void RtfFontTable::end() {
    if (!m_open)
        return;
    commit();
    m_open = false;
}

int RtfFontTable::nameCodePage(int documentCodePage) const {
    if (m_current.codePage != 0)
        return m_current.codePage;
    const int codePage = m_current.charset < 0
                             ? documentCodePage
                             : RtfCodePage::forCharset(m_current.charset, documentCodePage);
    // A symbol font's name is spelled in ordinary letters.
    return codePage == RtfCodePage::Symbol ? RtfCodePage::Windows1252 : codePage;
}

int RtfFontTable::codePage(int fontNumber, int documentCodePage) const {
    const auto it = m_fonts.constFind(fontNumber);
    if (it == m_fonts.constEnd())
        return documentCodePage;
    if (it->codePage != 0)
        return it->codePage;
    if (it->charset == 2 && it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0)
        return RtfCodePage::Windows1252; // other symbol fonts have no Unicode reading
    if (it->charset < 0)
        return documentCodePage;
    return RtfCodePage::forCharset(it->charset, documentCodePage);
}

QString RtfFontTable::family(int fontNumber) const {
    const auto it = m_fonts.constFind(fontNumber);
    return it == m_fonts.constEnd() ? QString() : it->name;
}

QHash<int, QString> RtfFontTable::families() const {
    QHash<int, QString> names;
    for (auto it = m_fonts.cbegin(); it != m_fonts.cend(); ++it)
        names.insert(it.key(), it->name);
    return names;
}
