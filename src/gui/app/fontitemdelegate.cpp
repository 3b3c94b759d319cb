// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fontitemdelegate.h"

#include <QPainter>
#include <QPalette>

TFontItemDelegate::TFontItemDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QPixmap TFontItemDelegate::ImageListFont(int index)
{
    static const QPixmap images[2] = {
        [] {
            // Any other font: a small sheet with a folded corner.
            QPixmap pm(ImageSize, ImageSize);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setPen(QColor(0x60, 0x60, 0x60));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(2, 1), QPoint(8, 1), QPoint(10, 3), QPoint(10, 11), QPoint(2, 11)}));
            p.drawLine(8, 1, 8, 3);
            p.drawLine(8, 3, 10, 3);
            return pm;
        }(),
        [] {
            // A TrueType font: two overlapping "T" marks.
            QPixmap pm(ImageSize, ImageSize);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.fillRect(0, 1, 8, 2, QColor(0x80, 0x80, 0x80));
            p.fillRect(3, 1, 2, 9, QColor(0x80, 0x80, 0x80));
            p.fillRect(5, 4, 8, 2, QColor(0x00, 0x00, 0x00));
            p.fillRect(8, 4, 2, 9, QColor(0x00, 0x00, 0x00));
            return pm;
        }(),
    };
    return images[index == 1 ? 1 : 0];
}

void TFontItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->save();
    painter->fillRect(r, selected ? pal.highlight() : pal.base());
    const QPixmap image = ImageListFont(index.data(TrueTypeRole).toBool() ? 1 : 0);
    painter->drawPixmap(r.left() + ImageLeft, r.top() + (r.height() - ImageSize) / 2, image);
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->setFont(option.font);
    const QRect textRect(r.left() + TextLeft, r.top(), qMax(0, r.width() - TextLeft), r.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize TFontItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return QSize(qMax(base.width(), TextLeft + option.fontMetrics.horizontalAdvance(index.data().toString())),
                 ItemHeight);
}
