#pragma once

#include "tools/movieline.h"

#include <QColor>
#include <QString>
#include <optional>

// The credits scroller's inline markup, read line by line. "[" opens a tag and "]" closes it;
// neither is ever shown, a "[" inside a tag and a "]" outside one are dropped. A tag left open at
// a line's end stays open: the next line's characters up to its first "]" form the tag. Tags are
// compared case-sensitively: "size=N" (points), "font=Face", "center", "b", "i", "u" and
// "color=N" (red in the low byte; decimal, or hexadecimal after "$"); others are ignored.
class MovieMarkup {
public:
    // Reads one line; the open tag carries over to the next call.
    MovieLine parseLine(const QString &line);

    bool inTag() const { return m_inTag; }
    void reset() { m_inTag = false; }

    // "255" or "$FF" as a colour value; nullopt when it is not a whole number in range.
    static std::optional<QColor> colorValue(const QString &text);

private:
    static void applyTag(const QString &tag, MovieLine &line);

    bool m_inTag = false;
};
