#include "editor/richtext/richeditstrings.h"

#include "editor/richtext/plaintextcodec.h"
#include "editor/richtext/rxrichedit.h"
#include "platform/usererror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kLoadError = QStringLiteral("Failed to Load Stream");
const QString kSaveError = QStringLiteral("Failed to Save Stream");

bool richByName(const QString &fileName, bool richByDefault) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("txt"))
        return false;
    if (suffix == QLatin1String("rtf"))
        return true;
    return richByDefault;
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
    return TRxRichEdit::withCrLf(m_control->document()->findBlockByNumber(index).text());
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
    cursor.insertText(lastEmpty ? TRxRichEdit::withNewlines(line)
                                : QLatin1Char('\n') + TRxRichEdit::withNewlines(line));
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
    if (!stream.isReadable())
        throw UserError(kLoadError);
    const QByteArray bytes = stream.readAll();
    m_control->loadBytes(bytes, m_control->streamIsRich());
}

void TRichEditStrings::SaveToStream(QIODevice &stream) const {
    const QByteArray bytes = m_control->saveBytes(m_control->streamIsRich());
    if (!stream.isWritable() || stream.write(bytes) != bytes.size())
        throw UserError(kSaveError);
}

void TRichEditStrings::LoadFromFile(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(kLoadError);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UserError(kLoadError);
    m_control->loadBytes(bytes, richByName(fileName, m_control->streamIsRich()));
}

void TRichEditStrings::SaveToFile(const QString &fileName) const {
    const QByteArray bytes = m_control->saveBytes(richByName(fileName, m_control->streamIsRich()));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw UserError(kSaveError);
}
