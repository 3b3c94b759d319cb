// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

/// Draws the entries of the font lists: the rectangle filled, the symbol of the
/// font's kind at 2 pixels from the left edge, the family name at 19 pixels; every
/// entry 16 pixels high. The kind is the entry's TrueTypeRole flag.
class TFontItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    /// The item data role holding true for a TrueType family.
    static constexpr int TrueTypeRole = Qt::UserRole + 1;
    static constexpr int ItemHeight = 16;
    static constexpr int ImageLeft = 2;
    static constexpr int TextLeft = 19;
    static constexpr int ImageSize = 13;

    explicit TFontItemDelegate(QObject *parent = nullptr);

    /// The symbols of ImageListFont: 1 a TrueType font, 0 any other font.
    static QPixmap ImageListFont(int index);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
