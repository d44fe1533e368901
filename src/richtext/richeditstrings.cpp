#include "richtext/richeditstrings.h"

#include "richtext/richtextdocument.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

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

} // namespace

int TRichEditStrings::Count() const {
    const QTextDocument *document = m_control->document();
    const int blocks = document->blockCount();
    return document->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString TRichEditStrings::Strings(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return RichTextDocument::withCrLf(m_control->document()->findBlockByNumber(index).text());
}

QString TRichEditStrings::Text() const {
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
    m_control->reloadDocument([this, &stream](QTextDocument &document) {
        loadDocument(stream, document, streamFormatOf(m_control->StreamFormat()),
                     m_control->PlainText());
    });
}

void TRichEditStrings::SaveToStream(QIODevice &stream) const {
    saveDocument(*m_control->document(), stream, streamFormatOf(m_control->StreamFormat()),
                 m_control->PlainText());
}

void TRichEditStrings::LoadFromFile(const QString &fileName) {
    m_control->reloadDocument([this, &fileName](QTextDocument &document) {
        loadDocumentFile(fileName, document, m_control->PlainText());
    });
}

void TRichEditStrings::SaveToFile(const QString &fileName) const {
    saveDocumentFile(*m_control->document(), fileName, m_control->PlainText());
}
