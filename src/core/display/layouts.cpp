// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/layouts.h"

#include "display/winfontinfo.h"

#include <QCoreApplication>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("TDisplay", text);
}

struct MainGeometry
{
    TRect txt1, txt2, txt3, pfeil, stabmp, etabmp, uhr;
};

std::unique_ptr<TDisplay> mainLayout(const QString &name, int w, int h, const TUserFont *font,
                                     const MainGeometry &g)
{
    auto d = std::make_unique<TDisplay>(name, w, h, font);
    d->AddRect(QStringLiteral("TXT1"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagentext (1)")), g.txt1, true);
    d->AddRect(QStringLiteral("TXT2"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagentext (2)")), g.txt2, true);
    d->AddRect(QStringLiteral("TXT3"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagentext (Einstellig)")), g.txt3, false);
    d->AddRect(QStringLiteral("PFEIL"), translated(QT_TRANSLATE_NOOP("TDisplay", "Pfeil-Bitmap")), g.pfeil, true);
    d->AddRect(QStringLiteral("STABMP"), QStringLiteral("Logo-Bitmap"), g.stabmp, false);
    d->AddRect(QStringLiteral("ETABMP"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagen-Bitmap")), g.etabmp, false);
    d->AddRect(QStringLiteral("UHR"), translated(QT_TRANSLATE_NOOP("TDisplay", "Datum/Uhrzeit")), g.uhr, false);
    return d;
}

std::unique_ptr<TDisplay> sonderLayout(const QString &name, int w, int h, const TUserFont *font)
{
    auto d = std::make_unique<TDisplay>(name, w, h, font);
    d->AddRect(QStringLiteral("SONDERZEICHEN"), translated(QT_TRANSLATE_NOOP("TDisplay", "Sonderzeichen")), TRect(0, 0, w - 1, h - 1),
               true);
    return d;
}

// The two large small-font layouts list TXT3 before PFEIL, the 128 x 64 one after it.
std::unique_ptr<TDisplay> kleinLayoutLarge(int w, int h, const TUserFont *font)
{
    auto d = std::make_unique<TDisplay>(QStringLiteral("Klein_VFD2"), w, h, font);
    d->AddRect(QStringLiteral("TXT1"), translated(QT_TRANSLATE_NOOP("TDisplay", "EtagenText (1)")), TRect(98, 82, 138, 125), true);
    d->AddRect(QStringLiteral("TXT2"), translated(QT_TRANSLATE_NOOP("TDisplay", "EtagenText (2)")), TRect(139, 82, 179, 125), true);
    d->AddRect(QStringLiteral("TXT3"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagentext (Einstellig)")), TRect(118, 82, 158, 125),
               false);
    d->AddRect(QStringLiteral("PFEIL"), translated(QT_TRANSLATE_NOOP("TDisplay", "Pfeil-Bitmap")), TRect(186, 82, 226, 125), true);
    return d;
}

} // namespace

DisplayLayouts::DisplayLayouts(const TUserFont *font1, const TUserFont *font2)
{
    m_layouts[0] = mainLayout(QStringLiteral("VFD1"), 128, 64, font1,
                              {TRect(0, 0, 44, 55), TRect(45, 0, 89, 55), TRect(22, 0, 66, 55),
                               TRect(90, 0, 127, 29), TRect(90, 30, 127, 46),
                               TRect(90, 47, 127, 55), TRect(0, 56, 127, 63)});
    m_layouts[1] = mainLayout(QStringLiteral("VFD2"), 256, 128, font2,
                              {TRect(0, 0, 89, 111), TRect(90, 0, 179, 111),
                               TRect(45, 0, 134, 111), TRect(190, 0, 255, 59),
                               TRect(190, 60, 255, 89), TRect(190, 90, 255, 111),
                               TRect(0, 112, 255, 127)});
    m_layouts[2] = mainLayout(QStringLiteral("LCD1"), 240, 128, font2,
                              {TRect(0, 0, 84, 111), TRect(85, 0, 169, 111),
                               TRect(42, 0, 126, 111), TRect(175, 0, 239, 69),
                               TRect(175, 70, 239, 89), TRect(175, 90, 239, 111),
                               TRect(0, 112, 239, 127)});
    m_layouts[3] = sonderLayout(QStringLiteral("Sonderzeichen_VFD1"), 128, 64, font1);
    m_layouts[4] = sonderLayout(QStringLiteral("Sonderzeichen_VFD2"), 256, 128, font2);
    m_layouts[5] = sonderLayout(QStringLiteral("Sonderzeichen_LCD1"), 240, 128, font2);

    auto klein = std::make_unique<TDisplay>(QStringLiteral("Klein_VFD1"), 128, 64, font1);
    klein->AddRect(QStringLiteral("TXT1"), translated(QT_TRANSLATE_NOOP("TDisplay", "EtagenText (1)")), TRect(51, 42, 70, 62), true);
    klein->AddRect(QStringLiteral("TXT2"), translated(QT_TRANSLATE_NOOP("TDisplay", "EtagenText (2)")), TRect(71, 42, 90, 62), true);
    klein->AddRect(QStringLiteral("PFEIL"), translated(QT_TRANSLATE_NOOP("TDisplay", "Pfeil-Bitmap")), TRect(92, 42, 110, 62), true);
    klein->AddRect(QStringLiteral("TXT3"), translated(QT_TRANSLATE_NOOP("TDisplay", "Etagentext (Einstellig)")), TRect(61, 42, 80, 62),
                   false);
    m_layouts[6] = std::move(klein);
    m_layouts[7] = kleinLayoutLarge(256, 128, font2);
    m_layouts[8] = kleinLayoutLarge(240, 128, font2);

    for (int i : {0, 1, 2, 6, 7, 8}) {
        m_layouts[size_t(i)]->FontInfo->SetHorzAlign(1);
        m_layouts[size_t(i)]->FontInfo->SetVertAlign(1);
    }
}

DisplayLayouts::~DisplayLayouts() = default;

int DisplayLayouts::LayoutOrderIndex(DisplayModel model)
{
    switch (model) {
    case DisplayModel::Vfd128:
        return 0;
    case DisplayModel::Vfd256:
        return 1;
    case DisplayModel::Lcd240:
        return 2;
    }
    return 2;
}

TDisplay *DisplayLayouts::Main(DisplayModel model) const
{
    return At(LayoutOrderIndex(model));
}

TDisplay *DisplayLayouts::Sonder(DisplayModel model) const
{
    return At(3 + LayoutOrderIndex(model));
}

TDisplay *DisplayLayouts::Klein(DisplayModel model) const
{
    return At(6 + LayoutOrderIndex(model));
}
