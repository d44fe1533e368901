#include "editor/file/documentfile.h"

#include "platform/usererror.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"

namespace {

UserError cannotSave(const QString &target, const QString &reason) {
    return UserError(QStringLiteral("Cannot create file \"%1\". %2").arg(target, reason));
}

} // namespace

void SaveMemoToFile(const TRxRichEdit &memo, const QString &target) {
    if (const std::optional<QString> reason = memo.WriteFile(target))
        throw cannotSave(target, *reason);
}

void ResetPlainTextFormat(TRxRichEdit &memo) {
    setDocumentPlainTextFormat(*memo.document(), TextFormat{});
}
