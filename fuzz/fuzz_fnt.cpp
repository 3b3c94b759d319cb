// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the .fnt reader: a font that loads must also draw safely.
#include "display/userfont.h"
#include "ledmatrix/ledmatrix.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TUserFont font;
    QString error;
    const bool ok = font.LoadFromData(bytes, QStringLiteral("fuzz.fnt"), &error);
    if (!ok) {
        if (error.isEmpty() || !font.IsEmpty())
            __builtin_trap();
        return 0;
    }
    if (font.GlyphData.size() != qsizetype(font.LastChar - font.FirstChar + 1) * font.BytesPerGlyph)
        __builtin_trap();

    // Draw every code once, partly outside the raster.
    static LedMatrix *matrix = [] {
        auto *m = new LedMatrix;
        m->SetLEDCountX(40);
        m->SetLEDCountY(20);
        return m;
    }();
    QString text;
    for (int c = 0; c < 256; ++c)
        text.append(QChar(char16_t(c)));
    matrix->DrawGlyphText(-3, -2, font, text);
    matrix->DrawGlyphText(5, 7, font, text.mid(32, 16));
    return 0;
}
