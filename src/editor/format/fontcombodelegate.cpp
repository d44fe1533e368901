#include "editor/format/fontcombodelegate.h"

#include <QPainter>

void TFontComboDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect,
                      option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    const QString family = index.data(Qt::DisplayRole).toString();
    painter->setFont(itemFont(family, option.font));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text = option.rect.adjusted(TextOffset, 0, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, family);
    painter->restore();
}

QSize TFontComboDelegate::sizeHint(const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(ItemHeight);
    return size;
}

QFont TFontComboDelegate::itemFont(const QString &family, const QFont &boxFont) {
    QFont font = boxFont;
    font.setFamilies({family});
    return font;
}
