#include "editor/formatstate.h"

#include "editor/formatstyles.h"

void TFormatState::SetBulletsStyle(const QString &itemText) {
    BulletsStyle = itemText;
    BulletNumbering = NSstyle(itemText);
}

void TFormatState::SetUScoreType(const QString &itemText) {
    UScoreType = itemText;
    UnderlineKind = UScore(itemText);
}
