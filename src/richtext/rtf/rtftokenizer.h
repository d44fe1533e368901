#pragma once

#include <QByteArrayView>
#include <cstdint>

// One lexical element of RTF. Views point into the tokenizer's input.
struct RtfToken {
    enum class Type : std::uint8_t {
        End,
        GroupStart,
        GroupEnd,
        ControlWord,   // text: the word's letters; parameter when hasParameter
        ControlSymbol, // symbol: the character after the backslash; '\n' for "\<newline>"
        Text,          // text: plain bytes, line breaks excluded
        HexByte        // symbol: the byte of "\'xx"
    };
    Type type = Type::End;
    bool hasParameter = false;
    unsigned char symbol = 0;
    int parameter = 0;
    QByteArrayView text;
};

// Splits RTF bytes into tokens. Never reads past the end, whatever the input: names are
// capped, numbers saturate, a truncated escape ends the input.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView data)
        : m_data(data) {}

    RtfToken next();
    // Takes up to count raw bytes, as a "\binN" word asks for; fewer at the end of the input.
    QByteArrayView takeBinary(qint64 count);
    // Skips bytes up to the first "{\rtf", allowing junk before it. False when there is none
    // within the first kilobyte (the input is not RTF).
    bool seekHeader();

    qsizetype position() const { return m_position; }
    qsizetype size() const { return m_data.size(); }

    // Longest control word name kept; longer names are no words the reader knows.
    static constexpr int maxWordLength = 32;

private:
    RtfToken readControl();

    QByteArrayView m_data;
    qsizetype m_position = 0;
};
