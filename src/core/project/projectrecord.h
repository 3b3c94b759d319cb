// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "util/trect.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

enum class DisplayModel; // display/layouts.h: Vfd128 = 0, Lcd240 = 1, Vfd256 = 2

/// One region of a layout as stored: its current rectangle (inclusive LED
/// coordinates) and whether it is active. 17 bytes: Left, Top, Right, Bottom as
/// 32-bit little-endian integers, then Active as one byte.
struct RegionRecord
{
    static constexpr int kSize = 17;

    TRect Rect;
    bool Active = false;

    friend bool operator==(const RegionRecord &a, const RegionRecord &b)
    {
        return a.Rect == b.Rect && a.Active == b.Active;
    }
    friend bool operator!=(const RegionRecord &a, const RegionRecord &b) { return !(a == b); }
};

/// A stored monochrome bitmap: Width, Height (32-bit each) and 4096 bytes of
/// PackedPixels, one bit per pixel, rows without alignment, most significant bit
/// first. Width or Height 0 means "no bitmap".
struct BitmapRecord
{
    static constexpr int kSize = 4104;
    static constexpr int kPixelBytes = 4096;
    static constexpr int kMaxPixels = kPixelBytes * 8;

    BitmapRecord();

    qint32 Width = 0;
    qint32 Height = 0;
    /// Always kPixelBytes bytes.
    QByteArray PackedPixels;

    bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    /// Sizes that a reader can turn into a raster: both positive, at most kMaxPixels.
    bool HasValidSize() const;
    void Clear();

    friend bool operator==(const BitmapRecord &a, const BitmapRecord &b)
    {
        return a.Width == b.Width && a.Height == b.Height && a.PackedPixels == b.PackedPixels;
    }
    friend bool operator!=(const BitmapRecord &a, const BitmapRecord &b) { return !(a == b); }
};

/// A special state of one display model: its display text (22 bytes, at most 21
/// characters) and its bitmap. 4126 bytes.
struct SpecialStateRecord
{
    static constexpr int kSize = 22 + BitmapRecord::kSize;

    QByteArray Text;
    BitmapRecord Bitmap;

    friend bool operator==(const SpecialStateRecord &a, const SpecialStateRecord &b)
    {
        return a.Text == b.Text && a.Bitmap == b.Bitmap;
    }
    friend bool operator!=(const SpecialStateRecord &a, const SpecialStateRecord &b)
    {
        return !(a == b);
    }
};

/// The header of the font section that may follow the project record: up to eight
/// embedded TrueType files, each with its name (without folder, at most 30
/// characters) and its size in bytes. 284 bytes.
struct FontHeader
{
    static constexpr int kSize = 284;
    static constexpr int kMaxFiles = 8;
    static constexpr int kNameField = 31;

    qint32 Count = 0;
    std::array<QByteArray, kMaxFiles> FileNames;
    std::array<qint32, kMaxFiles> FileSizes{};

    QByteArray toBytes() const;
    /// Parses up to kSize bytes; missing bytes count as zero.
    static FontHeader fromBytes(const QByteArray &bytes);

    friend bool operator==(const FontHeader &a, const FontHeader &b)
    {
        return a.Count == b.Count && a.FileNames == b.FileNames && a.FileSizes == b.FileSizes;
    }
    friend bool operator!=(const FontHeader &a, const FontHeader &b) { return !(a == b); }
};

/// The fixed block at the start of every project file, 986889 bytes, written and
/// read field by field at fixed offsets (integers 32-bit little-endian, booleans one
/// byte). Texts are kept as their Windows-1252 bytes up to the first zero byte.
///
/// Per-model blocks keep the order in which they are stored: MainRegions and
/// SmallRegions in model order (index = DisplayModel: VFD 128 x 64, LCD 240 x 128,
/// VFD 256 x 128), FloorBitmaps, SpecialStates, Arrows, SmallArrows and Logos in
/// layout order (VFD 128 x 64, VFD 256 x 128, LCD 240 x 128). Use the accessors
/// that take a DisplayModel instead of indexing those arrays by hand.
struct ProjectRecord
{
    static constexpr int kSize = 986889;
    /// The record of the older format, with nine special states per model.
    static constexpr int kOldSize = 974511;
    static constexpr int kOldShift = 12378;
    static constexpr int kFormatMarkOffset = 160;
    static constexpr int kModels = 3;
    static constexpr int kFloorRows = 64;
    static constexpr int kFloorColumns = 9;
    static constexpr int kSpecialStates = 10;
    static constexpr int kOldSpecialStates = 9;
    static constexpr int kMonths = 12;
    static constexpr int kMainRegionCount = 6;
    static constexpr int kSmallRegionCount = 3;
    /// Text fields of 22 bytes hold at most 21 characters and a zero byte.
    static constexpr int kShortTextChars = 21;
    static constexpr int kFontNameChars = 41;
    static constexpr int kAutoSizeChars = 91;

    // Field offsets.
    static constexpr int kOffDisplayModel = 0;
    static constexpr int kOffFloorFontName = 1;
    static constexpr int kOffFloorFontBold = 42;
    static constexpr int kOffFloorFontItalic = 43;
    static constexpr int kOffFloorFontSize = 44;
    static constexpr int kOffFloorTextOffsetX = 48;
    static constexpr int kOffFloorTextOffsetY = 52;
    static constexpr int kOffAutoSizeChars = 56;
    static constexpr int kOffReserved1 = 147;
    static constexpr int kOffReserved2 = 151;
    static constexpr int kOffFloorCount = 155;
    static constexpr int kOffFloorTextDigits = 159;
    static constexpr int kOffFormatMark = 160;
    static constexpr int kOffShowWhileMoving = 161;
    static constexpr int kOffVerticalMounting = 162;
    static constexpr int kOffCharsetChoice = 163;
    static constexpr int kOffMainRegions = 167;
    static constexpr int kOffSmallRegions = 473;
    static constexpr int kOffShowDateTime = 626;
    static constexpr int kOffShowArrows = 627;
    static constexpr int kOffShowLogo = 628;
    static constexpr int kOffShowFloorBitmaps = 629;
    static constexpr int kOffShowTextLines = 630;
    static constexpr int kOffFirstTextLine = 631;
    static constexpr int kOffLastTextLine = 635;
    static constexpr int kOffSpecialBitmapsOnly = 639;
    static constexpr int kOffFloorTexts = 640;
    static constexpr int kOffFloorBitmaps = 13312;
    static constexpr int kOffSpecialStates = 801280;
    static constexpr int kOffArrows = 925060;
    static constexpr int kOffSmallArrows = 949684;
    static constexpr int kOffLogos = 974308;
    static constexpr int kOffAutoSize = 986620;
    static constexpr int kOffAlignTopLeft = 986621;
    static constexpr int kOffAlignCentre = 986622;
    static constexpr int kOffAlignBottomRight = 986623;
    static constexpr int kOffInfraredReceiver = 986624;
    static constexpr int kOffMonthNames = 986625;

    using MainRegionBlock = std::array<RegionRecord, kMainRegionCount>;
    using SmallRegionBlock = std::array<RegionRecord, kSmallRegionCount>;
    using FloorBitmapBlock = std::array<BitmapRecord, kFloorRows>;
    using SpecialStateBlock = std::array<SpecialStateRecord, kSpecialStates>;
    using ArrowBlock = std::array<BitmapRecord, 2>;

    quint8 DisplayModel = 0;
    QByteArray FloorFontName;
    bool FloorFontBold = false;
    bool FloorFontItalic = false;
    qint32 FloorFontSize = 0;
    qint32 FloorTextOffsetX = 0;
    qint32 FloorTextOffsetY = 0;
    QByteArray AutoSizeChars;
    qint32 Reserved1 = 0;
    qint32 Reserved2 = 0;
    qint32 FloorCount = 0;
    quint8 FloorTextDigits = 0;
    quint8 FormatMark = 0;
    bool ShowWhileMoving = false;
    bool VerticalMounting = false;
    qint32 CharsetChoice = 0;
    /// Model order. Regions "TXT1", "TXT2", "PFEIL", "STABMP", "ETABMP", "UHR".
    std::array<MainRegionBlock, kModels> MainRegions;
    /// Model order. Regions "TXT1", "TXT2", "PFEIL" of the small-font layouts.
    std::array<SmallRegionBlock, kModels> SmallRegions;
    bool ShowDateTime = false;
    bool ShowArrows = false;
    bool ShowLogo = false;
    bool ShowFloorBitmaps = false;
    bool ShowTextLines = false;
    qint32 FirstTextLine = 0;
    qint32 LastTextLine = 0;
    bool SpecialBitmapsOnly = false;
    /// FloorTexts[c - 1][r - 1] is the text of grid column c (1..9), row r (1..64).
    std::array<std::array<QByteArray, kFloorRows>, kFloorColumns> FloorTexts;
    /// Layout order; element r - 1 is slot r of "ETABMP".
    std::array<FloorBitmapBlock, kModels> FloorBitmaps;
    /// Layout order; element n - 1 is state row n.
    std::array<SpecialStateBlock, kModels> SpecialStates;
    /// Layout order; element 0 is slot 0 (down), element 1 slot 1 (up).
    std::array<ArrowBlock, kModels> Arrows;
    std::array<ArrowBlock, kModels> SmallArrows;
    /// Layout order.
    std::array<BitmapRecord, kModels> Logos;
    bool AutoSize = false;
    bool AlignTopLeft = false;
    bool AlignCentre = false;
    bool AlignBottomRight = false;
    bool InfraredReceiver = false;
    std::array<QByteArray, kMonths> MonthNames;

    /// Index into the layout-ordered arrays for a display model (0, 1, 2).
    static int layoutIndex(int displayModel);

    MainRegionBlock &mainRegions(int displayModel);
    const MainRegionBlock &mainRegions(int displayModel) const;
    SmallRegionBlock &smallRegions(int displayModel);
    const SmallRegionBlock &smallRegions(int displayModel) const;
    FloorBitmapBlock &floorBitmaps(int displayModel);
    const FloorBitmapBlock &floorBitmaps(int displayModel) const;
    SpecialStateBlock &specialStates(int displayModel);
    const SpecialStateBlock &specialStates(int displayModel) const;
    ArrowBlock &arrows(int displayModel);
    const ArrowBlock &arrows(int displayModel) const;
    ArrowBlock &smallArrows(int displayModel);
    const ArrowBlock &smallArrows(int displayModel) const;
    BitmapRecord &logo(int displayModel);
    const BitmapRecord &logo(int displayModel) const;

    MainRegionBlock &mainRegions(::DisplayModel m) { return mainRegions(int(m)); }
    const MainRegionBlock &mainRegions(::DisplayModel m) const { return mainRegions(int(m)); }
    SmallRegionBlock &smallRegions(::DisplayModel m) { return smallRegions(int(m)); }
    const SmallRegionBlock &smallRegions(::DisplayModel m) const { return smallRegions(int(m)); }
    FloorBitmapBlock &floorBitmaps(::DisplayModel m) { return floorBitmaps(int(m)); }
    const FloorBitmapBlock &floorBitmaps(::DisplayModel m) const { return floorBitmaps(int(m)); }
    SpecialStateBlock &specialStates(::DisplayModel m) { return specialStates(int(m)); }
    const SpecialStateBlock &specialStates(::DisplayModel m) const { return specialStates(int(m)); }
    ArrowBlock &arrows(::DisplayModel m) { return arrows(int(m)); }
    const ArrowBlock &arrows(::DisplayModel m) const { return arrows(int(m)); }
    ArrowBlock &smallArrows(::DisplayModel m) { return smallArrows(int(m)); }
    const ArrowBlock &smallArrows(::DisplayModel m) const { return smallArrows(int(m)); }
    BitmapRecord &logo(::DisplayModel m) { return logo(int(m)); }
    const BitmapRecord &logo(::DisplayModel m) const { return logo(int(m)); }

    /// The kSize bytes of the record. Texts longer than their field are cut.
    QByteArray toBytes() const;
    /// Parses a record; bytes beyond \a bytes' end count as zero, bytes beyond kSize
    /// are ignored. Texts are taken up to their first zero byte and at most to the
    /// field's capacity. No value is checked here: see sanitize().
    static ProjectRecord fromBytes(const QByteArray &bytes);

    /// Checks what the editor relies on and makes it safe, adding one line per
    /// finding to \a warnings: DisplayModel, FloorTextDigits and CharsetChoice are
    /// clamped to 0..2, FloorCount to 2..64, the text-line numbers to 0..8; bitmap
    /// records with negative sizes or more than 32768 pixels are emptied.
    void sanitize(QStringList &warnings);

    /// The current-format record bytes for the bytes of an older-format record
    /// (kOldSize bytes; fewer count as zero): everything moved to its new place,
    /// FormatMark 1, VerticalMounting 0, the tenth special state of every model empty.
    static QByteArray convertOldRecord(const QByteArray &oldBytes);

    friend bool operator==(const ProjectRecord &a, const ProjectRecord &b);
    friend bool operator!=(const ProjectRecord &a, const ProjectRecord &b) { return !(a == b); }
};
