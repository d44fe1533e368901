#include "tools/movieline.h"

QFont MovieLine::font(const QFont &defaultFont) const {
    QFont result = defaultFont;
    if (face)
        result.setFamily(*face);
    if (size)
        result.setPointSize(*size);
    result.setBold(defaultFont.bold() || bold);
    result.setItalic(defaultFont.italic() || italic);
    result.setUnderline(defaultFont.underline() || underline);
    return result;
}

QColor MovieLine::textColor(const QColor &defaultColor) const {
    return color.value_or(defaultColor);
}
