// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/flooricons.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

QPixmap blank()
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

namespace FloorIcons {

QIcon Alignment(int mode)
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(1, 1, kSize - 3, kSize - 3);
    const int block = 6;
    int offset = 3;
    if (mode == 1)
        offset = (kSize - block) / 2;
    else if (mode == 2)
        offset = kSize - 3 - block;
    p.fillRect(offset, offset, block, block, Qt::black);
    return QIcon(pm);
}

QIcon RegionFrames()
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(1, 1, kSize - 4, kSize - 4);
    p.fillRect(kSize - 5, kSize - 5, 4, 4, Qt::red);
    return QIcon(pm);
}

} // namespace FloorIcons
