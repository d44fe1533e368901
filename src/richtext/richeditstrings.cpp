#include "richtext/richeditstrings.h"

#include "platform/usererror.h"
#include "richtext/richtextdocument.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxlargetext.h"
#include "richtext/rxrichedit.h"

#include <QBuffer>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

StreamFormat streamFormatOf(TRxRichEdit::TStreamFormat format) {
    switch (format) {
    case TRxRichEdit::sfRichText:
        return StreamFormat::RichText;
    case TRxRichEdit::sfPlainText:
        return StreamFormat::PlainText;
    default:
        return StreamFormat::Default;
    }
}

QString loadFailed() {
    return QStringLiteral("Failed to Load Stream");
}

QString saveFailed() {
    return QStringLiteral("Failed to Save Stream");
}

} // namespace

bool TRichEditStrings::loadedAsLargeText(QIODevice &stream, StreamFormat format) {
    if (resolveStreamFormat(format, m_control->PlainText()) != StreamFormat::PlainText ||
        !stream.isOpen() || !stream.isReadable())
        return false;
    QByteArray bytes = stream.readAll();
    if (auto *file = qobject_cast<QFileDevice *>(&stream);
        file && file->error() != QFileDevice::NoError)
        throw UserError(loadFailed());
    if (TRxLargeText::isLarge(bytes)) {
        const TextFormat textFormat = detectPlainTextFormat(bytes);
        const QString text = decodePlainText(bytes, textFormat);
        bytes = QByteArray();
        m_control->loadLargeText(text, textFormat);
        return true;
    }
    // Read already: the usual way goes on from the bytes.
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    m_control->reloadDocument([this, &buffer, format](QTextDocument &document) {
        loadDocument(buffer, document, format, m_control->PlainText());
    });
    return true;
}

int TRichEditStrings::Count() const {
    if (m_control->m_largeText)
        return m_control->m_largeText->LineCount();
    const QTextDocument *document = m_control->document();
    const int blocks = document->blockCount();
    return document->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString TRichEditStrings::Strings(int index) const {
    if (m_control->m_largeText)
        return m_control->m_largeText->LineString(index);
    if (index < 0 || index >= Count())
        return {};
    return RichTextDocument::withCrLf(m_control->document()->findBlockByNumber(index).text());
}

QString TRichEditStrings::Text() const {
    if (m_control->m_largeText)
        return m_control->m_largeText->LinesText();
    if (Count() == 0)
        return {};
    QString text = m_control->Text();
    if (m_control->document()->lastBlock().length() > 1)
        text += QLatin1String("\r\n");
    return text;
}

void TRichEditStrings::SetText(const QString &text) {
    m_control->SetText(text);
}

void TRichEditStrings::Add(const QString &line) {
    if (m_control->m_largeText) {
        m_control->m_largeText->AddLine(line);
        return;
    }
    QTextCursor cursor(m_control->document());
    cursor.movePosition(QTextCursor::End);
    const bool lastEmpty = m_control->document()->lastBlock().length() <= 1;
    cursor.insertText(lastEmpty ? RichTextDocument::withNewlines(line)
                                : QLatin1Char('\n') + RichTextDocument::withNewlines(line));
}

void TRichEditStrings::Clear() {
    m_control->Clear();
}

void TRichEditStrings::BeginUpdate() {
    if (m_control->m_updateCount++ == 0)
        m_control->viewport()->setUpdatesEnabled(false);
}

void TRichEditStrings::EndUpdate() {
    if (m_control->m_updateCount == 0)
        return;
    if (--m_control->m_updateCount == 0) {
        m_control->viewport()->setUpdatesEnabled(true);
        m_control->viewport()->update();
    }
}

void TRichEditStrings::LoadFromStream(QIODevice &stream) {
    if (loadedAsLargeText(stream, streamFormatOf(m_control->StreamFormat())))
        return;
    m_control->reloadDocument([this, &stream](QTextDocument &document) {
        loadDocument(stream, document, streamFormatOf(m_control->StreamFormat()),
                     m_control->PlainText());
    });
}

void TRichEditStrings::SaveToStream(QIODevice &stream) const {
    if (const TRxLargeText *large = m_control->m_largeText.get()) {
        const QTextDocument &document = *m_control->document();
        const QByteArray bytes =
            resolveStreamFormat(streamFormatOf(m_control->StreamFormat()),
                                m_control->PlainText()) == StreamFormat::PlainText
                ? encodePlainText(large->plainText(), documentPlainTextFormat(document), true)
                : large->rtf(document.defaultFont());
        if (!stream.isOpen() || !stream.isWritable() || stream.write(bytes) != bytes.size())
            throw UserError(saveFailed());
        return;
    }
    saveDocument(*m_control->document(), stream, streamFormatOf(m_control->StreamFormat()),
                 m_control->PlainText());
}

void TRichEditStrings::LoadFromFile(const QString &fileName) {
    if (resolveStreamFormat(streamFormatForFileName(fileName), m_control->PlainText()) ==
        StreamFormat::PlainText) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw UserError(loadFailed());
        loadedAsLargeText(file, streamFormatForFileName(fileName));
        return;
    }
    m_control->reloadDocument([this, &fileName](QTextDocument &document) {
        loadDocumentFile(fileName, document, m_control->PlainText());
    });
}

void TRichEditStrings::SaveToFile(const QString &fileName) const {
    if (m_control->m_largeText) {
        if (m_control->WriteFile(fileName))
            throw UserError(saveFailed());
        return;
    }
    saveDocumentFile(*m_control->document(), fileName, m_control->PlainText());
}
