// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/fontspec.h"
#include "util/trect.h"

#include <QImage>
#include <QObject>
#include <QRgb>
#include <QString>

#include <memory>

class TUserFont;
struct SoftenScratch;

/// The LED matrix without a window: the content, mark and frame rasters, the
/// screen raster built from them, and every drawing operation. The widget
/// TLEDMATRIX paints screenImage(); the generator and the command-line tool
/// draw into an instance of their own.
///
/// State rasters hold raw 32-bit values (Format_ARGB32, written and read through
/// scanLine, never through QPainter): in the content raster exactly 0x00000000 is
/// an unlit LED, exactly 0x00FFFFFF a lit one, anything else the unknown state.
///
/// Pending area: Render rebuilds only the area changed by the tracked operations
/// (ClearArea, DrawFontText, DrawGlyphText) since the last Render; when several of
/// them ran, the area is the union of theirs. Any other change (marks, PutBitmap,
/// ClearAll, colours, sizes) makes the next Render rebuild everything.
class LedMatrix : public QObject
{
    Q_OBJECT
public:
    enum class CursorShape { Arrow, SizeNWSE, SizeNESW, PointingHand };

    explicit LedMatrix(QObject *parent = nullptr);
    ~LedMatrix() override;

    // Properties (setters behave as the control's property setters). The size,
    // gap and count setters ignore the current value, sizes and counts below 1,
    // negative gaps, sizes and gaps above 255, and values that would make a
    // control side exceed 32767 pixels.
    bool EnaUpdate() const { return m_enaUpdate; }
    void SetEnaUpdate(bool on) { m_enaUpdate = on; }
    QRgb ColorBG() const { return m_colorBG; }
    void SetColorBG(QRgb c);
    QRgb ColorOn() const { return m_colorOn; }
    void SetColorOn(QRgb c);
    QRgb ColorOff() const { return m_colorOff; }
    void SetColorOff(QRgb c);
    QRgb ColorUnk() const { return m_colorUnk; }
    void SetColorUnk(QRgb c);
    QRgb BoxColorOn() const { return m_boxColorOn; }
    void SetBoxColorOn(QRgb c);
    QRgb BoxColorOff() const { return m_boxColorOff; }
    void SetBoxColorOff(QRgb c);
    QRgb BoxColorUnk() const { return m_boxColorUnk; }
    void SetBoxColorUnk(QRgb c);
    QRgb FrameColor() const { return m_frameColor; }
    void SetFrameColor(QRgb c);
    int LEDSize() const { return m_ledSize; }
    void SetLEDSize(int size);
    int LEDDistance() const { return m_ledDistance; }
    void SetLEDDistance(int distance);
    int LEDCountX() const { return m_countX; }
    void SetLEDCountX(int count);
    int LEDCountY() const { return m_countY; }
    void SetLEDCountY(int count);
    bool SoftenOut() const { return m_softenOut; }
    void SetSoftenOut(bool on) { m_softenOut = on; }
    int SoftenCount() const { return m_softenCount; }
    void SetSoftenCount(int count) { m_softenCount = count; }

    /// Control size in screen pixels: pitch x count + LEDDistance.
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Operations.
    void Render();
    void Redraw();    ///< Render, then ask the view to paint later (updateRequested).
    void RedrawNow(); ///< Render, then ask the view to paint at once (paintRequested).
    void ClearAll();
    void ClearMarks();
    void ClearArea(const TRect &r);
    void MarkRect(const TRect &r);
    void DrawFontText(const TRect &r, int dx, int dy, const FontSpec &font, const QString &text);
    /// Clears the alpha byte of every pixel of \a source (the caller's raster changes;
    /// other formats are converted to Format_ARGB32 first). Stretching is nearest
    /// neighbour: cell x of a rectangle w wide shows source column x * srcW / w
    /// (integer division), rows likewise.
    void PutBitmap(QImage &source, const TRect &r, bool stretch);
    void GetBitmap(const TRect &r, QImage &dest) const;
    /// Text in a bitmap font; characters are looked up by their Windows-1252 byte.
    void DrawGlyphText(int x, int y, const TUserFont &font, const QString &text);

    /// The image a view shows: the screen raster, softened when SoftenOut is set
    /// (SoftenCount passes; the softened image is kept and recomputed only around
    /// the pixels that changed since the last paint).
    QImage Paint() const;
    /// One softening pass (weights 2 2 2 / 2 0 2 / 2 2 2, divisor 16).
    static void Convolve3x3(QImage &raster);

    // Raw rasters (for views, tests and the generator).
    const QImage &screenRaster() const { return m_screen; }
    const QImage &contentRaster() const { return m_content; }
    const QImage &markRaster() const { return m_mark; }
    const QImage &frameRaster() const { return m_frame; }
    quint32 contentPixel(int x, int y) const; ///< 0 outside
    void setContentPixel(int x, int y, quint32 v); ///< ignored outside; untracked change

    /// LED cell under a control pixel: (X div (Width div LEDCountX), Y div (Height div LEDCountY)).
    QPoint PixelToLED(int x, int y) const;

    /// Adds an area changed by a tracked drawing operation to the pending area.
    void touchArea(const TRect &r);

    // Mouse feedback that a view shows: hint text and whether it is on, cursor shape.
    QString Hint() const { return m_hint; }
    void SetHint(const QString &hint);
    bool HintEnabled() const { return m_hintEnabled; }
    void SetHintEnabled(bool on);
    CursorShape Cursor() const { return m_cursor; }
    void SetCursor(CursorShape shape);

Q_SIGNALS:
    void updateRequested();
    void paintRequested();
    void sizeChanged(int width, int height);
    void cursorChanged(LedMatrix::CursorShape shape);
    void hintChanged();

private:
    enum class Pending { None, Area, Full };
    void touchAll() { m_pending = Pending::Full; }
    void applyGeometry();
    void resizeStateRasters();
    /// False when the control would exceed the largest side we accept.
    static bool geometryFits(int size, int distance, int countX, int countY);

    bool m_enaUpdate = true;
    QRgb m_colorBG = 0x000000;
    QRgb m_colorOn = 0xFFFFFF;
    QRgb m_colorOff = 0x0000FF;
    QRgb m_colorUnk = 0xFFFFFF;
    QRgb m_boxColorOn = 0xFFFFFF;
    QRgb m_boxColorOff = 0x7F7F7F;
    QRgb m_boxColorUnk = 0xFFFFFF;
    QRgb m_frameColor = 0x00FF00;
    int m_ledSize = 1;
    int m_ledDistance = 1;
    int m_countX = 10;
    int m_countY = 10;
    bool m_softenOut = false;
    int m_softenCount = 1;
    int m_width = 21;
    int m_height = 21;

    QImage m_screen;
    QImage m_content;
    QImage m_mark;
    QImage m_frame;
    // Softened image and scratch rows, reused from paint to paint; m_soft holds
    // m_softPasses passes over the screen raster as it was before the pixels in
    // m_dirty changed.
    mutable QImage m_soft;
    mutable int m_softPasses = -1;
    mutable QRect m_dirty;
    mutable std::unique_ptr<SoftenScratch> m_softScratch;

    Pending m_pending = Pending::None;
    TRect m_pendingArea;

    QString m_hint;
    bool m_hintEnabled = false;
    CursorShape m_cursor = CursorShape::Arrow;
};
