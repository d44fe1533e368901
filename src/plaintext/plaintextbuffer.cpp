#include "plaintext/plaintextbuffer.h"

#include <algorithm>
#include <cstring>

namespace {

// Gap left after a load or a growth, so that typing does not move the text each time.
constexpr int MinimumGap = 4096;

// The text with CR LF and CR turned into '\n'.
QString normalized(QStringView text) {
    if (!text.contains(QLatin1Char('\r')))
        return text.toString();
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            result.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            result.append(text[i]);
        }
    }
    return result;
}

} // namespace

PlainTextBuffer::PlainTextBuffer() {
    setText({});
}

void PlainTextBuffer::setText(QStringView text) {
    const QString plain = normalized(text);
    std::vector<char16_t>().swap(m_data);
    m_data.resize(size_t(plain.size()) + MinimumGap);
    std::memcpy(m_data.data(), plain.utf16(), size_t(plain.size()) * sizeof(char16_t));
    m_gapStart = int(plain.size());
    m_gapEnd = int(m_data.size());
    std::vector<int>().swap(m_lineStarts);
    const qsizetype breaks = plain.count(QLatin1Char('\n'));
    m_lineStarts.reserve(size_t(breaks) + 1);
    m_lineStarts.push_back(0);
    m_longestLine = 0;
    const char16_t *chars = m_data.data();
    for (int i = 0; i < m_gapStart; ++i) {
        if (chars[i] == u'\n') {
            m_longestLine = std::max(m_longestLine, i - m_lineStarts.back());
            m_lineStarts.push_back(i + 1);
        }
    }
    m_longestLine = std::max(m_longestLine, m_gapStart - m_lineStarts.back());
}

QChar PlainTextBuffer::at(int position) const {
    if (position < 0 || position >= length())
        return {};
    return QChar(m_data[size_t(raw(position))]);
}

QString PlainTextBuffer::text(int start, int end) const {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    QString result(end - start, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    // The part before the gap, then the part after it.
    const int beforeEnd = std::min(end, m_gapStart);
    if (start < beforeEnd) {
        std::memcpy(out, m_data.data() + start, size_t(beforeEnd - start) * sizeof(char16_t));
        out += beforeEnd - start;
    }
    const int afterStart = std::max(start, m_gapStart);
    if (afterStart < end)
        std::memcpy(out, m_data.data() + afterStart + gapSize(),
                    size_t(end - afterStart) * sizeof(char16_t));
    return result;
}

int PlainTextBuffer::lineStart(int line) const {
    return m_lineStarts[size_t(std::clamp(line, 0, lineCount() - 1))];
}

int PlainTextBuffer::lineLength(int line) const {
    line = std::clamp(line, 0, lineCount() - 1);
    const int end = line + 1 < lineCount() ? m_lineStarts[size_t(line) + 1] - 1 : length();
    return end - m_lineStarts[size_t(line)];
}

QString PlainTextBuffer::lineText(int line) const {
    const int start = lineStart(line);
    return text(start, start + lineLength(line));
}

int PlainTextBuffer::lineOf(int position) const {
    position = std::clamp(position, 0, length());
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return int(next - m_lineStarts.begin()) - 1;
}

void PlainTextBuffer::moveGap(int position) {
    if (position == m_gapStart)
        return;
    char16_t *data = m_data.data();
    if (position < m_gapStart) {
        const int count = m_gapStart - position;
        std::memmove(data + m_gapEnd - count, data + position, size_t(count) * sizeof(char16_t));
        m_gapStart -= count;
        m_gapEnd -= count;
    } else {
        const int count = position - m_gapStart;
        std::memmove(data + m_gapStart, data + m_gapEnd, size_t(count) * sizeof(char16_t));
        m_gapStart += count;
        m_gapEnd += count;
    }
}

void PlainTextBuffer::ensureGap(int size) {
    if (gapSize() >= size)
        return;
    const int after = int(m_data.size()) - m_gapEnd;
    const size_t grown = m_data.size() + size_t(size) + size_t(MinimumGap) + m_data.size() / 8;
    m_data.resize(grown);
    char16_t *data = m_data.data();
    std::memmove(data + grown - after, data + m_gapEnd, size_t(after) * sizeof(char16_t));
    m_gapEnd = int(grown) - after;
}

int PlainTextBuffer::replace(int start, int end, QStringView text) {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    const QString inserted = normalized(text);
    const int firstLine = lineOf(start);
    const int lastLine = lineOf(end);
    moveGap(start);
    m_gapEnd += end - start;
    ensureGap(int(inserted.size()));
    std::memcpy(m_data.data() + m_gapStart, inserted.utf16(),
                size_t(inserted.size()) * sizeof(char16_t));
    m_gapStart += int(inserted.size());

    // The lines that began inside the replaced range go, those the new text starts come in,
    // and every later line moves by the difference.
    std::vector<int> newStarts;
    for (qsizetype i = 0; i < inserted.size(); ++i)
        if (inserted[i] == QLatin1Char('\n'))
            newStarts.push_back(start + int(i) + 1);
    const int delta = int(inserted.size()) - (end - start);
    auto first = m_lineStarts.begin() + firstLine + 1;
    auto last = m_lineStarts.begin() + lastLine + 1;
    if (delta != 0)
        for (auto it = last; it != m_lineStarts.end(); ++it)
            *it += delta;
    const auto removed = last - first;
    if (removed >= qsizetype(newStarts.size())) {
        std::copy(newStarts.begin(), newStarts.end(), first);
        m_lineStarts.erase(first + qsizetype(newStarts.size()), last);
    } else {
        std::copy(newStarts.begin(), newStarts.begin() + removed, first);
        m_lineStarts.insert(last, newStarts.begin() + removed, newStarts.end());
    }
    const int touchedLast = firstLine + int(newStarts.size());
    for (int line = firstLine; line <= touchedLast; ++line)
        m_longestLine = std::max(m_longestLine, lineLength(line));
    return int(inserted.size());
}

bool PlainTextBuffer::isWordChar(int position) const {
    const QChar c = at(position);
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool PlainTextBuffer::matchesAt(int position, QStringView needle, Qt::CaseSensitivity cs) const {
    for (qsizetype i = 0; i < needle.size(); ++i) {
        const QChar c = QChar(m_data[size_t(raw(position + int(i)))]);
        if (cs == Qt::CaseSensitive ? c != needle[i] : c.toCaseFolded() != needle[i].toCaseFolded())
            return false;
    }
    return true;
}

int PlainTextBuffer::find(QStringView needle, int from, int to, Qt::CaseSensitivity cs,
                          bool wholeWord, bool backward) const {
    from = std::clamp(from, 0, length());
    to = std::clamp(to, from, length());
    const int size = int(needle.size());
    if (size == 0 || to - from < size)
        return -1;
    const QChar first = cs == Qt::CaseSensitive ? needle[0] : needle[0].toCaseFolded();
    const int lastStart = to - size;
    const auto candidate = [&](int position) {
        const QChar c = QChar(m_data[size_t(raw(position))]);
        if ((cs == Qt::CaseSensitive ? c : c.toCaseFolded()) != first)
            return false;
        if (!matchesAt(position, needle, cs))
            return false;
        return !wholeWord ||
               ((position == 0 || !isWordChar(position - 1)) && !isWordChar(position + size));
    };
    if (backward) {
        for (int position = lastStart; position >= from; --position)
            if (candidate(position))
                return position;
    } else {
        for (int position = from; position <= lastStart; ++position)
            if (candidate(position))
                return position;
    }
    return -1;
}
