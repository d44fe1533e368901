#pragma once

#include <QStyledItemDelegate>

// Draws each item of the font box in its own typeface: the item's rectangle is filled, then the
// name is written 9 pixels right of the rectangle's left edge, at its top. Items are 19 pixels
// high.
class TFontComboDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int ItemHeight = 19;
    static constexpr int TextOffset = 9;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The font an item is drawn in: the family it names, at the box's own size.
    static QFont itemFont(const QString &family, const QFont &boxFont);
};
