#pragma once

#include <array>

// The Windows-1252 code page, shared by the plain-text codec, the RTF codec, the scrambler and
// the text tools. Bytes below 0x80 and from 0xA0 stand for the character of the same code.
namespace Windows1252 {

// Bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the C1 control of the
// same code, so that every byte survives a read and a write unchanged.
inline constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t toUnicode(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? High[byte - 0x80] : char16_t(byte);
}

// The byte of a character, -1 when the code page has none. The C1 stand-ins count as the
// bytes they stand for.
constexpr int fromUnicode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(High.size()); ++i) {
        if (High[size_t(i)] == c)
            return 0x80 + i;
    }
    return -1;
}

// A character of bytes 0x80..0x9F that lies beyond Latin-1 (not one of the C1 stand-ins).
constexpr bool isHighCharacter(char16_t c) {
    if (c < 0x100)
        return false;
    for (char16_t h : High) {
        if (h == c)
            return true;
    }
    return false;
}

} // namespace Windows1252
