// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// An LED rectangle, inclusive on all four edges: it covers Right-Left+1 columns
/// and Bottom-Top+1 rows. Unlike QRect it is never normalised or adjusted.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}

    constexpr int Width() const { return Right - Left + 1; }
    constexpr int Height() const { return Bottom - Top + 1; }
    constexpr bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }

    friend constexpr bool operator==(const TRect &a, const TRect &b)
    {
        return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
    }
    friend constexpr bool operator!=(const TRect &a, const TRect &b) { return !(a == b); }
};

/// Windows' MulDiv: a * b / c rounded half away from zero, -1 when c is 0.
constexpr int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const qint64 p = qint64(a) * b;
    const qint64 q = (p >= 0) == (c > 0) ? (qAbs(p) + qAbs(qint64(c)) / 2) / qAbs(qint64(c))
                                          : -((qAbs(p) + qAbs(qint64(c)) / 2) / qAbs(qint64(c)));
    return int(q);
}
