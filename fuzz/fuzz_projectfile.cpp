// SPDX-License-Identifier: GPL-3.0-or-later
// Project file reader: decompression, record parsing, font section and checks.
#include "project/bitmappacking.h"
#include "project/fontembedding.h"
#include "project/projectfile.h"

#include <cstddef>
#include <cstdint>

namespace {

/// Inputs starting with 'R' describe decompressed content instead of a file, so
/// that mutations reach the record and font-section checks rather than failing the
/// stream's checksum: bytes 1..3 give an offset into the record where the next
/// 4 x byte[4] bytes are placed, the remaining bytes follow the record.
QByteArray contentFromInput(const QByteArray &in)
{
    if (in.size() < 5)
        return QByteArray();
    const int offset = ((uchar(in[1]) << 16) | (uchar(in[2]) << 8) | uchar(in[3])) % ProjectRecord::kSize;
    const int length = qMin(int(uchar(in[4])) * 4, int(in.size()) - 5);
    QByteArray content(ProjectRecord::kSize, '\0');
    content[ProjectRecord::kFormatMarkOffset] = 1;
    const int n = qMin(length, ProjectRecord::kSize - offset);
    content.replace(offset, n, in.constData() + 5, n);
    content.append(in.constData() + 5 + length, in.size() - 5 - length);
    return content;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool content = size > 0 && data[0] == 'R';
    const QByteArray decompressed = content ? contentFromInput(input) : QByteArray();
    const ProjectReadResult r = content ? ProjectFile::decodeContent(decompressed, QStringLiteral("fuzz"))
                                        : ProjectFile::decode(input, QStringLiteral("fuzz"));
    // Every stored name, also of sections the reader refuses, becomes a plain ".ttf"
    // file name inside the fonts folder.
    const auto checkNames = [](const FontHeader &header) {
        for (int i = 0; i < FontHeader::kMaxFiles; ++i) {
            const QString name = FontEmbedding::SafeFileName(header.FileNames[size_t(i)], i);
            if (name.isEmpty() || name.size() > FontEmbedding::kMaxNameChars + 4 || name.contains(u'/')
                || name.contains(u'\\') || name == QLatin1String("..") || name == QLatin1String(".")
                || !name.endsWith(QLatin1String(".ttf"), Qt::CaseInsensitive))
                __builtin_trap();
            for (QChar c : name) {
                if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                    __builtin_trap();
            }
        }
    };
    if (content && decompressed.size() > ProjectRecord::kSize)
        checkNames(FontHeader::fromBytes(decompressed.mid(ProjectRecord::kSize, FontHeader::kSize)));
    if (!r.ok())
        return 0;
    const ProjectRecord &rec = r.Contents->Record;
    // Everything the reader let through must decode without surprises.
    for (int m = 0; m < ProjectRecord::kModels; ++m) {
        for (const BitmapRecord &b : rec.floorBitmaps(m))
            (void)ImageFromBitmapRecord(b);
        for (const SpecialStateRecord &s : rec.specialStates(m))
            (void)ImageFromBitmapRecord(s.Bitmap);
        (void)ImageFromBitmapRecord(rec.logo(m));
        for (const BitmapRecord &b : rec.arrows(m))
            (void)ImageFromBitmapRecord(b);
    }
    if (rec.DisplayModel > 2 || rec.FloorCount < 2 || rec.FloorCount > 64 || rec.FirstTextLine < 0
        || rec.FirstTextLine > 8 || rec.LastTextLine < 0 || rec.LastTextLine > 8)
        __builtin_trap();
    if (rec.toBytes().size() != ProjectRecord::kSize)
        __builtin_trap();
    const FontSection &fonts = r.Contents->Fonts;
    if (fonts.Files.size() != qsizetype(fonts.Header.Count < 0 ? 0 : fonts.Header.Count) && !fonts.isEmpty())
        __builtin_trap();
    // A section the reader accepted can be extracted.
    if (!fonts.isEmpty() && !FontEmbedding::CheckSection(fonts).isEmpty())
        __builtin_trap();
    checkNames(fonts.Header);
    return 0;
}
