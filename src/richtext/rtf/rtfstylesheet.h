#pragma once

#include "richtext/rtf/rtfcontrolword.h"

#include <QByteArrayView>
#include <QHash>
#include <vector>

// The paragraph styles of a \stylesheet: the formatting words each style sets, which the reader
// applies where a paragraph names its style (\sN), under the paragraph's own words.
class RtfStyleSheet {
public:
    struct Word {
        RtfWord word = RtfWord::Unknown;
        bool hasParameter = false;
        int parameter = 0;
    };

    // Reads the whole {\stylesheet ...} group.
    void read(QByteArrayView group);
    // The words of the style with this number, those of the styles it is based on first;
    // empty for a style the sheet does not have.
    std::vector<Word> words(int number) const;

private:
    struct Style {
        int basedOn = -1;
        std::vector<Word> words;
    };
    QHash<int, Style> m_styles;
};
