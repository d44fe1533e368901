#include "richtext/rtf/rtfcolortable.h"

void RtfColorTable::start() {
    m_colors.clear();
    m_set = false;
    m_red = m_green = m_blue = 0;
}

void RtfColorTable::word(RtfWord word, int parameter) {
    const int component = qBound(0, parameter, 255);
    switch (word) {
    case RtfWord::Red:
        m_red = component;
        m_set = true;
        return;
    case RtfWord::Green:
        m_green = component;
        m_set = true;
        return;
    case RtfWord::Blue:
        m_blue = component;
        m_set = true;
        return;
    default:
        return;
    }
}

void RtfColorTable::text(const QString &text) {
    for (QChar c : text) {
        if (c != QLatin1Char(';'))
            continue;
        // An entry with no components is "automatic" (the window's text colour).
        m_colors.push_back(m_set ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_set = false;
    }
}

QColor RtfColorTable::color(int index) const {
    return index > 0 && index < static_cast<int>(m_colors.size())
               ? m_colors[static_cast<std::size_t>(index)]
               : QColor();
}
