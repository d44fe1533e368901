#include "editor/file/documentfile.h"

#include "platform/usererror.h"
#include "richtext/documentio.h"
#include "richtext/rxrichedit.h"

#include <QSaveFile>

namespace {

UserError cannotSave(const QString &target, const QString &reason) {
    return UserError(QStringLiteral("Cannot create file \"%1\". %2").arg(target, reason));
}

} // namespace

void SaveDocumentFile(const TRxRichEdit &memo, const QString &target) {
    const QTextDocument &document = *memo.document();
    const StreamFormat format =
        resolveStreamFormat(streamFormatForFileName(target), memo.PlainText());
    const QByteArray bytes = format == StreamFormat::RichText
                                 ? rtfFromDocument(document)
                                 : encodePlainText(document, documentPlainTextFormat(document));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotSave(target, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw cannotSave(target, reason);
    }
    if (!file.commit())
        throw cannotSave(target, file.errorString());
}

void ResetPlainTextFormat(TRxRichEdit &memo) {
    setDocumentPlainTextFormat(*memo.document(), PlainTextFormat{});
}
