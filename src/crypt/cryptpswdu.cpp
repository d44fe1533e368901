#include "crypt/cryptpswdu.h"

#include "platform/windows1252.h"

#include <QByteArray>
#include <QStringList>
#include <array>
#include <cstdint>

namespace {

// Scrambled bytes below this would be control characters, spaces or the marker's "!": a result
// of the plain algorithm never holds them when text and password are printable.
constexpr int kLowestPlainByte = 42;

const QString kMarker = QStringLiteral("!QVS1!");
constexpr int kLineLength = 64;
constexpr char kAlphabet[] = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
static_assert(sizeof(kAlphabet) == 33);

QChar cp1252Char(uint8_t byte) {
    return QChar(Windows1252::toUnicode(byte));
}

// The code-page byte of a character, -1 when the code page has none.
int cp1252Byte(char16_t c) {
    return Windows1252::fromUnicode(c);
}

std::optional<QByteArray> cp1252Bytes(const QString &text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1252Byte(text.at(i).unicode());
        if (b < 0)
            return std::nullopt;
        bytes[i] = char(b);
    }
    return bytes;
}

QString cp1252Text(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = cp1252Char(uint8_t(bytes[i]));
    return text;
}

// Bytes the document gives back exactly as they were set: no NUL, and CR and LF only as the pair
// CR LF that stands for a line break.
bool keptByDocument(const QByteArray &bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char b = bytes[i];
        if (b == '\0')
            return false;
        if (b == '\r' && (i + 1 == n || bytes[i + 1] != '\n'))
            return false;
        if (b == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return true;
}

// UTF-8 that also carries unpaired surrogates (as their three-byte form), so every QString
// survives the round trip.
QByteArray toWideUtf8(const QString &text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        uint32_t cp = text.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(char16_t(cp), text.at(i + 1).unicode());
            ++i;
        }
        if (cp < 0x80) {
            out.append(char(cp));
        } else if (cp < 0x800) {
            out.append(char(0xC0 | (cp >> 6)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.append(char(0xE0 | (cp >> 12)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else {
            out.append(char(0xF0 | (cp >> 18)));
            out.append(char(0x80 | ((cp >> 12) & 0x3F)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::optional<QString> fromWideUtf8(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uint8_t lead = uint8_t(bytes[i]);
        int extra = 0;
        uint32_t cp = 0;
        uint32_t least = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + extra >= n && extra > 0)
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const uint8_t c = uint8_t(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF)
            return std::nullopt;
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += extra + 1;
    }
    return out;
}

uint32_t checkValue(const QByteArray &bytes) {
    // FNV-1a: tells a wrong password or a damaged text from the right one.
    uint32_t h = 2166136261u;
    for (const char c : bytes) {
        h ^= uint8_t(c);
        h *= 16777619u;
    }
    return h;
}

void shift(QByteArray &bytes, const QByteArray &key, int direction) {
    const qsizetype m = key.size();
    qsizetype j = 0;
    for (char &b : bytes) {
        b = char(uint8_t(b) + direction * uint8_t(key[j]));
        if (++j == m)
            j = 0;
    }
}

QString toPunctuation(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size() * 8 / 5 + 2);
    uint32_t buffer = 0;
    int bits = 0;
    for (const char c : bytes) {
        buffer = (buffer << 8) | uint8_t(c);
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            out.append(QLatin1Char(kAlphabet[(buffer >> bits) & 31]));
        }
    }
    if (bits > 0)
        out.append(QLatin1Char(kAlphabet[(buffer << (5 - bits)) & 31]));
    return out;
}

std::optional<QByteArray> fromPunctuation(QStringView text) {
    static const std::array<int8_t, 128> value = [] {
        std::array<int8_t, 128> v{};
        v.fill(-1);
        for (int i = 0; i < 32; ++i)
            v[size_t(uint8_t(kAlphabet[i]))] = int8_t(i);
        return v;
    }();
    QByteArray out;
    out.reserve(text.size() * 5 / 8 + 1);
    uint32_t buffer = 0;
    int bits = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t')
            continue; // line breaks and wrapping added by other programs
        if (c >= 128 || value[c] < 0)
            return std::nullopt;
        buffer = (buffer << 5) | uint32_t(value[c]);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            out.append(char((buffer >> bits) & 0xFF));
        }
    }
    // Only the padding of the last character may be left, and it is zero.
    if (bits >= 5 || (buffer & ((1u << bits) - 1)) != 0)
        return std::nullopt;
    return out;
}

QString encryptExtended(const QString &text, const QString &password) {
    const QByteArray plain = toWideUtf8(text);
    const uint32_t check = checkValue(plain);
    QByteArray payload;
    payload.reserve(plain.size() + 4);
    for (int s = 24; s >= 0; s -= 8)
        payload.append(char((check >> s) & 0xFF));
    payload.append(plain);
    shift(payload, toWideUtf8(password), +1);

    const QString body = toPunctuation(payload);
    QString out = kMarker;
    out.reserve(body.size() + body.size() / kLineLength * 2 + kMarker.size() + 2);
    for (qsizetype i = 0; i < body.size(); i += kLineLength) {
        out.append(QLatin1String("\r\n"));
        out.append(QStringView(body).mid(i, kLineLength));
    }
    return out;
}

enum class Extended { NotExtended, Wrong, Done };

Extended decryptExtended(const QString &text, const QString &password, QString *result) {
    if (!text.startsWith(kMarker))
        return Extended::NotExtended;
    // A damaged form is refused rather than unscrambled the plain way into nonsense.
    std::optional<QByteArray> payload = fromPunctuation(QStringView(text).mid(kMarker.size()));
    if (!payload || payload->size() < 4)
        return Extended::Wrong;
    shift(*payload, toWideUtf8(password), -1);
    uint32_t check = 0;
    for (int i = 0; i < 4; ++i)
        check = (check << 8) | uint8_t((*payload)[i]);
    const QByteArray plain = payload->mid(4);
    if (checkValue(plain) != check)
        return Extended::Wrong;
    std::optional<QString> decoded = fromWideUtf8(plain);
    if (!decoded)
        return Extended::Wrong;
    *result = *decoded;
    return Extended::Done;
}

} // namespace

QString EncryptText(const QString &text, const QString &password) {
    if (password.isEmpty())
        return text;
    std::optional<QByteArray> bytes = cp1252Bytes(text);
    const std::optional<QByteArray> key = cp1252Bytes(password);
    if (!bytes || !key || !keptByDocument(*bytes))
        return encryptExtended(text, password);
    shift(*bytes, *key, +1);
    for (const char b : *bytes) {
        if (uint8_t(b) < kLowestPlainByte)
            return encryptExtended(text, password);
    }
    return cp1252Text(*bytes);
}

std::optional<QString> DecryptText(const QString &text, const QString &password) {
    if (password.isEmpty())
        return text;
    QString result;
    switch (decryptExtended(text, password, &result)) {
    case Extended::Done:
        return result;
    case Extended::Wrong:
        return std::nullopt;
    case Extended::NotExtended:
        break;
    }

    // Line breaks at the very end were added after scrambling (a text file that gained a last
    // line break): scrambled text never holds one, so they are kept as they are.
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == u'\r' || text.at(end - 1) == u'\n'))
        --end;
    std::optional<QByteArray> bytes = cp1252Bytes(text.left(end));
    const std::optional<QByteArray> key = cp1252Bytes(password);
    if (!bytes || !key)
        return std::nullopt;
    shift(*bytes, *key, -1);
    if (!keptByDocument(*bytes))
        return std::nullopt;
    return cp1252Text(*bytes) + text.mid(end);
}

int CryptRatio(const QString &text) {
    qsizetype k = 1;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            ++k;
    }
    return int(text.size() / k);
}
