#pragma once

#include "richtext/rtf/rtfcontrolword.h"

#include <QHash>
#include <QString>

// The \fonttbl destination: font numbers to names, character sets and code pages.
class RtfFontTable {
public:
    // A \fonttbl group begins.
    void start();
    void word(RtfWord word, int parameter);
    void text(const QString &text);
    // The \fonttbl group ends: a last entry without its semicolon still counts.
    void end();

    // The code page the name of the entry being read is spelled in.
    int nameCodePage(int documentCodePage) const;
    // The code page text in the font is written in.
    int codePage(int fontNumber, int documentCodePage) const;
    // The font's name; empty when the table has none for it.
    QString family(int fontNumber) const;
    // Every font's name by number.
    QHash<int, QString> families() const;

private:
    struct Font {
        QString name;
        int charset = -1;
        int codePage = 0; // \cpgN, 0: from the charset
    };
    void commit();

    QHash<int, Font> m_fonts;
    int m_number = 0;
    Font m_current;
    QString m_name;
    bool m_open = false;
};
