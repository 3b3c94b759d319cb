// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/display.h"

#include "display/userfont.h"
#include "display/winfontinfo.h"

namespace {

const QString kSonderzeichen = QStringLiteral("SONDERZEICHEN");

// A rectangle a region may take: at least 2 x 2 LEDs.
bool acceptable(const TRect &r)
{
    return r.Left < r.Right && r.Top < r.Bottom;
}

QString padded(const QString &text, int length)
{
    return length > text.size() ? QString(text + QString(length - text.size(), QChar(u' '))) : text;
}

} // namespace

TDisplay::TDisplay(const QString &name, int width, int height, const TUserFont *userFont)
    : Name(name), FontInfo(std::make_unique<TWinFontInfo>()), UserFont(userFont), Width(width),
      Height(height)
{
    if (UserFont && UserFont->GlyphHeight > 0 && UserFont->Pitch > 0) {
        Rows = Height / UserFont->GlyphHeight;
        Columns = Width / UserFont->Pitch;
    }
}

TDisplay::~TDisplay() = default;

TDisplayRect *TDisplay::AddRect(const QString &name, const QString &caption, const TRect &rect,
                                bool active)
{
    Rects.push_back(std::make_unique<TDisplayRect>(name, caption, rect, active,
                                                   TRect(0, 0, Width - 1, Height - 1)));
    return Rects.back().get();
}

TDisplayRect *TDisplay::FindRect(const QString &name) const
{
    for (const auto &r : Rects) {
        if (r->Name == name)
            return r.get();
    }
    return nullptr;
}

TRect TDisplay::GetRect(const QString &name) const
{
    const TDisplayRect *r = FindRect(name);
    return r ? r->Rect : TRect();
}

void TDisplay::SetRect(const QString &name, const TRect &rect)
{
    TDisplayRect *r = FindRect(name);
    if (r && acceptable(rect))
        r->Rect = rect;
}

void TDisplay::SetRectLeft(const QString &name, int value)
{
    if (TDisplayRect *r = FindRect(name))
        r->Rect.Left = value;
}

void TDisplay::SetRectTop(const QString &name, int value)
{
    if (TDisplayRect *r = FindRect(name))
        r->Rect.Top = value;
}

void TDisplay::SetRectRight(const QString &name, int value)
{
    if (TDisplayRect *r = FindRect(name))
        r->Rect.Right = value;
}

void TDisplay::SetRectBottom(const QString &name, int value)
{
    if (TDisplayRect *r = FindRect(name))
        r->Rect.Bottom = value;
}

void TDisplay::StoreRect(const QString &name)
{
    if (TDisplayRect *r = FindRect(name))
        r->SavedRect = r->Rect;
}

void TDisplay::RestoreRect(const QString &name)
{
    if (TDisplayRect *r = FindRect(name))
        r->Rect = r->SavedRect;
}

void TDisplay::SetRectActive(const QString &name, bool active)
{
    if (TDisplayRect *r = FindRect(name))
        r->Active = active;
}

bool TDisplay::LoadRect(const QString &name, const TRect &rect, bool active)
{
    TDisplayRect *r = FindRect(name);
    if (!r)
        return false;
    r->Rect = rect;
    r->Active = active;
    r->SavedRect = r->Rect;
    return true;
}

void TDisplay::DeriveSingleDigitRect()
{
    TDisplayRect *t1 = FindRect(QStringLiteral("TXT1"));
    TDisplayRect *t2 = FindRect(QStringLiteral("TXT2"));
    TDisplayRect *t3 = FindRect(QStringLiteral("TXT3"));
    if (!t1 || !t2 || !t3)
        return;
    // Integer division truncates toward zero, as the layouts' stored rectangles expect.
    t3->Rect.Left = t1->Rect.Left + (t2->Rect.Left - t1->Rect.Left) / 2;
    t3->Rect.Top = t1->Rect.Top;
    t3->Rect.Right = t3->Rect.Left + (t1->Rect.Right - t1->Rect.Left);
    t3->Rect.Bottom = t3->Rect.Top + (t1->Rect.Bottom - t1->Rect.Top);
    t3->SavedRect = t3->Rect;
    t3->Active = false;
}

void TDisplay::DrawText(const QString &name, int xOffset, int yOffset, const QString &text,
                        const FontSpec &font)
{
    const TDisplayRect *r = FindRect(name);
    if (!r || !Matrix)
        return;
    Matrix->ClearArea(r->Rect);
    Matrix->DrawFontText(r->Rect, xOffset, yOffset, font, text);
    Matrix->Redraw();
}

void TDisplay::ShowRects()
{
    if (!Matrix)
        return;
    Matrix->ClearMarks();
    for (const auto &r : Rects) {
        if (r->Active)
            Matrix->MarkRect(r->Rect);
    }
    Matrix->RedrawNow();
}

void TDisplay::ApplySize()
{
    if (!Matrix)
        return;
    Matrix->SetLEDCountX(Width);
    Matrix->SetLEDCountY(Height);
}

void TDisplay::Clear()
{
    if (Matrix)
        Matrix->ClearAll();
}

void TDisplay::SetCursor(LedMatrix::CursorShape cursor)
{
    if (Matrix)
        Matrix->SetCursor(cursor);
}

void TDisplay::WriteText(int col, int row, const QString &text, bool center, int rowShift)
{
    if (!Matrix || !UserFont || UserFont->IsEmpty())
        return;
    const int available = Columns - col;
    QString line = available > 0 ? text.left(available) : QString();
    const int x = col * UserFont->GlyphWidth;

    if (!Vertical) {
        if (center && available > 0) {
            const int pad = (available - int(line.size())) / 2;
            if (pad > 0) {
                const QString spaces(pad, QChar(u' '));
                line = QString(spaces + line + spaces).left(available);
            }
        }
        Matrix->DrawGlyphText(x, row * UserFont->GlyphHeight, *UserFont, line);
        Matrix->Redraw();
        return;
    }

    const int half = available > 0 ? available / 2 + available % 2 : 0;
    const QString first = padded(line.left(half), half);
    const QString second = padded(half > 0 ? line.mid(half, half) : QString(), half);
    const int y = (2 * row - rowShift) * UserFont->GlyphHeight;
    Matrix->DrawGlyphText(x, y, *UserFont, first);
    Matrix->Redraw();
    Matrix->DrawGlyphText(x, y + UserFont->GlyphHeight, *UserFont, second);
    Matrix->Redraw();
}

QPoint TDisplay::PixelToLED(int x, int y) const
{
    return Matrix ? Matrix->PixelToLED(x, y) : QPoint(0, 0);
}

TDisplayRect *TDisplay::RectAt(const QPoint &p, int tolerance) const
{
    for (const auto &r : Rects) {
        const TRect &q = r->Rect;
        if (r->Active && q.Left <= p.x() && p.x() <= q.Right && q.Top <= p.y() && p.y() <= q.Bottom)
            return r.get();
    }
    if (tolerance > 0) {
        for (const auto &r : Rects) {
            const TRect &q = r->Rect;
            if (r->Active && q.Left - tolerance <= p.x() && p.x() <= q.Right + tolerance
                && q.Top - tolerance <= p.y() && p.y() <= q.Bottom + tolerance)
                return r.get();
        }
    }
    return nullptr;
}

TDisplayRect *TDisplay::DraggedRect() const
{
    for (const auto &r : Rects) {
        if (r->Active && r->DragMode != TDisplayRect::DragNone)
            return r.get();
    }
    return nullptr;
}

int TDisplay::HitZone(const QPoint &p, const TDisplayRect &region, int tolerance)
{
    const TRect &r = region.Rect;
    const int x = p.x();
    const int y = p.y();
    auto near = [tolerance](int v, int edge) { return edge - tolerance <= v && v <= edge + tolerance; };

    if (r.Bottom - r.Top <= tolerance && r.Right - r.Left <= tolerance && y > r.Top)
        return 9;
    if (near(y, r.Top)) {
        if (near(x, r.Left))
            return 2;
        if (near(x, r.Right - 1))
            return 3;
        return 1;
    }
    if (near(y, r.Bottom - 1)) {
        if (near(x, r.Left))
            return 7;
        if (near(x, r.Right - 1))
            return 5;
        return 6;
    }
    return 9;
}

void TDisplay::MouseDown(int x, int y)
{
    const QPoint p = PixelToLED(x, y);
    TDisplayRect *r = RectAt(p, 2);
    if (!r)
        return;
    struct Rule { int zone; quint8 mode; quint8 handle; };
    static constexpr Rule rules[] = {
        {2, TDisplayRect::DragTopLeft, TDisplayRect::HandleTopLeft},
        {3, TDisplayRect::DragTopRight, TDisplayRect::HandleTopRight},
        {7, TDisplayRect::DragBottomLeft, TDisplayRect::HandleBottomLeft},
        {5, TDisplayRect::DragBottomRight, TDisplayRect::HandleBottomRight},
        {9, TDisplayRect::DragMove, TDisplayRect::HandleMove},
    };
    const int zone = HitZone(p, *r, 2);
    for (const Rule &rule : rules) {
        if (rule.zone == zone && (r->Handles & rule.handle))
            r->DragMode = rule.mode;
    }
    DragAnchor = p;
}

void TDisplay::MouseMove(int x, int y)
{
    if (!Matrix)
        return;
    Matrix->SetCursor(LedMatrix::CursorShape::Arrow);
    Matrix->SetHintEnabled(false);
    const QPoint p = PixelToLED(x, y);

    if (TDisplayRect *r = DraggedRect()) {
        const TRect old = r->Rect;
        const TRect b = r->Bounds;
        TRect n = old;
        const int dx = p.x() - DragAnchor.x();
        const int dy = p.y() - DragAnchor.y();

        // Edges follow the mouse; an edge pushed past the bounds is pinned there and the
        // anchor keeps the last accepted position.
        auto moveLeft = [&] {
            if (old.Left + dx < b.Left) {
                n.Left = b.Left;
            } else {
                n.Left = old.Left + dx;
                DragAnchor.setX(p.x());
            }
        };
        auto moveRight = [&] {
            if (old.Right + dx > b.Right) {
                n.Right = b.Right;
            } else {
                n.Right = old.Right + dx;
                DragAnchor.setX(p.x());
            }
        };
        auto moveTop = [&] {
            if (old.Top + dy < b.Top) {
                n.Top = b.Top;
            } else {
                n.Top = old.Top + dy;
                DragAnchor.setY(p.y());
            }
        };
        auto moveBottom = [&] {
            if (old.Bottom + dy > b.Bottom) {
                n.Bottom = b.Bottom;
            } else {
                n.Bottom = old.Bottom + dy;
                DragAnchor.setY(p.y());
            }
        };

        switch (r->DragMode) {
        case TDisplayRect::DragTopLeft:
            moveLeft();
            moveTop();
            break;
        case TDisplayRect::DragTopRight:
            moveRight();
            moveTop();
            break;
        case TDisplayRect::DragBottomLeft:
            moveLeft();
            moveBottom();
            break;
        case TDisplayRect::DragBottomRight:
            moveRight();
            moveBottom();
            break;
        case TDisplayRect::DragMove: {
            const int w = old.Width();
            const int h = old.Height();
            if (old.Left + dx >= b.Left && old.Right + dx <= b.Right) {
                n.Left = old.Left + dx;
                n.Right = old.Right + dx;
                DragAnchor.setX(p.x());
            } else if (old.Left + dx < b.Left) {
                n.Left = b.Left;
                n.Right = b.Left + w - 1;
            } else {
                n.Right = b.Right;
                n.Left = b.Right - w + 1;
            }
            if (old.Top + dy >= b.Top && old.Bottom + dy <= b.Bottom) {
                n.Top = old.Top + dy;
                n.Bottom = old.Bottom + dy;
                DragAnchor.setY(p.y());
            } else if (old.Top + dy < b.Top) {
                n.Top = b.Top;
                n.Bottom = b.Top + h - 1;
            } else {
                n.Bottom = b.Bottom;
                n.Top = b.Bottom - h + 1;
            }
            break;
        }
        default:
            break;
        }
        // Applied to the dragged region itself, so a second region of the same name is
        // never changed by mistake; the same 2 x 2 minimum as SetRect.
        if (acceptable(n))
            r->Rect = n;
        ShowRects();
        return;
    }

    TDisplayRect *r = RectAt(p, 2);
    if (!r)
        return;
    const int zone = HitZone(p, *r, 2);
    LedMatrix::CursorShape cursor = LedMatrix::CursorShape::Arrow;
    if ((zone == 2 && (r->Handles & TDisplayRect::HandleTopLeft))
        || (zone == 5 && (r->Handles & TDisplayRect::HandleBottomRight)))
        cursor = LedMatrix::CursorShape::SizeNWSE;
    else if ((zone == 3 && (r->Handles & TDisplayRect::HandleTopRight))
             || (zone == 7 && (r->Handles & TDisplayRect::HandleBottomLeft)))
        cursor = LedMatrix::CursorShape::SizeNESW;
    else if (zone == 9 && (r->Handles & TDisplayRect::HandleMove))
        cursor = LedMatrix::CursorShape::PointingHand;
    Matrix->SetCursor(cursor);

    const QString hint = r->Caption + QStringLiteral("\r\n(") + QString::number(r->Width())
        + QStringLiteral(" x ") + QString::number(r->Height()) + QStringLiteral(" Pixel)");
    if (Matrix->Hint() != hint)
        Matrix->SetHint(hint);
    else
        Matrix->SetHintEnabled(true);
}

void TDisplay::SetVertical()
{
    if (Vertical)
        return;
    Vertical = true;
    turn();
}

void TDisplay::SetHorizontal()
{
    if (!Vertical)
        return;
    Vertical = false;
    turn();
}

void TDisplay::turn()
{
    std::swap(Width, Height);
    const TRect whole(0, 0, Width - 1, Height - 1);
    for (const auto &r : Rects) {
        r->Bounds = whole;
        if (r->Name == kSonderzeichen)
            r->Rect = whole;
    }
}
