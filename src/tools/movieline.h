#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

// One line of the credits scroller after its markup was read: the text to show and what its
// tags asked for. Every tag applies to the whole line, wherever it stands in it.
struct MovieLine {
    QString text;
    bool centered = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // The last "size=", "font=" and "color=" of the line; unset when none.
    std::optional<int> size;
    std::optional<QString> face;
    std::optional<QColor> color;

    // The line's font, starting from the scroller's default font.
    QFont font(const QFont &defaultFont) const;
    QColor textColor(const QColor &defaultColor) const;
};
