#include "richtext/rtf/rtfcodec.h"

#include "platform/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace {

// The Symbol font from 0x20 to 0xFF; 0 marks bytes without a character.
constexpr std::array<char16_t, 224> symbolTable = {
    // 0x20
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F,
    // 0x30
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F,
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
    0x039B, 0x039C, 0x039D, 0x039F,
    // 0x50
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F,
    // 0x60
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA,
    0x03BB, 0x03BC, 0x03BD, 0x03BF,
    // 0x70
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B,
    0x007C, 0x007D, 0x223C, 0,
    // 0x80, 0x90
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193,
    // 0xB0
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
    0x2282, 0x2286, 0x2208, 0x2209,
    // 0xD0
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
    0x21D0, 0x21D1, 0x21D2, 0x21D3,
    // 0xE0
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3,
    0x23A7, 0x23A8, 0x23A9, 0x23AA,
    // 0xF0
    0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6,
    0x23AB, 0x23AC, 0x23AD, 0};

struct CodePageName {
    int codePage;
    const char *icuName;
};

// Sorted by code page. Code pages ICU lacks borrow their nearest relative: Mac Japanese reads
// as Shift-JIS, Johab as the Korean Windows code page.
constexpr CodePageName codePageNames[] = {
    {437, "ibm-437"},
    {708, "iso-8859-6"},
    {737, "ibm-737"},
    {775, "ibm-775"},
    {850, "ibm-850"},
    {852, "ibm-852"},
    {855, "ibm-855"},
    {857, "ibm-857"},
    {860, "ibm-860"},
    {861, "ibm-861"},
    {862, "ibm-862"},
    {863, "ibm-863"},
    {864, "ibm-864"},
    {865, "ibm-865"},
    {866, "ibm-866"},
    {869, "ibm-869"},
    {874, "windows-874"},
    {932, "windows-932"},
    {936, "windows-936"},
    {949, "windows-949"},
    {950, "windows-950"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
    {1361, "windows-949"},
    {10000, "macintosh"},
    {10001, "windows-932"},
    {10006, "x-mac-greek"},
    {10007, "x-mac-cyrillic"},
    {10029, "x-mac-centraleurope"},
    {10081, "x-mac-turkish"},
    {20127, "us-ascii"},
    {20866, "koi8-r"},
    {21866, "koi8-u"},
    {28591, "iso-8859-1"},
    {28592, "iso-8859-2"},
    {28595, "iso-8859-5"},
    {28597, "iso-8859-7"},
    {28605, "iso-8859-15"},
    {65001, "utf-8"},
};

static_assert(std::is_sorted(std::begin(codePageNames), std::end(codePageNames),
                             [](const CodePageName &a, const CodePageName &b) {
                                 return a.codePage < b.codePage;
                             }));

const char *icuNameFor(int codePage) {
    const auto *it = std::lower_bound(
        std::begin(codePageNames), std::end(codePageNames), codePage,
        [](const CodePageName &entry, int value) { return entry.codePage < value; });
    if (it == std::end(codePageNames) || it->codePage != codePage)
        return nullptr;
    return it->icuName;
}

void appendWindows1252(QByteArrayView bytes, QString &out) {
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *target = out.data() + start;
    for (char c : bytes)
        *target++ = QChar(RtfCodePage::windows1252Char(static_cast<unsigned char>(c)));
}

void appendSymbol(QByteArrayView bytes, QString &out) {
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t mapped = RtfCodePage::symbolChar(byte);
        // Bytes without a Symbol character keep the private-use slot Windows gives them.
        out.append(QChar(mapped != 0 ? mapped : char16_t(0xF000 + byte)));
    }
}

} // namespace

RtfCodec::~RtfCodec() {
    for (auto &entry : m_converters) {
        if (entry.second != nullptr)
            ucnv_close(entry.second);
    }
}

UConverter *RtfCodec::converterFor(int codePage) {
    for (auto &entry : m_converters) {
        if (entry.first == codePage)
            return entry.second;
    }
    UConverter *converter = nullptr;
    if (const char *name = icuNameFor(codePage)) {
        UErrorCode error = U_ZERO_ERROR;
        converter = ucnv_open(name, &error);
        if (U_FAILURE(error)) {
            converter = nullptr;
        } else {
            // Stop at undefined bytes so that decode() can read them as Windows-1252.
            error = U_ZERO_ERROR;
            ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                &error);
        }
    }
    m_converters.emplace_back(codePage, converter);
    return converter;
}

void RtfCodec::decode(int codePage, QByteArrayView bytes, QString &out) {
    if (bytes.isEmpty())
        return;
    if (codePage == RtfCodePage::Symbol) {
        appendSymbol(bytes, out);
        return;
    }
    UConverter *converter = codePage == RtfCodePage::Windows1252 ? nullptr : converterFor(codePage);
    if (converter == nullptr) {
        appendWindows1252(bytes, out);
        return;
    }
    const char *source = bytes.data();
    const char *const sourceEnd = bytes.data() + bytes.size();
    // One byte never gives more than two UTF-16 units.
    std::vector<UChar> buffer(static_cast<std::size_t>(bytes.size()) * 2 + 8);
    std::size_t written = 0;
    ucnv_reset(converter);
    while (source < sourceEnd) {
        UErrorCode error = U_ZERO_ERROR;
        UChar *target = buffer.data() + written;
        ucnv_toUnicode(converter, &target, buffer.data() + buffer.size(), &source, sourceEnd,
                       nullptr, true, &error);
        written = static_cast<std::size_t>(target - buffer.data());
        if (!U_FAILURE(error))
            break;
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        // An undefined or broken sequence, consumed by the converter: read those bytes as
        // Windows-1252 and go on after them.
        char invalid[32];
        int8_t invalidLength = sizeof(invalid);
        UErrorCode infoError = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter, invalid, &invalidLength, &infoError);
        if (U_FAILURE(infoError) || invalidLength <= 0) {
            invalidLength = 1;
            invalid[0] = *source;
            ++source;
        }
        ucnv_reset(converter);
        if (buffer.size() < written + static_cast<std::size_t>(invalidLength) + 8)
            buffer.resize(buffer.size() * 2 + static_cast<std::size_t>(invalidLength));
        for (int i = 0; i < invalidLength; ++i)
            buffer[written++] =
                RtfCodePage::windows1252Char(static_cast<unsigned char>(invalid[i]));
    }
    out.append(QStringView(buffer.data(), static_cast<qsizetype>(written)));
}

namespace RtfCodePage {

int forCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0:
        return 1252;
    case 1:
        return documentCodePage;
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 1361;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
    case 179:
    case 180:
    case 181:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

bool isSupported(int codePage) {
    return codePage == Windows1252 || codePage == Symbol || icuNameFor(codePage) != nullptr;
}

char16_t windows1252Char(unsigned char byte) {
    return ::Windows1252::toUnicode(byte);
}

int windows1252Byte(char16_t ch) {
    // The C1 stand-ins are no real characters of the code page; write them as Unicode.
    if (ch >= 0x80 && ch < 0xA0)
        return -1;
    return ::Windows1252::fromUnicode(ch);
}

char16_t symbolChar(unsigned char byte) {
    if (byte < 0x20)
        return 0;
    return symbolTable[byte - 0x20];
}

} // namespace RtfCodePage

void appendRtfText(QByteArray &out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Plain ASCII, the bulk of most text, goes in one piece.
        qsizetype plain = i;
        while (plain < text.size()) {
            const char16_t c = text[plain].unicode();
            if (c < 0x20 || c >= 0x80 || c == '\\' || c == '{' || c == '}')
                break;
            ++plain;
        }
        if (plain > i) {
            const qsizetype at = out.size();
            out.resize(at + (plain - i));
            char *target = out.data() + at;
            for (qsizetype k = i; k < plain; ++k)
                *target++ = static_cast<char>(text[k].unicode());
            i = plain;
            if (i >= text.size())
                break;
        }
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                out.append('\\');
            out.append(static_cast<char>(c));
            continue;
        }
        switch (c) {
        case '\t':
            out.append("\\tab ");
            continue;
        case QChar::LineSeparator:
            out.append("\\line ");
            continue;
        case 0x00A0:
            out.append("\\~");
            continue;
        case 0x00AD:
            out.append("\\-");
            continue;
        case 0x2011:
            out.append("\\_");
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        // \uN (a signed 16-bit number) for readers that know Unicode, then the one byte \uc1
        // skips for those that do not: the character in Windows-1252, else "?". The byte is
        // written as \'xx, since one reader drops the blank after a bare "?" fallback.
        const int byte = RtfCodePage::windows1252Byte(c);
        const int fallback = byte >= 0 ? byte : '?';
        static constexpr char hex[] = "0123456789abcdef";
        out.append("\\u");
        out.append(QByteArray::number(static_cast<std::int16_t>(c)));
        out.append("\\'");
        out.append(hex[fallback >> 4]);
        out.append(hex[fallback & 0xF]);
    }
}
