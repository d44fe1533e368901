#include "editor/format/formatstyles.h"

namespace FormatStyles {

const QStringList &NumberingItems() {
    static const QStringList items = {
        QStringLiteral("nsBullet"),       QStringLiteral("nsArabicNumbers"),
        QStringLiteral("nsLoCaseLetter"), QStringLiteral("nsUpCaseLetter"),
        QStringLiteral("nsLoCaseRoman"),  QStringLiteral("nsUpCaseRoman")};
    return items;
}

const QStringList &UnderlineItems() {
    static const QStringList items = {QStringLiteral("utSolid"), QStringLiteral("utWord"),
                                      QStringLiteral("utDouble"), QStringLiteral("utDotted"),
                                      QStringLiteral("utWave")};
    return items;
}

} // namespace FormatStyles

int NSstyle(const QString &text) {
    const qsizetype index = FormatStyles::NumberingItems().indexOf(text);
    return index < 0 ? 1 : int(index) + 1;
}

int UScore(const QString &text) {
    const qsizetype index = FormatStyles::UnderlineItems().indexOf(text);
    return index < 0 ? 1 : int(index) + 1;
}
