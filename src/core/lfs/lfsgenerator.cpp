// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/lfsgenerator.h"

#include "lfs/crc16.h"
#include "lfs/flashtemplates.h"
#include "lfs/floortable.h"
#include "lfs/lfsglyphsource.h"
#include "lfs/lfsheaders.h"
#include "lfs/packdatetime.h"
#include "lfs/rasterencoding.h"
#include "lfs/specialslot.h"
#include "lfs/statetable.h"
#include "lfs/texttable.h"
#include "project/bitmappacking.h"
#include "util/win1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TBinaerForm", text);
}

// Region indexes in the stored blocks.
enum MainRegion { Txt1 = 0, Txt2 = 1, Pfeil = 2, StaBmp = 3, EtaBmp = 4 };
enum SmallRegion { SmallTxt1 = 0, SmallTxt2 = 1, SmallPfeil = 2 };

constexpr int kParamsSize = LfsParams::Size;
constexpr int kFirstCode = 32;
constexpr uchar kHalfSign = 0xBD;
constexpr int kDollar = 36;

bool overlaps(const TRect &a, const TRect &b)
{
    return qMax(a.Left, b.Left) <= qMin(a.Right, b.Right) && qMax(a.Top, b.Top) <= qMin(a.Bottom, b.Bottom);
}

bool hasSize(const BitmapRecord &r)
{
    return r.Width != 0 && r.Height != 0;
}

bool hasPositiveSize(const BitmapRecord &r)
{
    return r.Width > 0 && r.Height > 0;
}

QSize modelSize(int model)
{
    switch (model) {
    case 0:
        return QSize(128, 64);
    case 1:
        return QSize(240, 128);
    case 2:
        return QSize(256, 128);
    default:
        return QSize();
    }
}

/// Writes slots one after another into the data section.
class SlotWriter
{
public:
    explicit SlotWriter(QByteArray &data) : m_data(data) {}

    /// Encodes \a raster into the next slot of \a slotSize bytes; returns the
    /// length of the encoding.
    int Put(const QImage &raster, int slotSize)
    {
        const qsizetype room = qMax<qsizetype>(0, qMin<qsizetype>(slotSize, m_data.size() - m_pos));
        const int length = EncodeRaster(raster, m_data.data() + m_pos, room);
        m_pos += qMax(slotSize, 0);
        return length;
    }

    void PutBytes(const QByteArray &bytes)
    {
        const qsizetype n = qMax<qsizetype>(0, qMin(bytes.size(), m_data.size() - m_pos));
        std::memcpy(m_data.data() + m_pos, bytes.constData(), size_t(n));
        m_pos += bytes.size();
    }

    qsizetype Pos() const { return m_pos; }

private:
    QByteArray &m_data;
    qsizetype m_pos = 0;
};

QImage unpack(const BitmapRecord &r)
{
    return UnpackBitmap(r.Width, r.Height, r.PackedPixels);
}

} // namespace

LfsGenerator::LfsGenerator()
    : m_clock([] { return QDateTime::currentDateTime(); })
{
}

QDateTime LfsGenerator::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

QString LfsGenerator::templatePath(const char *name) const
{
    return QDir::toNativeSeparators(QDir(ProgramFolder).filePath(QString::fromLatin1(name)));
}

int LfsGenerator::GlyphCount(int charsetChoice)
{
    switch (charsetChoice) {
    case 0:
        return 26;
    case 1:
        return 59;
    case 2:
        return 91;
    default:
        return 0;
    }
}

bool LfsGenerator::IsStaticLogo() const
{
    if (!ProjectCopy.ShowLogo || ProjectCopy.DisplayModel > 2)
        return false;
    const BitmapRecord &logo = ProjectCopy.logo(ProjectCopy.DisplayModel);
    return QSize(logo.Width, logo.Height) == modelSize(ProjectCopy.DisplayModel);
}

bool LfsGenerator::ValidateFlashSizes(QString *error) const
{
    QString e;
    if (FlashSize <= 0 || FlashSize > MaxFlashSize)
        e = tr("Einstellung FLASHSIZE=%1 ist ungültig, erlaubt sind 1 bis %2 Bytes.").arg(FlashSize).arg(MaxFlashSize);
    else if (FlashSizeData < kParamsSize || FlashSizeData > FlashSize)
        e = tr("Einstellung FLASHSIZE_DATA=%1 ist ungültig, erlaubt sind %2 bis %3 Bytes (FLASHSIZE).")
                .arg(FlashSizeData)
                .arg(kParamsSize)
                .arg(FlashSize);
    if (error)
        *error = e;
    return e.isEmpty();
}

LfsGenerator::Outcome LfsGenerator::Run()
{
    Report.Clear();
    m_outcome = Outcome();
    Report.Add(tr("Erstelle ") + OutputFileName);
    if (IsStaticLogo() && ProjectCopy.DisplayModel == 2) {
        // No template pair exists for this model: build the normal file.
        Report.Warning(tr("Für die ORV-VFD (256 x 128) gibt es keine statische Variante, es wird die normale "
                          "LFS-Datei erzeugt."));
        CreateBinFile();
    } else if (IsStaticLogo()) {
        m_outcome.Static = true;
        CreateBinFileStatic();
    } else {
        CreateBinFile();
    }
    return m_outcome;
}

void LfsGenerator::finishRun()
{
    if (!Success && !OutputFileName.isEmpty() && QFileInfo::exists(OutputFileName))
        Report.Add(tr("Die vorhandene Datei %1 wurde nicht ersetzt.").arg(OutputFileName));
    Report.Finish(Success);
    m_outcome.Success = Success;
    m_outcome.WarningBox = Success && Report.Count() > 3;
}

bool LfsGenerator::writeFile(const QByteArray &image)
{
    const quint16 crc = Crc16::Arc(image);
    const LfsFileHeader header = LfsFileHeader::ForImage(quint32(image.size()), PackDateTime(now()), crc);
    QSaveFile file(OutputFileName);
    if (!file.open(QIODevice::WriteOnly)) {
        Report.Error(OutputFileName + QStringLiteral(": ") + file.errorString());
        return false;
    }
    const QByteArray head = header.ToBytes();
    if (file.write(head) != head.size() || file.write(image) != image.size()) {
        Report.Error(OutputFileName + QStringLiteral(": ") + file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        Report.Error(OutputFileName + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

bool LfsGenerator::CreateBinFile()
{
    Success = true;
    m_outcome.BinfileSize = -1;

    QString error;
    if (!ValidateFlashSizes(&error)) {
        Report.Error(error);
        Success = false;
        finishRun();
        return Success;
    }

    const QString flash1 = templatePath(FlashTemplates::Flash1);
    if (!QFileInfo::exists(flash1)) {
        const QString text = tr("Datei ") + flash1 + tr(" existiert nicht !");
        m_outcome.MessageBox = text;
        Report.Error(text);
        Success = false;
        finishRun();
        return Success;
    }
    const QString flash2 = templatePath(ProjectCopy.VerticalMounting ? FlashTemplates::Flash2V : FlashTemplates::Flash2);
    if (!QFileInfo::exists(flash2)) {
        const QString text = tr("Datei ") + flash2 + tr(" existiert nicht");
        m_outcome.MessageBox = text;
        Report.Error(text);
        Success = false;
        finishRun();
        return Success;
    }

    const qint64 templateRoom = qint64(FlashSize) - FlashSizeData;
    FlashTemplates::Part t1, t2;
    if (!FlashTemplates::Read(flash1, templateRoom, t1, &error)
        || !FlashTemplates::Read(flash2, templateRoom, t2, &error)) {
        Report.Error(error);
        Success = false;
        finishRun();
        return Success;
    }

    LfsImageHeader imageHeader;
    imageHeader.FlashSize = quint32(FlashSize);
    imageHeader.DateTime = PackDateTime(now());

    QByteArray data;
    if (!BuildData(data)) {
        Success = false;
        data.clear();
    }
    const qint64 n = data.size();
    m_outcome.BinfileSize = n + kParamsSize;

    const qint64 spare = qint64(FlashSizeData) - kParamsSize - n;
    if (spare < 0) {
        const QString over = tr("Flash-Speicher um %1 Bytes überschritten!").arg(-spare);
        m_outcome.MessageBox = tr("Datei konnte nicht erstellt werden.") + QStringLiteral("\r\n\r\n") + over;
        m_outcome.Overflow = true;
        Report.Error(tr("Datei konnte nicht erstellt werden."));
        Report.Add(QString());
        Report.Add(over);
        Success = false;
    }

    if (Success) {
        const QString lengthWarning = FlashTemplates::LengthWarning(
            {QString::fromLatin1(FlashTemplates::Flash1), QFileInfo(flash2).fileName()},
            t1.FileLength + t2.FileLength, templateRoom);
        if (!lengthWarning.isEmpty())
            Report.Warning(lengthWarning);

        QByteArray image;
        image.reserve(qsizetype(FlashSize) + LfsImageHeader::Size);
        image.append(imageHeader.ToBytes());
        image.append(Params.ToBytes());
        image.append(data);
        image.append(QByteArray(qsizetype(spare), '\0'));
        image.append(FlashTemplates::Fit({t1.Bytes, t2.Bytes}, templateRoom));
        Q_ASSERT(image.size() == qsizetype(FlashSize) + LfsImageHeader::Size);
        Success = writeFile(image);
    }

    finishRun();
    return Success;
}

bool LfsGenerator::BuildData(QByteArray &data)
{
    data.clear();
    Params = LfsParams();
    Params.Word0 = 125;

    const ProjectRecord &p = ProjectCopy;
    const int model = p.DisplayModel;
    if (model > 2) {
        Report.Error(tr("Unbekanntes Anzeigemodell %1").arg(model));
        return false;
    }

    // Working copies of the model's data; turned for a display mounted upright.
    ProjectRecord::MainRegionBlock main = p.mainRegions(model);
    const ProjectRecord::SmallRegionBlock small = p.smallRegions(model);
    ProjectRecord::SpecialStateBlock states = p.specialStates(model);
    ProjectRecord::FloorBitmapBlock floors = p.floorBitmaps(model);
    ProjectRecord::ArrowBlock arrows = p.arrows(model);
    const ProjectRecord::ArrowBlock smallArrows = p.smallArrows(model);
    BitmapRecord logo = p.logo(model);

    Params.ModelCode = quint8(3 + model);
    const bool vertical = p.VerticalMounting;
    if (vertical) {
        Params.ModelCode += 3;
        const int h = model == 0 ? 64 : 128;
        for (RegionRecord &r : main)
            r.Rect = TurnRect(r.Rect, h);
        for (SpecialStateRecord &s : states)
            TurnBitmapRecord(s);
        for (BitmapRecord &b : floors)
            TurnBitmapRecord(b);
        for (BitmapRecord &b : arrows)
            TurnBitmapRecord(b);
        TurnBitmapRecord(logo);
    }

    const TRect txt1 = main[Txt1].Rect;
    const TRect txt2 = main[Txt2].Rect;
    const TRect pfeil = main[Pfeil].Rect;
    const TRect staBmp = main[StaBmp].Rect;
    const TRect etaBmp = main[EtaBmp].Rect;
    const TRect smallTxt1 = small[SmallTxt1].Rect;
    const TRect smallTxt2 = small[SmallTxt2].Rect;
    const TRect smallPfeil = small[SmallPfeil].Rect;

    // Overlap checks.
    const auto hitsFloorText = [&](const TRect &x) {
        return (overlaps(x, txt2) && p.FloorTextDigits == 0)
            || (overlaps(x, txt1) && (p.FloorTextDigits == 0 || p.FloorTextDigits == 1));
    };
    if (p.ShowLogo && p.ShowArrows && overlaps(pfeil, staBmp))
        Report.Warning(tr("Pfeil und Logobitmap Überschneidung"));
    if (p.ShowFloorBitmaps && p.ShowArrows && overlaps(pfeil, etaBmp))
        Report.Warning(tr("Pfeil und Etagenbitmap Überschneidung"));
    if (p.ShowFloorBitmaps && p.ShowLogo && overlaps(staBmp, etaBmp))
        Report.Warning(tr("Etagen- und Logobitmap Überschneidung"));
    if (p.ShowArrows && hitsFloorText(pfeil))
        Report.Warning(tr("Pfeil und Etagentext Überschneidung"));
    if (p.ShowLogo && hitsFloorText(staBmp))
        Report.Warning(tr("Logobitmap und Etagentext Überschneidung"));
    if (p.ShowFloorBitmaps && hitsFloorText(etaBmp))
        Report.Warning(tr("Etagenbitmap und Etagentext Überschneidung"));

    // Slot sizes must fit their 16-bit fields; anything larger is a damaged record.
    const struct
    {
        const char *name;
        TRect rect;
        bool used;
    } sized[] = {
        {"TXT1", txt1, true},
        {"TXT1", smallTxt1, true},
        {"PFEIL", pfeil, p.ShowArrows},
        {"PFEIL", smallPfeil, p.ShowArrows},
        {"STABMP", staBmp, p.ShowLogo},
        {"ETABMP", etaBmp, p.ShowFloorBitmaps},
    };
    for (const auto &s : sized) {
        if (s.used && RegionBytes(s.rect) > 0xFFFF) {
            Report.Error(tr("Rechteck %1 ist zu gross (%2 x %3)")
                             .arg(QLatin1String(s.name))
                             .arg(s.rect.Width())
                             .arg(s.rect.Height()));
            return false;
        }
    }

    // Glyph cells (upright).
    const QSize largeCell = vertical ? QSize(txt1.Height(), txt1.Width()) : QSize(txt1.Width(), txt1.Height());
    const QSize smallCell(smallTxt1.Width(), smallTxt1.Height());
    if (!m_glyphs) {
        Report.Error(tr("Die Zeichen des Etagenfonts können nicht gezeichnet werden (keine Schriftausgabe)."));
        return false;
    }
    QString glyphError;
    if (!m_glyphs->Prepare(p, largeCell, smallCell, &glyphError)) {
        Report.Error(glyphError);
        m_glyphs->Finish();
        return false;
    }
    struct GlyphsDone
    {
        LfsGlyphSource *source;
        ~GlyphsDone() { source->Finish(); }
    } glyphsDone{m_glyphs};

    // Fields that depend only on the project.
    Params.Word6 = 421;
    Params.SetByte(15, 1);
    Params.SetByte(17, 32);
    Params.SetByte(33, 80);
    Params.SetByte(34, 80);
    Params.SetByte(35, p.InfraredReceiver ? 1 : 0);
    Params.LargeGlyphBytes = quint16(RegionBytes(txt1));
    Params.SmallGlyphBytes = quint16(RegionBytes(smallTxt1));
    if (p.ShowArrows) {
        Params.LargeArrowBytes = quint16(RegionBytes(pfeil));
        Params.SmallArrowBytes = quint16(RegionBytes(smallPfeil));
        Params.LargeArrowCount = 2;
        Params.SmallArrowCount = 2;
        Params.SetByte(72, 1);
        Params.SetByte(73, 1);
    }
    int storedFloorBitmaps = 0;
    for (const BitmapRecord &b : floors)
        if (hasSize(b))
            ++storedFloorBitmaps;
    if (p.ShowFloorBitmaps) {
        Params.SetByte(63, 1);
        Params.SetByte(70, 1);
        Params.SetByte(87, p.ShowWhileMoving ? 1 : 0);
        Params.FloorBitmapBytes = quint16(RegionBytes(etaBmp));
        Params.FloorBitmapCount = quint8(storedFloorBitmaps);
    }
    if (p.ShowLogo) {
        Params.SetByte(69, 1);
        Params.LogoBytes = quint16(RegionBytes(staBmp));
        Params.LogoCount = 1;
    }
    std::array<QSize, ProjectRecord::kSpecialStates> stateSizes{};
    for (int i = 0; i < ProjectRecord::kSpecialStates; ++i)
        stateSizes[size_t(i)] = QSize(states[size_t(i)].Bitmap.Width, states[size_t(i)].Bitmap.Height);
    const SpecialSlot specialSlot = SpecialSlot::Choose(stateSizes, p.SpecialBitmapsOnly);
    Params.SpecialBitmapBytes = quint16(specialSlot.Bytes);
    Params.Word50 = 2;

    // Cell gaps, the large one first.
    const int largeGap = vertical ? txt1.Top - txt2.Bottom - 1 : txt2.Left - txt1.Right - 1;
    const int smallGap = smallTxt2.Left - smallTxt1.Right - 1;
    if (largeGap < 0 && p.FloorTextDigits == 0) {
        Report.Error(tr("Pixelabstand der Etagentext-Rechtecke (grosser Font)=") + QString::number(largeGap)
                     + tr(", muss aber >=0 sein!"));
        return false;
    }
    Params.LargeCellGap = quint8(largeGap & 0xFF);
    if (smallGap < 0 && p.FloorTextDigits == 0) {
        Report.Error(tr("Pixelabstand der Etagentext-Rechtecke (kleiner Font)=") + QString::number(smallGap)
                     + tr(", muss aber >=0 sein!"));
        return false;
    }
    Params.SmallCellGap = quint8(smallGap & 0xFF);

    // The remaining fields.
    const int glyphCount = GlyphCount(p.CharsetChoice);
    Params.LargeGlyphCount = quint8(glyphCount);
    Params.SmallGlyphCount = quint8(glyphCount);
    Params.SpecialBitmapCount = 10;
    if (p.ShowDateTime) {
        Params.SetByte(64, quint8(p.Reserved2 & 0xFF));
        Params.SetByte(77, 1);
    }
    Params.SetByte(65, 1);
    Params.SetByte(66, 1);
    Params.SetByte(67, 1);
    Params.SetByte(82, 1);
    Params.SetByte(84, 6);
    Params.SetByte(85, p.FloorTextDigits == 1 ? 0 : 1);
    const int linesPerFloor = qMin(p.LastTextLine - p.FirstTextLine + 1, TextTable::MaxLinesPerFloor);
    if (p.ShowTextLines) {
        Params.SetByte(63, 1);
        Params.SetByte(70, 1);
        Params.SetByte(83, quint8((p.FirstTextLine - 1) & 0xFF));
        Params.SetByte(86, quint8(linesPerFloor & 0xFF));
    }
    Params.Boxes[0] = LfsBox::FromRect(txt1, p.FloorTextDigits == 2 ? 0 : 1);
    Params.Boxes[1] = LfsBox::FromRect(smallTxt1);
    if (p.ShowLogo)
        Params.Boxes[3] = LfsBox::FromRect(staBmp);
    if (p.ShowFloorBitmaps)
        Params.Boxes[4] = LfsBox::FromRect(etaBmp);
    else if (p.ShowTextLines)
        Params.Boxes[4].Enabled = 1;
    if (specialSlot.Bytes > 0) {
        LfsBox &box = Params.Boxes[5];
        box.Enabled = 1;
        box.Width = quint8(specialSlot.Width & 0xFF);
        box.Height = quint8(specialSlot.Height & 0xFF);
    }
    if (p.ShowArrows) {
        Params.Boxes[7] = LfsBox::FromRect(pfeil);
        Params.Boxes[8] = LfsBox::FromRect(smallPfeil);
    }

    // The tables, built before the glyphs.
    FloorTable floorTable;
    TextTable textTable;
    for (int k = 1; k <= LfsStates::Count; ++k)
        textTable.SetFixedEntry(k, states[size_t(LfsStates::ProjectStateOf(k) - 1)].Text);
    for (int m = 0; m < ProjectRecord::kMonths; ++m)
        textTable.SetFixedEntry(11 + m, p.MonthNames[size_t(m)]);
    if (p.ShowTextLines)
        textTable.AddFloorLines(floorTable, p.FloorCount, linesPerFloor, [&p](int col, int row) {
            return p.FloorTexts[size_t(col - 1)][size_t(row - 1)];
        });
    textTable.Finish();

    // N: every element's full size; the floor bitmaps count all stored slots.
    qint64 n = qint64(glyphCount) * Params.LargeGlyphBytes + qint64(glyphCount) * Params.SmallGlyphBytes;
    if (p.ShowArrows)
        n += 2 * qint64(Params.LargeArrowBytes) + 2 * qint64(Params.SmallArrowBytes);
    if (p.ShowLogo)
        n += Params.LogoBytes;
    if (p.ShowFloorBitmaps)
        n += qint64(storedFloorBitmaps) * Params.FloorBitmapBytes;
    if (specialSlot.Bytes > 0)
        n += 10 * qint64(specialSlot.Bytes);
    n += 2 + FloorTable::Size + StateTable::Size + textTable.Bytes().size();
    QByteArray section(qsizetype(n), '\0');
    SlotWriter out(section);

    // 1, 2: glyphs.
    const auto glyphLoop = [&](LfsGlyphSource::Font font, int slot, const QString &warning) {
        for (int i = 0; i < glyphCount; ++i) {
            const int c = kFirstCode + i;
            QImage raster = m_glyphs->Render(font, c == kDollar ? kHalfSign : uchar(c));
            if (font == LfsGlyphSource::Font::Large && vertical)
                Rotate90(raster);
            if (out.Put(raster, slot) != slot)
                Report.Warning(warning + QChar(char16_t(c))
                               + tr(") musste aufgefüllt werden."));
        }
    };
    glyphLoop(LfsGlyphSource::Font::Large, Params.LargeGlyphBytes, tr("Bitmap-Grösse (Grosser Font, Zeichen="));
    glyphLoop(LfsGlyphSource::Font::Small, Params.SmallGlyphBytes, tr("Bitmap-Grösse (Kleiner Font, Zeichen="));

    // 3: arrows.
    if (p.ShowArrows) {
        const struct
        {
            const BitmapRecord &record;
            int slot;
            const char *warning;
        } arrowSlots[] = {
            {arrows[1], Params.LargeArrowBytes, "Bitmap-Grösse (Grosser Pfeil aufwärts) musste aufgefüllt werden."},
            {arrows[0], Params.LargeArrowBytes, "Bitmap-Grösse (Grosser Pfeil abwärts) musste aufgefüllt werden."},
            {smallArrows[1], Params.SmallArrowBytes, "Bitmap-Grösse (Kleiner Pfeil aufwärts) musste aufgefüllt werden."},
            {smallArrows[0], Params.SmallArrowBytes, "Bitmap-Grösse (Kleiner Pfeil abwärts) musste aufgefüllt werden."},
        };
        for (const auto &a : arrowSlots)
            if (out.Put(unpack(a.record), a.slot) != a.slot)
                Report.Warning(tr(a.warning));
    }

    // 4: logo.
    if (p.ShowLogo && out.Put(unpack(logo), Params.LogoBytes) != Params.LogoBytes)
        Report.Warning(tr("Bitmap-Grösse Logo-Bitmap musste aufgefüllt werden."));

    // 5: floor bitmaps, top grid row first.
    if (p.ShowFloorBitmaps) {
        const QList<int> rows = floorTable.AssignBitmaps(
            p.FloorCount, [&floors](int row) { return hasSize(floors[size_t(row - 1)]); });
        for (int row : rows) {
            if (out.Put(unpack(floors[size_t(row - 1)]), Params.FloorBitmapBytes) != Params.FloorBitmapBytes)
                Report.Warning(tr("Bitmap-Grösse Etagenbitmap(")
                               + QString::number(FloorTable::SlotOfRow(p.FloorCount, row))
                               + tr(") musste aufgefüllt werden."));
        }
        Params.FloorBitmapCount = quint8(rows.size());
    }

    // 6: special-state bitmaps in the flash order.
    std::array<bool, LfsStates::Count> stateHasBitmap{};
    for (int k = 1; k <= LfsStates::Count; ++k) {
        const BitmapRecord &b = states[size_t(LfsStates::ProjectStateOf(k) - 1)].Bitmap;
        stateHasBitmap[size_t(k - 1)] = hasPositiveSize(b);
        if (specialSlot.Bytes > 0)
            out.Put(unpack(b), specialSlot.Bytes);
    }

    // 7..10: two zero bytes and the tables.
    out.PutBytes(QByteArray(2, '\0'));
    out.PutBytes(floorTable.Bytes());
    out.PutBytes(StateTable::Build(stateHasBitmap, p.SpecialBitmapsOnly));
    out.PutBytes(textTable.Bytes());

    data = section;
    return true;
}

bool LfsGenerator::BuildStaticData(QByteArray &data)
{
    data.clear();
    if (ProjectCopy.DisplayModel > 2)
        return false;
    BitmapRecord logo = ProjectCopy.logo(ProjectCopy.DisplayModel);
    if (ProjectCopy.VerticalMounting)
        TurnBitmapRecord(logo);
    const int b = PaddedSize(logo.Width, logo.Height);
    const QImage raster = unpack(logo);
    if (raster.isNull()) {
        Report.Add(QStringLiteral("Bitmap-Size Static Bitmap mismatch"));
        return false;
    }
    data = QByteArray(b, '\0');
    if (EncodeRaster(raster, data.data(), data.size()) != b)
        Report.Add(QStringLiteral("Bitmap-Size Static Bitmap mismatch"));
    return true;
}

bool LfsGenerator::CreateBinFileStatic()
{
    Success = true;
    m_outcome.BinfileSize = -1;

    const char *const names[] = {FlashTemplates::StatVfd1, FlashTemplates::StatVfd2, FlashTemplates::StatLcd1,
                                 FlashTemplates::StatLcd2};
    for (const char *name : names) {
        const QString path = templatePath(name);
        if (!QFileInfo::exists(path)) {
            const QString text = tr("Datei ") + path + tr(" not found");
            m_outcome.MessageBox = text;
            Report.Error(text);
            Success = false;
            finishRun();
            return Success;
        }
    }

    const bool lcd = ProjectCopy.DisplayModel == 1;
    const QString path1 = templatePath(lcd ? FlashTemplates::StatLcd1 : FlashTemplates::StatVfd1);
    const QString path2 = templatePath(lcd ? FlashTemplates::StatLcd2 : FlashTemplates::StatVfd2);
    FlashTemplates::Part t1, t2;
    QString error;
    if (!FlashTemplates::Read(path1, StaticFlashSize, t1, &error)
        || !FlashTemplates::Read(path2, StaticFlashSize, t2, &error)) {
        Report.Error(error);
        Success = false;
        finishRun();
        return Success;
    }

    LfsImageHeader imageHeader;
    imageHeader.FlashSize = StaticFlashSize;
    imageHeader.DateTime = PackDateTime(now());

    QByteArray picture;
    if (!BuildStaticData(picture))
        Success = false;
    m_outcome.BinfileSize = picture.size();

    if (Success) {
        const QString lengthWarning = FlashTemplates::LengthWarning(
            {QFileInfo(path1).fileName(), QFileInfo(path2).fileName()}, t1.FileLength + t2.FileLength,
            StaticFlashSize - picture.size());
        if (!lengthWarning.isEmpty())
            Report.Warning(lengthWarning);
        QByteArray image = imageHeader.ToBytes();
        image.append(FlashTemplates::Fit({t1.Bytes, picture, t2.Bytes}, StaticFlashSize));
        Success = writeFile(image);
    }

    finishRun();
    return Success;
}
