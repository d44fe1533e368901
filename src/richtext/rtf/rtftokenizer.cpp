#include "richtext/rtf/rtftokenizer.h"

#include <climits>

namespace {

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

RtfToken tokenOf(RtfToken::Type type) {
    RtfToken token;
    token.type = type;
    return token;
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool RtfTokenizer::seekHeader() {
    const qsizetype limit = qMin<qsizetype>(m_data.size(), 1024);
    for (qsizetype i = 0; i < limit; ++i) {
        if (m_data[i] != '{')
            continue;
        qsizetype j = i + 1;
        while (j < m_data.size() &&
               (m_data[j] == ' ' || m_data[j] == '\r' || m_data[j] == '\n' || m_data[j] == '\t'))
            ++j;
        if (m_data.sliced(j).startsWith("\\rtf")) {
            m_position = i;
            return true;
        }
    }
    return false;
}

RtfToken RtfTokenizer::next() {
    const qsizetype size = m_data.size();
    while (m_position < size) {
        const auto c = static_cast<unsigned char>(m_data[m_position]);
        switch (c) {
        case '{':
            ++m_position;
            return tokenOf(RtfToken::Type::GroupStart);
        case '}':
            ++m_position;
            return tokenOf(RtfToken::Type::GroupEnd);
        case '\\':
            return readControl();
        case '\r':
        case '\n':
        case '\0':
            // Line breaks in RTF source are formatting of the source only.
            ++m_position;
            continue;
        default: {
            const qsizetype start = m_position;
            while (m_position < size) {
                const auto d = static_cast<unsigned char>(m_data[m_position]);
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n' || d == '\0')
                    break;
                ++m_position;
            }
            RtfToken token = tokenOf(RtfToken::Type::Text);
            token.text = m_data.sliced(start, m_position - start);
            return token;
        }
        }
    }
    return tokenOf(RtfToken::Type::End);
}

RtfToken RtfTokenizer::readControl() {
    const qsizetype size = m_data.size();
    ++m_position; // the backslash
    if (m_position >= size)
        return tokenOf(RtfToken::Type::End);
    const auto c = static_cast<unsigned char>(m_data[m_position]);
    if (isLetter(c)) {
        const qsizetype start = m_position;
        while (m_position < size && isLetter(static_cast<unsigned char>(m_data[m_position])))
            ++m_position;
        RtfToken token = tokenOf(RtfToken::Type::ControlWord);
        token.text = m_data.sliced(start, qMin<qsizetype>(m_position - start, maxWordLength));
        if (m_position - start > maxWordLength)
            token.text = QByteArrayView(); // no known word is this long
        bool negative = false;
        if (m_position + 1 < size && m_data[m_position] == '-' &&
            isDigit(static_cast<unsigned char>(m_data[m_position + 1]))) {
            negative = true;
            ++m_position;
        }
        if (m_position < size && isDigit(static_cast<unsigned char>(m_data[m_position]))) {
            long long value = 0;
            while (m_position < size && isDigit(static_cast<unsigned char>(m_data[m_position]))) {
                if (value <= INT_MAX)
                    value = value * 10 + (m_data[m_position] - '0');
                ++m_position;
            }
            if (negative)
                value = -value;
            token.hasParameter = true;
            token.parameter = static_cast<int>(
                qBound<long long>(INT_MIN, value, static_cast<long long>(INT_MAX)));
        }
        if (m_position < size && m_data[m_position] == ' ')
            ++m_position;
        return token;
    }
    if (c == '\'') {
        ++m_position;
        const int high = m_position < size ? hexValue(m_data[m_position]) : -1;
        if (high < 0) {
            // A broken escape stands for nothing; the reader ignores this symbol.
            RtfToken token = tokenOf(RtfToken::Type::ControlSymbol);
            token.symbol = '\'';
            return token;
        }
        ++m_position;
        const int low = m_position < size ? hexValue(m_data[m_position]) : -1;
        RtfToken token = tokenOf(RtfToken::Type::HexByte);
        if (low < 0) {
            token.symbol = static_cast<unsigned char>(high);
        } else {
            ++m_position;
            token.symbol = static_cast<unsigned char>(high * 16 + low);
        }
        return token;
    }
    ++m_position;
    RtfToken token = tokenOf(RtfToken::Type::ControlSymbol);
    token.symbol = c == '\r' ? '\n' : c;
    if (c == '\r' && m_position < size && m_data[m_position] == '\n')
        ++m_position;
    return token;
}

QByteArrayView RtfTokenizer::takeBinary(qint64 count) {
    if (count <= 0)
        return {};
    const qsizetype available = m_data.size() - m_position;
    const qsizetype taken = count < available ? static_cast<qsizetype>(count) : available;
    const QByteArrayView bytes = m_data.sliced(m_position, taken);
    m_position += taken;
    return bytes;
}
