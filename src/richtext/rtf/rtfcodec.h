#pragma once

#include <QByteArrayView>
#include <QString>
#include <vector>

struct UConverter;

// Decodes bytes of Windows (and a few Mac and DOS) code pages into text through ICU, keeping one
// converter per code page met. A byte the code page does not define still becomes a character
// (its Windows-1252 reading), so a file that declares the wrong code page loses no text.
class RtfCodec {
public:
    RtfCodec() = default;
    RtfCodec(const RtfCodec &) = delete;
    RtfCodec &operator=(const RtfCodec &) = delete;
    ~RtfCodec();

    // Appends the decoded bytes to out. Unknown code pages read as Windows-1252.
    void decode(int codePage, QByteArrayView bytes, QString &out);

private:
    UConverter *converterFor(int codePage);

    std::vector<std::pair<int, UConverter *>> m_converters;
};

namespace RtfCodePage {

inline constexpr int Windows1252 = 1252;
inline constexpr int Symbol = 42; // the Symbol font's own encoding, as Windows numbers it

// The code page of a font's \fcharset; DEFAULT_CHARSET (1) answers the document's code page.
int forCharset(int charset, int documentCodePage);
// Whether a code page can be decoded (else it reads as Windows-1252).
bool isSupported(int codePage);
// The character a Windows-1252 byte stands for (undefined bytes map to C1 controls).
char16_t windows1252Char(unsigned char byte);
// The Windows-1252 byte of a character, or -1 when it has none (ASCII answers itself).
int windows1252Byte(char16_t ch);
// The Unicode character of a Symbol font byte, or 0 when the byte has none.
char16_t symbolChar(unsigned char byte);

} // namespace RtfCodePage

// Appends text as RTF body characters: ASCII as it is (with \, { and } escaped), tabs, line
// separators and special spaces by their control words, other control characters dropped, the
// rest as \uN followed by a \'xx fallback byte of Windows-1252 ("?" where it has none).
void appendRtfText(QByteArray &out, QStringView text);
