#include "editor/richtext/plaintextcodec.h"

#include <QStringDecoder>
#include <array>
#include <optional>

namespace PlainTextCodec {

namespace {

// 0x80-0x9F of Windows-1252; the five unassigned bytes map to the C1 control of the same value
// so that they survive a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<QByteArray> encodeWindows1252(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < int(kHighControls.size()); ++i) {
            if (kHighControls[i] == u) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return std::nullopt;
        out.append(char(0x80 + found));
    }
    return out;
}

QByteArray firstLineBreak(const QByteArray &bytes) {
    const qsizetype at = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    if (cr >= 0 && (at < 0 || cr < at))
        return cr + 1 < bytes.size() && bytes.at(cr + 1) == '\n' ? QByteArray("\r\n")
                                                                 : QByteArray("\r");
    return "\n";
}

QString joinLinesWithNewline(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

QString decodeWindows1252(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out.append(u >= 0x80 && u < 0xA0 ? QChar(kHighControls[u - 0x80]) : QChar(u));
    }
    return out;
}

TextFile decode(const QByteArray &bytes) {
    TextFile file;
    file.lineBreak = firstLineBreak(bytes);
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        file.byteOrderMark = true;
        body.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (utf8.hasError()) {
        file.encoding = Encoding::Windows1252;
        file.byteOrderMark = false;
        text = decodeWindows1252(bytes);
    }
    file.text = joinLinesWithNewline(text);
    return file;
}

QByteArray encode(const QString &text, const TextFile &file) {
    QString lines = text;
    lines.replace(QChar::ParagraphSeparator, u'\n');
    const QString lineBreak = QString::fromLatin1(file.lineBreak);
    if (lineBreak != QLatin1String("\n"))
        lines.replace(u'\n', lineBreak);
    if (file.encoding == Encoding::Windows1252) {
        if (std::optional<QByteArray> bytes = encodeWindows1252(lines))
            return *bytes;
    }
    QByteArray out = file.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    out.append(lines.toUtf8());
    return out;
}

} // namespace PlainTextCodec
