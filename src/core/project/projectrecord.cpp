// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectrecord.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

constexpr int kTextField = 22;
constexpr int kMainBlockSize = ProjectRecord::kMainRegionCount * RegionRecord::kSize; // 102
constexpr int kSmallBlockSize = ProjectRecord::kSmallRegionCount * RegionRecord::kSize; // 51
constexpr int kFloorTextColumnSize = ProjectRecord::kFloorRows * kTextField; // 1408
constexpr int kFloorBitmapBlockSize = ProjectRecord::kFloorRows * BitmapRecord::kSize; // 262656
constexpr int kSpecialBlockSize = ProjectRecord::kSpecialStates * SpecialStateRecord::kSize; // 41260
constexpr int kOldSpecialBlockSize = ProjectRecord::kOldSpecialStates * SpecialStateRecord::kSize; // 37134
constexpr int kArrowBlockSize = 2 * BitmapRecord::kSize; // 8208

static_assert(ProjectRecord::kOffMainRegions + 3 * kMainBlockSize == ProjectRecord::kOffSmallRegions);
static_assert(ProjectRecord::kOffSmallRegions + 3 * kSmallBlockSize == ProjectRecord::kOffShowDateTime);
static_assert(ProjectRecord::kOffFloorTexts + ProjectRecord::kFloorColumns * kFloorTextColumnSize
              == ProjectRecord::kOffFloorBitmaps);
static_assert(ProjectRecord::kOffFloorBitmaps + 3 * kFloorBitmapBlockSize == ProjectRecord::kOffSpecialStates);
static_assert(ProjectRecord::kOffSpecialStates + 3 * kSpecialBlockSize == ProjectRecord::kOffArrows);
static_assert(ProjectRecord::kOffArrows + 3 * kArrowBlockSize == ProjectRecord::kOffSmallArrows);
static_assert(ProjectRecord::kOffSmallArrows + 3 * kArrowBlockSize == ProjectRecord::kOffLogos);
static_assert(ProjectRecord::kOffLogos + 3 * BitmapRecord::kSize == ProjectRecord::kOffAutoSize);
static_assert(ProjectRecord::kOffMonthNames + ProjectRecord::kMonths * kTextField == ProjectRecord::kSize);
static_assert(ProjectRecord::kOffSpecialStates + 3 * kOldSpecialBlockSize + ProjectRecord::kOldShift
              == ProjectRecord::kOffArrows);
static_assert(ProjectRecord::kSize - ProjectRecord::kOldShift == ProjectRecord::kOldSize);
static_assert(FontHeader::kSize == 4 + FontHeader::kMaxFiles * FontHeader::kNameField + FontHeader::kMaxFiles * 4);

QString tr(const char *text)
{
    return QCoreApplication::translate("ProjectRecord", text);
}

const QByteArray &zeroPixels()
{
    static const QByteArray zeros(BitmapRecord::kPixelBytes, '\0');
    return zeros;
}

/// Writes fields into a zero-filled block.
class Writer
{
public:
    explicit Writer(int size) : m_bytes(size, '\0') {}

    void byte(int off, quint8 v) { m_bytes[off] = char(v); }
    void boolean(int off, bool v) { byte(off, v ? 1 : 0); }
    void int32(int off, qint32 v)
    {
        const quint32 u = quint32(v);
        for (int i = 0; i < 4; ++i)
            m_bytes[off + i] = char((u >> (8 * i)) & 0xFF);
    }
    /// \a maxChars bytes of \a text at most; the rest of the field stays zero.
    void text(int off, const QByteArray &text, int maxChars)
    {
        int n = int(std::min<qsizetype>(text.size(), maxChars));
        const int zero = int(text.indexOf('\0'));
        if (zero >= 0)
            n = std::min(n, zero);
        std::memcpy(m_bytes.data() + off, text.constData(), size_t(n));
    }
    void region(int off, const RegionRecord &r)
    {
        int32(off, r.Rect.Left);
        int32(off + 4, r.Rect.Top);
        int32(off + 8, r.Rect.Right);
        int32(off + 12, r.Rect.Bottom);
        boolean(off + 16, r.Active);
    }
    void bitmap(int off, const BitmapRecord &b)
    {
        int32(off, b.Width);
        int32(off + 4, b.Height);
        const int n = int(std::min<qsizetype>(b.PackedPixels.size(), BitmapRecord::kPixelBytes));
        std::memcpy(m_bytes.data() + off + 8, b.PackedPixels.constData(), size_t(n));
    }

    QByteArray take() { return std::move(m_bytes); }
    char *data() { return m_bytes.data(); }

private:
    QByteArray m_bytes;
};

/// Reads fields; bytes beyond the end of the data read as zero.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    quint8 byte(int off) const { return off < m_bytes.size() ? quint8(m_bytes[off]) : 0; }
    bool boolean(int off) const { return byte(off) != 0; }
    qint32 int32(int off) const
    {
        quint32 u = 0;
        for (int i = 0; i < 4; ++i)
            u |= quint32(byte(off + i)) << (8 * i);
        return qint32(u);
    }
    QByteArray text(int off, int maxChars) const
    {
        QByteArray t;
        for (int i = 0; i < maxChars; ++i) {
            const quint8 b = byte(off + i);
            if (b == 0)
                break;
            t.append(char(b));
        }
        return t;
    }
    RegionRecord region(int off) const
    {
        RegionRecord r;
        r.Rect = TRect(int32(off), int32(off + 4), int32(off + 8), int32(off + 12));
        r.Active = boolean(off + 16);
        return r;
    }
    BitmapRecord bitmap(int off) const
    {
        BitmapRecord b;
        b.Width = int32(off);
        b.Height = int32(off + 4);
        const int start = off + 8;
        if (start >= m_bytes.size())
            return b;
        const int n = int(std::min<qsizetype>(m_bytes.size() - start, BitmapRecord::kPixelBytes));
        const char *src = m_bytes.constData() + start;
        if (std::any_of(src, src + n, [](char c) { return c != 0; })) {
            char *dst = b.PackedPixels.data(); // detaches from the shared zero block
            std::memcpy(dst, m_bytes.constData() + start, size_t(n));
        }
        return b;
    }

private:
    const QByteArray &m_bytes;
};

int mainRegionOffset(int model, int i) { return ProjectRecord::kOffMainRegions + model * kMainBlockSize + i * RegionRecord::kSize; }
int smallRegionOffset(int model, int i) { return ProjectRecord::kOffSmallRegions + model * kSmallBlockSize + i * RegionRecord::kSize; }
int floorTextOffset(int c, int r) { return ProjectRecord::kOffFloorTexts + c * kFloorTextColumnSize + r * kTextField; }
int floorBitmapOffset(int l, int s) { return ProjectRecord::kOffFloorBitmaps + l * kFloorBitmapBlockSize + s * BitmapRecord::kSize; }
int specialOffset(int l, int n) { return ProjectRecord::kOffSpecialStates + l * kSpecialBlockSize + n * SpecialStateRecord::kSize; }
int arrowOffset(int l, int k) { return ProjectRecord::kOffArrows + l * kArrowBlockSize + k * BitmapRecord::kSize; }
int smallArrowOffset(int l, int k) { return ProjectRecord::kOffSmallArrows + l * kArrowBlockSize + k * BitmapRecord::kSize; }
int logoOffset(int l) { return ProjectRecord::kOffLogos + l * BitmapRecord::kSize; }
int monthOffset(int m) { return ProjectRecord::kOffMonthNames + m * kTextField; }

int clampModel(int displayModel) { return std::clamp(displayModel, 0, ProjectRecord::kModels - 1); }

const char *layoutName(int layoutIndex)
{
    static const char *const names[] = {"VFD 128 x 64", "VFD 256 x 128", "LCD 240 x 128"};
    return names[layoutIndex];
}

} // namespace

// ---------------------------------------------------------------- BitmapRecord

BitmapRecord::BitmapRecord() : PackedPixels(zeroPixels()) {}

bool BitmapRecord::HasValidSize() const
{
    return Width > 0 && Height > 0 && qint64(Width) * Height <= kMaxPixels;
}

void BitmapRecord::Clear()
{
    Width = 0;
    Height = 0;
    PackedPixels = zeroPixels();
}

// ---------------------------------------------------------------- FontHeader

QByteArray FontHeader::toBytes() const
{
    Writer w(kSize);
    w.int32(0, Count);
    for (int i = 0; i < kMaxFiles; ++i) {
        w.text(4 + i * kNameField, FileNames[size_t(i)], kNameField - 1);
        w.int32(4 + kMaxFiles * kNameField + i * 4, FileSizes[size_t(i)]);
    }
    return w.take();
}

FontHeader FontHeader::fromBytes(const QByteArray &bytes)
{
    const Reader r(bytes);
    FontHeader h;
    h.Count = r.int32(0);
    for (int i = 0; i < kMaxFiles; ++i) {
        h.FileNames[size_t(i)] = r.text(4 + i * kNameField, kNameField - 1);
        h.FileSizes[size_t(i)] = r.int32(4 + kMaxFiles * kNameField + i * 4);
    }
    return h;
}

// ---------------------------------------------------------------- ProjectRecord

int ProjectRecord::layoutIndex(int displayModel)
{
    // Model order VFD1, LCD, VFD2; layout order VFD1, VFD2, LCD.
    static constexpr int map[kModels] = {0, 2, 1};
    return map[clampModel(displayModel)];
}

ProjectRecord::MainRegionBlock &ProjectRecord::mainRegions(int m) { return MainRegions[size_t(clampModel(m))]; }
const ProjectRecord::MainRegionBlock &ProjectRecord::mainRegions(int m) const { return MainRegions[size_t(clampModel(m))]; }
ProjectRecord::SmallRegionBlock &ProjectRecord::smallRegions(int m) { return SmallRegions[size_t(clampModel(m))]; }
const ProjectRecord::SmallRegionBlock &ProjectRecord::smallRegions(int m) const { return SmallRegions[size_t(clampModel(m))]; }
ProjectRecord::FloorBitmapBlock &ProjectRecord::floorBitmaps(int m) { return FloorBitmaps[size_t(layoutIndex(m))]; }
const ProjectRecord::FloorBitmapBlock &ProjectRecord::floorBitmaps(int m) const { return FloorBitmaps[size_t(layoutIndex(m))]; }
ProjectRecord::SpecialStateBlock &ProjectRecord::specialStates(int m) { return SpecialStates[size_t(layoutIndex(m))]; }
const ProjectRecord::SpecialStateBlock &ProjectRecord::specialStates(int m) const { return SpecialStates[size_t(layoutIndex(m))]; }
ProjectRecord::ArrowBlock &ProjectRecord::arrows(int m) { return Arrows[size_t(layoutIndex(m))]; }
const ProjectRecord::ArrowBlock &ProjectRecord::arrows(int m) const { return Arrows[size_t(layoutIndex(m))]; }
ProjectRecord::ArrowBlock &ProjectRecord::smallArrows(int m) { return SmallArrows[size_t(layoutIndex(m))]; }
const ProjectRecord::ArrowBlock &ProjectRecord::smallArrows(int m) const { return SmallArrows[size_t(layoutIndex(m))]; }
BitmapRecord &ProjectRecord::logo(int m) { return Logos[size_t(layoutIndex(m))]; }
const BitmapRecord &ProjectRecord::logo(int m) const { return Logos[size_t(layoutIndex(m))]; }

QByteArray ProjectRecord::toBytes() const
{
    Writer w(kSize);
    w.byte(kOffDisplayModel, DisplayModel);
    w.text(kOffFloorFontName, FloorFontName, kFontNameChars);
    w.boolean(kOffFloorFontBold, FloorFontBold);
    w.boolean(kOffFloorFontItalic, FloorFontItalic);
    w.int32(kOffFloorFontSize, FloorFontSize);
    w.int32(kOffFloorTextOffsetX, FloorTextOffsetX);
    w.int32(kOffFloorTextOffsetY, FloorTextOffsetY);
    w.text(kOffAutoSizeChars, AutoSizeChars, kAutoSizeChars);
    w.int32(kOffReserved1, Reserved1);
    w.int32(kOffReserved2, Reserved2);
    w.int32(kOffFloorCount, FloorCount);
    w.byte(kOffFloorTextDigits, FloorTextDigits);
    w.byte(kOffFormatMark, FormatMark);
    w.boolean(kOffShowWhileMoving, ShowWhileMoving);
    w.boolean(kOffVerticalMounting, VerticalMounting);
    w.int32(kOffCharsetChoice, CharsetChoice);
    for (int m = 0; m < kModels; ++m) {
        for (int i = 0; i < kMainRegionCount; ++i)
            w.region(mainRegionOffset(m, i), MainRegions[size_t(m)][size_t(i)]);
        for (int i = 0; i < kSmallRegionCount; ++i)
            w.region(smallRegionOffset(m, i), SmallRegions[size_t(m)][size_t(i)]);
    }
    w.boolean(kOffShowDateTime, ShowDateTime);
    w.boolean(kOffShowArrows, ShowArrows);
    w.boolean(kOffShowLogo, ShowLogo);
    w.boolean(kOffShowFloorBitmaps, ShowFloorBitmaps);
    w.boolean(kOffShowTextLines, ShowTextLines);
    w.int32(kOffFirstTextLine, FirstTextLine);
    w.int32(kOffLastTextLine, LastTextLine);
    w.boolean(kOffSpecialBitmapsOnly, SpecialBitmapsOnly);
    for (int c = 0; c < kFloorColumns; ++c)
        for (int r = 0; r < kFloorRows; ++r)
            w.text(floorTextOffset(c, r), FloorTexts[size_t(c)][size_t(r)], kShortTextChars);
    for (int l = 0; l < kModels; ++l) {
        for (int s = 0; s < kFloorRows; ++s)
            w.bitmap(floorBitmapOffset(l, s), FloorBitmaps[size_t(l)][size_t(s)]);
        for (int n = 0; n < kSpecialStates; ++n) {
            const SpecialStateRecord &st = SpecialStates[size_t(l)][size_t(n)];
            w.text(specialOffset(l, n), st.Text, kShortTextChars);
            w.bitmap(specialOffset(l, n) + kTextField, st.Bitmap);
        }
        for (int k = 0; k < 2; ++k) {
            w.bitmap(arrowOffset(l, k), Arrows[size_t(l)][size_t(k)]);
            w.bitmap(smallArrowOffset(l, k), SmallArrows[size_t(l)][size_t(k)]);
        }
        w.bitmap(logoOffset(l), Logos[size_t(l)]);
    }
    w.boolean(kOffAutoSize, AutoSize);
    w.boolean(kOffAlignTopLeft, AlignTopLeft);
    w.boolean(kOffAlignCentre, AlignCentre);
    w.boolean(kOffAlignBottomRight, AlignBottomRight);
    w.boolean(kOffInfraredReceiver, InfraredReceiver);
    for (int m = 0; m < kMonths; ++m)
        w.text(monthOffset(m), MonthNames[size_t(m)], kShortTextChars);
    return w.take();
}

ProjectRecord ProjectRecord::fromBytes(const QByteArray &bytes)
{
    const Reader r(bytes);
    ProjectRecord p;
    p.DisplayModel = r.byte(kOffDisplayModel);
    p.FloorFontName = r.text(kOffFloorFontName, kFontNameChars);
    p.FloorFontBold = r.boolean(kOffFloorFontBold);
    p.FloorFontItalic = r.boolean(kOffFloorFontItalic);
    p.FloorFontSize = r.int32(kOffFloorFontSize);
    p.FloorTextOffsetX = r.int32(kOffFloorTextOffsetX);
    p.FloorTextOffsetY = r.int32(kOffFloorTextOffsetY);
    p.AutoSizeChars = r.text(kOffAutoSizeChars, kAutoSizeChars);
    p.Reserved1 = r.int32(kOffReserved1);
    p.Reserved2 = r.int32(kOffReserved2);
    p.FloorCount = r.int32(kOffFloorCount);
    p.FloorTextDigits = r.byte(kOffFloorTextDigits);
    p.FormatMark = r.byte(kOffFormatMark);
    p.ShowWhileMoving = r.boolean(kOffShowWhileMoving);
    p.VerticalMounting = r.boolean(kOffVerticalMounting);
    p.CharsetChoice = r.int32(kOffCharsetChoice);
    for (int m = 0; m < kModels; ++m) {
        for (int i = 0; i < kMainRegionCount; ++i)
            p.MainRegions[size_t(m)][size_t(i)] = r.region(mainRegionOffset(m, i));
        for (int i = 0; i < kSmallRegionCount; ++i)
            p.SmallRegions[size_t(m)][size_t(i)] = r.region(smallRegionOffset(m, i));
    }
    p.ShowDateTime = r.boolean(kOffShowDateTime);
    p.ShowArrows = r.boolean(kOffShowArrows);
    p.ShowLogo = r.boolean(kOffShowLogo);
    p.ShowFloorBitmaps = r.boolean(kOffShowFloorBitmaps);
    p.ShowTextLines = r.boolean(kOffShowTextLines);
    p.FirstTextLine = r.int32(kOffFirstTextLine);
    p.LastTextLine = r.int32(kOffLastTextLine);
    p.SpecialBitmapsOnly = r.boolean(kOffSpecialBitmapsOnly);
    for (int c = 0; c < kFloorColumns; ++c)
        for (int row = 0; row < kFloorRows; ++row)
            p.FloorTexts[size_t(c)][size_t(row)] = r.text(floorTextOffset(c, row), kShortTextChars);
    for (int l = 0; l < kModels; ++l) {
        for (int s = 0; s < kFloorRows; ++s)
            p.FloorBitmaps[size_t(l)][size_t(s)] = r.bitmap(floorBitmapOffset(l, s));
        for (int n = 0; n < kSpecialStates; ++n) {
            SpecialStateRecord &st = p.SpecialStates[size_t(l)][size_t(n)];
            st.Text = r.text(specialOffset(l, n), kShortTextChars);
            st.Bitmap = r.bitmap(specialOffset(l, n) + kTextField);
        }
        for (int k = 0; k < 2; ++k) {
            p.Arrows[size_t(l)][size_t(k)] = r.bitmap(arrowOffset(l, k));
            p.SmallArrows[size_t(l)][size_t(k)] = r.bitmap(smallArrowOffset(l, k));
        }
        p.Logos[size_t(l)] = r.bitmap(logoOffset(l));
    }
    p.AutoSize = r.boolean(kOffAutoSize);
    p.AlignTopLeft = r.boolean(kOffAlignTopLeft);
    p.AlignCentre = r.boolean(kOffAlignCentre);
    p.AlignBottomRight = r.boolean(kOffAlignBottomRight);
    p.InfraredReceiver = r.boolean(kOffInfraredReceiver);
    for (int m = 0; m < kMonths; ++m)
        p.MonthNames[size_t(m)] = r.text(monthOffset(m), kShortTextChars);
    return p;
}

void ProjectRecord::sanitize(QStringList &warnings)
{
    const auto clampInt = [&warnings](auto &value, int lo, int hi, const QString &what) {
        const int v = int(value);
        if (v < lo || v > hi) {
            const int fixed = std::clamp(v, lo, hi);
            warnings.append(tr("%1 %2 liegt außerhalb von %3..%4, %5 wird verwendet")
                                .arg(what).arg(v).arg(lo).arg(hi).arg(fixed));
            value = std::remove_reference_t<decltype(value)>(fixed);
        }
    };
    clampInt(DisplayModel, 0, 2, tr("Anzeigemodell"));
    clampInt(FloorTextDigits, 0, 2, tr("Anzahl der Etagentext-Zeichen"));
    clampInt(CharsetChoice, 0, 2, tr("Zeichensatz-Auswahl"));
    clampInt(FloorCount, 2, kFloorRows, tr("Etagenanzahl"));
    clampInt(FirstTextLine, 0, kFloorColumns - 1, tr("Erste Etagentext-Zeile"));
    clampInt(LastTextLine, 0, kFloorColumns - 1, tr("Letzte Etagentext-Zeile"));

    const auto checkBitmap = [&warnings](BitmapRecord &b, const QString &where) {
        if (b.Width == 0 || b.Height == 0 || b.HasValidSize())
            return;
        warnings.append(tr("%1: Bitmap mit ungültiger Größe %2 x %3 wird nicht geladen")
                            .arg(where).arg(b.Width).arg(b.Height));
        b.Clear();
    };
    for (int l = 0; l < kModels; ++l) {
        const QString model = QLatin1String(layoutName(l));
        for (int s = 0; s < kFloorRows; ++s)
            checkBitmap(FloorBitmaps[size_t(l)][size_t(s)], tr("Etagenbitmap %1 (%2)").arg(s + 1).arg(model));
        for (int n = 0; n < kSpecialStates; ++n)
            checkBitmap(SpecialStates[size_t(l)][size_t(n)].Bitmap,
                        tr("Sonderzeichen-Bitmap %1 (%2)").arg(n + 1).arg(model));
        for (int k = 0; k < 2; ++k) {
            checkBitmap(Arrows[size_t(l)][size_t(k)], tr("Pfeil %1 (%2)").arg(k).arg(model));
            checkBitmap(SmallArrows[size_t(l)][size_t(k)], tr("Kleiner Pfeil %1 (%2)").arg(k).arg(model));
        }
        checkBitmap(Logos[size_t(l)], tr("Logo (%1)").arg(model));
    }
}

QByteArray ProjectRecord::convertOldRecord(const QByteArray &oldBytes)
{
    QByteArray old = oldBytes.left(kOldSize);
    if (old.size() < kOldSize)
        old.append(QByteArray(kOldSize - old.size(), '\0'));

    Writer w(kSize);
    char *out = w.data();
    std::memcpy(out, old.constData(), size_t(kOffSpecialStates));
    out[kOffFormatMark] = 1;
    out[kOffVerticalMounting] = 0;
    for (int l = 0; l < kModels; ++l)
        std::memcpy(out + kOffSpecialStates + l * kSpecialBlockSize,
                    old.constData() + kOffSpecialStates + l * kOldSpecialBlockSize,
                    size_t(kOldSpecialBlockSize));
    const int oldTail = kOffArrows - kOldShift;
    std::memcpy(out + kOffArrows, old.constData() + oldTail, size_t(kOldSize - oldTail));
    return w.take();
}

bool operator==(const ProjectRecord &a, const ProjectRecord &b)
{
    return a.DisplayModel == b.DisplayModel && a.FloorFontName == b.FloorFontName
        && a.FloorFontBold == b.FloorFontBold && a.FloorFontItalic == b.FloorFontItalic
        && a.FloorFontSize == b.FloorFontSize && a.FloorTextOffsetX == b.FloorTextOffsetX
        && a.FloorTextOffsetY == b.FloorTextOffsetY && a.AutoSizeChars == b.AutoSizeChars
        && a.Reserved1 == b.Reserved1 && a.Reserved2 == b.Reserved2 && a.FloorCount == b.FloorCount
        && a.FloorTextDigits == b.FloorTextDigits && a.FormatMark == b.FormatMark
        && a.ShowWhileMoving == b.ShowWhileMoving && a.VerticalMounting == b.VerticalMounting
        && a.CharsetChoice == b.CharsetChoice && a.MainRegions == b.MainRegions
        && a.SmallRegions == b.SmallRegions && a.ShowDateTime == b.ShowDateTime
        && a.ShowArrows == b.ShowArrows && a.ShowLogo == b.ShowLogo
        && a.ShowFloorBitmaps == b.ShowFloorBitmaps && a.ShowTextLines == b.ShowTextLines
        && a.FirstTextLine == b.FirstTextLine && a.LastTextLine == b.LastTextLine
        && a.SpecialBitmapsOnly == b.SpecialBitmapsOnly && a.FloorTexts == b.FloorTexts
        && a.FloorBitmaps == b.FloorBitmaps && a.SpecialStates == b.SpecialStates
        && a.Arrows == b.Arrows && a.SmallArrows == b.SmallArrows && a.Logos == b.Logos
        && a.AutoSize == b.AutoSize && a.AlignTopLeft == b.AlignTopLeft
        && a.AlignCentre == b.AlignCentre && a.AlignBottomRight == b.AlignBottomRight
        && a.InfraredReceiver == b.InfraredReceiver && a.MonthNames == b.MonthNames;
}
