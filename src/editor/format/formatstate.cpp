#include "editor/format/formatstate.h"

#include "editor/format/formatstyles.h"

void TFormatState::SetBulletsStyle(const QString &itemText) {
    BulletsStyle = itemText;
    BulletNumbering = NSstyle(itemText);
}

void TFormatState::SetUScoreType(const QString &itemText) {
    UScoreType = itemText;
    UnderlineKind = UScore(itemText);
}
