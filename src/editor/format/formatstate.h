#pragma once

#include <QString>

// What the formatting commands keep between uses: the numbering and underline style chosen in
// the style dialogs (held twice, as the item text that the settings remember and as the code the
// Bullet and Underscore commands apply), the font name and size text the boxes last set, and the
// Updating guard of the selection tracker. Owned by the editor window; the settings read and
// write the texts.
struct TFormatState {
    // The numbering item text last chosen ("Bulletsstyle") and its code (1 to 6).
    QString BulletsStyle;
    int BulletNumbering = 1;
    // The underline item text last chosen ("UScoreType") and its type (1 to 5).
    QString UScoreType;
    int UnderlineKind = 1;
    // The font name last chosen in the font box ("FontStyle") and the size box's last text
    // ("FontSize").
    QString FontStyle;
    QString FontSize;
    // True while the selection tracker writes check marks and boxes; the guarded commands and the
    // boxes' change handlers then do nothing.
    bool Updating = false;

    // Remembers an item text and derives its code (NSstyle, UScore).
    void SetBulletsStyle(const QString &itemText);
    void SetUScoreType(const QString &itemText);
};
