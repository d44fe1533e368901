#include "tools/moviemarkup.h"

MovieLine MovieMarkup::parseLine(const QString &line) {
    MovieLine result;
    // What an open tag collected on the line before is discarded.
    QString tag;
    for (const QChar c : line) {
        if (c == QLatin1Char('[')) {
            m_inTag = true;
        } else if (c == QLatin1Char(']')) {
            if (m_inTag) {
                applyTag(tag, result);
                tag.clear();
            }
            m_inTag = false;
        } else if (m_inTag) {
            tag.append(c);
        } else {
            result.text.append(c);
        }
    }
    return result;
}

std::optional<QColor> MovieMarkup::colorValue(const QString &text) {
    bool ok = false;
    const qlonglong value = text.startsWith(QLatin1Char('$')) ? text.mid(1).toLongLong(&ok, 16)
                                                              : text.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void MovieMarkup::applyTag(const QString &tag, MovieLine &line) {
    // A size or colour that is no whole number leaves the line as it was.
    if (tag.startsWith(QLatin1String("size="))) {
        bool ok = false;
        const int size = tag.mid(5).toInt(&ok);
        if (ok && size > 0)
            line.size = size;
    }
    if (tag.startsWith(QLatin1String("font=")) && tag.size() > 5)
        line.face = tag.mid(5);
    if (tag == QLatin1String("center"))
        line.centered = true;
    if (tag == QLatin1String("b"))
        line.bold = true;
    if (tag == QLatin1String("i"))
        line.italic = true;
    if (tag == QLatin1String("u"))
        line.underline = true;
    if (tag.startsWith(QLatin1String("color="))) {
        if (const auto color = colorValue(tag.mid(6)))
            line.color = color;
    }
}
