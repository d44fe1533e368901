#include "platform/textfile.h"

#include "platform/savefile.h"
#include "platform/usererror.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

QString reasonFromErrno(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Opens a regular file for reading. O_NONBLOCK keeps the open of a pipe from waiting for a
// writer; the type check then refuses anything that is not a plain file.
int openRegularFile(const QString &path, QString *reason) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *reason = reasonFromErrno(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *reason = S_ISDIR(st.st_mode) ? QStringLiteral("It is a folder")
                                      : QStringLiteral("It is not a regular file");
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads from fd until the end, handing each block to `block`; stops early when it answers false.
// Answers false on a read error (reason set).
template <typename Block>
bool readBlocks(int fd, QString *reason, Block block) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *reason = reasonFromErrno(errno);
            return false;
        }
        if (n == 0 || !block(buffer, size_t(n)))
            return true;
    }
}

QString decodeBytewise(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = QChar(b == 0 ? 1 : b);
    }
    return text;
}

QString decodeCp1252(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = QChar(Windows1252::toUnicode(b));
    }
    return text;
}

std::optional<QByteArray> encodeCp1252(const QString &text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = Windows1252::fromUnicode(text[i].unicode());
        if (byte < 0)
            return std::nullopt;
        bytes[i] = char(byte);
    }
    return bytes;
}

QByteArray encodeBytewise(const QString &text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == 1)
            bytes.append('\0');
        else if (c <= 0xFF)
            bytes.append(char(c));
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // Typed into a data file: kept as UTF-8 rather than dropped.
            bytes.append(text.mid(i, 2).toUtf8());
            ++i;
        } else {
            bytes.append(QString(QChar(c)).toUtf8());
        }
    }
    return bytes;
}

QString withLineBreaks(const QString &text, LineBreak style) {
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lf.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    switch (style) {
    case LineBreak::LF:
        return lf;
    case LineBreak::CRLF:
        return lf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    case LineBreak::CR:
        return lf.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    }
    return lf;
}

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoded text is produced only when the result is converted to a string.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString &path, QString *reason) {
    const int fd = openRegularFile(path, reason);
    if (fd < 0)
        return std::nullopt;
    QByteArray bytes;
    const bool ok = readBlocks(fd, reason, [&](const char *data, size_t size) {
        bytes.append(data, qsizetype(size));
        return true;
    });
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}

QString TextFileError::message() const {
    return path + QStringLiteral(": ") + reason;
}

TextFormat DetectTextFormat(const QByteArray &bytes) {
    TextFormat format;
    if (bytes.contains('\0')) {
        format.dataFile = true;
        return format;
    }
    QByteArrayView body(bytes);
    if (bytes.startsWith(kUtf8Bom)) {
        format.byteOrderMark = true;
        body = body.sliced(3);
    }
    if (!isValidUtf8(body)) {
        format.encoding = TextEncoding::Windows1252;
        format.byteOrderMark = false;
    }
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            format.lineBreak = LineBreak::LF;
            break;
        }
        if (bytes[i] == '\r') {
            const bool pair = i + 1 < bytes.size() && bytes[i + 1] == '\n';
            format.lineBreak = pair ? LineBreak::CRLF : LineBreak::CR;
            break;
        }
    }
    return format;
}

QString DecodeText(const QByteArray &bytes, const TextFormat &format) {
    if (format.dataFile)
        return decodeBytewise(bytes);
    QString text;
    if (format.encoding == TextEncoding::Utf8) {
        QByteArrayView body(bytes);
        if (format.byteOrderMark && bytes.startsWith(kUtf8Bom))
            body = body.sliced(3);
        // A second mark inside the text is content and stays.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        text = decoder.decode(body);
    } else {
        text = decodeCp1252(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray EncodeText(const QString &text, const TextFormat &format, TextFormat *used) {
    TextFormat actual = format;
    QByteArray bytes;
    if (format.dataFile) {
        bytes = encodeBytewise(text);
    } else {
        const QString lines = withLineBreaks(text, format.lineBreak);
        std::optional<QByteArray> cp1252;
        if (format.encoding == TextEncoding::Windows1252)
            cp1252 = encodeCp1252(lines);
        if (cp1252) {
            bytes = *cp1252;
        } else {
            actual.encoding = TextEncoding::Utf8;
            if (format.encoding != TextEncoding::Utf8)
                actual.byteOrderMark = false;
            if (actual.byteOrderMark)
                bytes = kUtf8Bom;
            bytes += lines.toUtf8();
        }
    }
    if (used)
        *used = actual;
    return bytes;
}

TextFileContent LoadTextFile(const QString &path) {
    TextFileContent content;
    QString reason;
    const std::optional<QByteArray> bytes = readWholeFile(path, &reason);
    if (!bytes) {
        content.error = TextFileError{path, reason};
        return content;
    }
    content.format = DetectTextFormat(*bytes);
    content.text = DecodeText(*bytes, content.format);
    if (content.format.dataFile)
        content.dataBytes = *bytes;
    return content;
}

TextFileSaveResult SaveTextFile(const QString &path, const QString &text,
                                const TextFormat &format) {
    TextFileSaveResult result;
    const QByteArray bytes = EncodeText(text, format, &result.written);
    if (const std::optional<QString> reason = saveFileAtomically(path, bytes))
        result.error = TextFileError{path, *reason};
    return result;
}

bool IsDataFile(const QString &path) {
    QString reason;
    const int fd = openRegularFile(path, &reason);
    if (fd < 0)
        return false;
    bool found = false;
    const bool ok = readBlocks(fd, &reason, [&](const char *data, size_t size) {
        found = std::memchr(data, 0, size) != nullptr;
        return !found;
    });
    ::close(fd);
    return ok && found;
}

QString ReadTextFile(const QString &path) {
    QString reason;
    const std::optional<QByteArray> bytes = readWholeFile(path, &reason);
    if (!bytes)
        throw UserError(TextFileError{path, reason}.message());
    return decodeBytewise(*bytes);
}

int FileSizeKB(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return 1;
    const long long kb = (long long)(st.st_size / 1024) + 1;
    return kb > INT_MAX ? INT_MAX : int(kb);
}
