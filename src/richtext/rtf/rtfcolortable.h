#pragma once

#include "richtext/rtf/rtfcontrolword.h"

#include <QColor>
#include <QString>
#include <vector>

// The \colortbl destination: colour numbers to colours.
class RtfColorTable {
public:
    // A \colortbl group begins: it replaces any table before.
    void start();
    void word(RtfWord word, int parameter);
    void text(const QString &text);

    // The colour of a number; invalid for 0, for an "automatic" entry and beyond the table.
    QColor color(int index) const;
    const std::vector<QColor> &colors() const { return m_colors; }

private:
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_set = false;
};
