#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Plain text for text mode as one gap buffer of UTF-16 code units with an index of where every
// line starts, so that a file of millions of short lines costs a few bytes per line (the
// characters and one int) and any position finds its line by binary search. Lines end with
// '\n', which counts as one position like any character; the text after the last '\n' is the
// last line (empty when the text ends with a break). Positions are clamped to 0..length().
class PlainTextBuffer {
public:
    PlainTextBuffer();

    // Replaces everything; CR LF, CR and LF all become '\n'.
    void setText(QStringView text);
    void clear() { setText({}); }

    int length() const { return int(m_data.size()) - gapSize(); }
    QChar at(int position) const;
    // The characters of [start, end), '\n' between lines.
    QString text(int start, int end) const;
    QString toString() const { return text(0, length()); }

    int lineCount() const { return int(m_lineStarts.size()); }
    int lineStart(int line) const;
    // Characters of the line without its '\n'.
    int lineLength(int line) const;
    QString lineText(int line) const;
    // The line holding `position` (a '\n' belongs to the line it ends).
    int lineOf(int position) const;
    // The length of the longest line seen since the last setText (edits only ever raise it).
    int longestLine() const { return m_longestLine; }

    // Replaces [start, end) by `text` (CR LF and CR become '\n'); answers the inserted length.
    int replace(int start, int end, QStringView text);

    // The first match of `needle` in [from, to) (the last one when backward), or -1. A whole
    // word match has no letter, digit or '_' right before or after it.
    int find(QStringView needle, int from, int to, Qt::CaseSensitivity cs, bool wholeWord,
             bool backward) const;

private:
    int gapSize() const { return m_gapEnd - m_gapStart; }
    // The index in m_data of a position.
    int raw(int position) const { return position < m_gapStart ? position : position + gapSize(); }
    void moveGap(int position);
    void ensureGap(int size);
    bool isWordChar(int position) const;
    bool matchesAt(int position, QStringView needle, Qt::CaseSensitivity cs) const;

    std::vector<char16_t> m_data;
    int m_gapStart = 0;
    int m_gapEnd = 0;
    std::vector<int> m_lineStarts;
    int m_longestLine = 0;
};
