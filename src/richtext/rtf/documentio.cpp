#include "richtext/rtf/documentio.h"

#include "platform/savefile.h"
#include "platform/usererror.h"
#include "richtext/rtf/rtfcodec.h"
#include "richtext/rtf/rtfdocumentsink.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rtf/rtfreader.h"
#include "richtext/rtf/rtfwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

namespace {

const char *const encodingProperty = "quilletTextEncoding";
const char *const lineBreakProperty = "quilletLineBreak";
const char *const byteOrderMarkProperty = "quilletByteOrderMark";

QString loadFailed() {
    return QStringLiteral("Failed to Load Stream");
}
QString saveFailed() {
    return QStringLiteral("Failed to Save Stream");
}

bool readAllFrom(QIODevice &device, QByteArray &bytes) {
    if (!device.isOpen() || !device.isReadable())
        return false;
    bytes = device.readAll();
    // readAll() cannot tell an error from the end; a file device can.
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        return file->error() == QFileDevice::NoError;
    return true;
}

void loadPlainText(const QByteArray &bytes, QTextDocument &document, LoadOutcome &outcome) {
    const TextFormat format = detectPlainTextFormat(bytes);
    const QString text = decodePlainText(bytes, format);
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(text);
    document.setUndoRedoEnabled(undo);
    setDocumentPlainTextFormat(document, format);
    outcome.format = StreamFormat::PlainText;
    outcome.plainText = format;
}

QByteArray lineBreakBytes(LineBreak style) {
    switch (style) {
    case LineBreak::CRLF:
        return QByteArrayLiteral("\r\n");
    case LineBreak::CR:
        return QByteArrayLiteral("\r");
    default:
        return QByteArrayLiteral("\n");
    }
}

// The document's text with its paragraphs (table cells included) joined by line breaks;
// pictures have no text and go.
QString documentText(const QTextDocument &document, const QString &lineBreak) {
    QString text;
    text.reserve(document.characterCount());
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!first)
            text.append(lineBreak);
        first = false;
        const QString blockText = block.text();
        for (QChar c : blockText) {
            if (c == QChar::LineSeparator)
                text.append(lineBreak);
            else if (c != QChar::ObjectReplacementCharacter)
                text.append(c);
        }
    }
    return text;
}

} // namespace

StreamFormat resolveStreamFormat(StreamFormat format, bool plainText) {
    if (format == StreamFormat::Default)
        return plainText ? StreamFormat::PlainText : StreamFormat::RichText;
    return format;
}

StreamFormat streamFormatForFileName(const QString &fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        return StreamFormat::PlainText;
    if (suffix.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0)
        return StreamFormat::RichText;
    return StreamFormat::Default;
}

TextFormat detectPlainTextFormat(const QByteArray &bytes) {
    TextFormat format;
    format.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder works only when its result becomes a string; hasError() is false before.
    const QString decoded = decoder.decode(bytes);
    format.encoding = decoder.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    if (format.encoding == TextEncoding::Windows1252)
        format.byteOrderMark = false;
    qsizetype breakAt = -1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r') {
            breakAt = i;
            break;
        }
    }
    if (breakAt >= 0) {
        if (bytes[breakAt] == '\n')
            format.lineBreak = LineBreak::LF;
        else if (breakAt + 1 < bytes.size() && bytes[breakAt + 1] == '\n')
            format.lineBreak = LineBreak::CRLF;
        else
            format.lineBreak = LineBreak::CR;
    }
    return format;
}

QString decodePlainText(const QByteArray &bytes, const TextFormat &format) {
    QString text;
    if (format.encoding == TextEncoding::Utf8) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder.decode(format.byteOrderMark ? bytes.mid(3) : bytes);
    } else {
        RtfCodec codec;
        codec.decode(RtfCodePage::Windows1252, bytes, text);
    }
    // Every line break style ends a paragraph; NUL has no place in the editor's text.
    QString normalized;
    normalized.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            normalized.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c.unicode() == 0) {
            normalized.append(QChar(1));
        } else {
            normalized.append(c);
        }
    }
    return normalized;
}

QByteArray encodePlainText(const QTextDocument &document, const TextFormat &format) {
    return encodePlainText(
        documentText(document, QString::fromLatin1(lineBreakBytes(format.lineBreak))), format,
        false);
}

QByteArray encodePlainText(QStringView text, const TextFormat &format, bool breaksToConvert) {
    if (breaksToConvert && format.lineBreak != LineBreak::LF) {
        QString converted = text.toString();
        converted.replace(QLatin1Char('\n'), QString::fromLatin1(lineBreakBytes(format.lineBreak)));
        return encodePlainText(converted, format, false);
    }
    if (format.encoding == TextEncoding::Windows1252) {
        QByteArray bytes;
        bytes.reserve(text.size());
        bool complete = true;
        for (QChar c : text) {
            const int byte = c.unicode() >= 0x80 && c.unicode() < 0xA0
                                 ? c.unicode() // a C1 character read from an undefined byte
                                 : RtfCodePage::windows1252Byte(c.unicode());
            if (byte < 0) {
                complete = false;
                break;
            }
            bytes.append(static_cast<char>(byte));
        }
        if (complete)
            return bytes;
        // Text the code page cannot hold: UTF-8 keeps every character.
    }
    QByteArray bytes = format.byteOrderMark ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
    bytes.append(text.toUtf8());
    return bytes;
}

TextFormat documentPlainTextFormat(const QTextDocument &document) {
    TextFormat format;
    const QVariant encoding = document.property(encodingProperty);
    if (encoding.isValid())
        format.encoding = static_cast<TextEncoding>(encoding.toInt());
    const QVariant lineBreak = document.property(lineBreakProperty);
    if (lineBreak.isValid())
        format.lineBreak = static_cast<LineBreak>(lineBreak.toInt());
    format.byteOrderMark = document.property(byteOrderMarkProperty).toBool();
    return format;
}

void setDocumentPlainTextFormat(QTextDocument &document, const TextFormat &format) {
    document.setProperty(encodingProperty, static_cast<int>(format.encoding));
    document.setProperty(lineBreakProperty, static_cast<int>(format.lineBreak));
    document.setProperty(byteOrderMarkProperty, format.byteOrderMark);
}

RtfReadResult readRtf(const QByteArray &bytes, QTextDocument &document,
                      const ProgressCallback &progress) {
    if (!RtfReader::looksLikeRtf(bytes)) {
        RtfReadResult result;
        result.status = RtfReadResult::Status::NotRtf;
        result.errorText = QStringLiteral("The file is not in Rich Text Format.");
        return result;
    }
    RtfDocumentSink sink(document);
    RtfReader reader(bytes, sink);
    if (progress)
        reader.setProgress(progress);
    RtfReadResult result = reader.read();
    // A rich text document is written back as UTF-8 text when saved as plain text.
    setDocumentPlainTextFormat(document, TextFormat());
    return result;
}

RtfReadResult readRtf(QIODevice &device, QTextDocument &document,
                      const ProgressCallback &progress) {
    QByteArray bytes;
    if (!readAllFrom(device, bytes)) {
        RtfReadResult result;
        result.status = RtfReadResult::Status::ReadError;
        result.errorText = device.errorString();
        return result;
    }
    return readRtf(bytes, document, progress);
}

QByteArray rtfFromDocument(const QTextDocument &document, const ProgressCallback &progress) {
    RtfWriter writer(document);
    return writer.write(progress);
}

bool writeRtf(const QTextDocument &document, QIODevice &device, const ProgressCallback &progress) {
    if (!device.isOpen() || !device.isWritable())
        return false;
    const QByteArray bytes = rtfFromDocument(document, progress);
    return device.write(bytes) == bytes.size();
}

LoadOutcome loadDocument(QIODevice &device, QTextDocument &document, StreamFormat format,
                         bool plainText, const ProgressCallback &progress) {
    QByteArray bytes;
    if (!readAllFrom(device, bytes))
        throw UserError(loadFailed());
    const StreamFormat first = resolveStreamFormat(format, plainText);
    LoadOutcome outcome;
    for (StreamFormat attempt : {first, first == StreamFormat::RichText ? StreamFormat::PlainText
                                                                        : StreamFormat::RichText}) {
        if (attempt == StreamFormat::PlainText) {
            if (progress)
                progress(0, bytes.size());
            loadPlainText(bytes, document, outcome);
            if (progress)
                progress(bytes.size(), bytes.size());
            return outcome;
        }
        const RtfReadResult result = readRtf(bytes, document, progress);
        if (result.ok()) {
            outcome.format = StreamFormat::RichText;
            outcome.dropped = result.dropped;
            outcome.kept = result.kept;
            return outcome;
        }
    }
    throw UserError(loadFailed());
}

LoadOutcome loadDocumentFile(const QString &fileName, QTextDocument &document, bool plainText,
                             const ProgressCallback &progress) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(loadFailed());
    return loadDocument(file, document, streamFormatForFileName(fileName), plainText, progress);
}

QByteArray documentBytes(const QTextDocument &document, StreamFormat format, bool plainText,
                         const ProgressCallback &progress) {
    if (resolveStreamFormat(format, plainText) == StreamFormat::RichText)
        return rtfFromDocument(document, progress);
    if (progress)
        progress(0, document.characterCount());
    QByteArray bytes = encodePlainText(document, documentPlainTextFormat(document));
    if (progress)
        progress(document.characterCount(), document.characterCount());
    return bytes;
}

void saveDocument(const QTextDocument &document, QIODevice &device, StreamFormat format,
                  bool plainText, const ProgressCallback &progress) {
    if (!device.isOpen() || !device.isWritable())
        throw UserError(saveFailed());
    const QByteArray bytes = documentBytes(document, format, plainText, progress);
    if (device.write(bytes) != bytes.size())
        throw UserError(saveFailed());
}

std::optional<QString> writeDocumentFile(const QTextDocument &document, const QString &fileName,
                                         bool plainText, const ProgressCallback &progress) {
    return saveFileAtomically(
        fileName, documentBytes(document, streamFormatForFileName(fileName), plainText, progress));
}

void saveDocumentFile(const QTextDocument &document, const QString &fileName, bool plainText,
                      const ProgressCallback &progress) {
    if (writeDocumentFile(document, fileName, plainText, progress))
        throw UserError(saveFailed());
}

bool hasKeptRtf(const QTextDocument &document) {
    if (!document.rootFrame()
             ->frameFormat()
             .property(RtfFormatProperty::KeptPrologue)
             .toByteArray()
             .isEmpty())
        return true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.hasProperty(RtfFormatProperty::KeptGroup) ||
                format.hasProperty(RtfFormatProperty::FieldInstruction))
                return true;
        }
    }
    return false;
}
