#pragma once

#include <QString>
#include <QStringList>

// The style items of the numbering and underline style dialogs and the codes the Bullet and
// Underscore commands apply for them. Item texts are compared exactly, case included, so an
// unknown text (the stored defaults "NsBullet" and "UsSolid" among them) gives code 1.
namespace FormatStyles {

// "nsBullet" .. "nsUpCaseRoman", in the dialog's order; item i stands for numbering i + 1.
const QStringList &NumberingItems();
// "utSolid" .. "utWave", in the dialog's order; item i stands for underline type i + 1.
const QStringList &UnderlineItems();

} // namespace FormatStyles

// Numbering code 1 to 6 of a numbering item text.
int NSstyle(const QString &text);
// Underline type 1 to 5 of an underline item text.
int UScore(const QString &text);
