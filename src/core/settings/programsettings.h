// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/colortext.h"

#include <QString>
#include <array>

class IniFile;

/// Section and key names of the settings file. "Settings" and "SETTINGS" are one
/// section (names match without regard to case); both spellings are kept as the
/// program has always written them.
namespace Keys {
inline const QString kSettings = QStringLiteral("Settings");
inline const QString kSettingsUpper = QStringLiteral("SETTINGS");
inline const QString kSimulation = QStringLiteral("SIMULATION");
inline const QString kGraphicEditor = QStringLiteral("GraphicEditor");
inline const QString kBinFile = QStringLiteral("BINFILE");

inline const QString kLanguage = QStringLiteral("Language");
inline const QString kDateTimeFormat = QStringLiteral("DateTimeFormat");
inline const QString kEnableVfd256 = QStringLiteral("ENABLEVFD256");
inline const QString kSaveIncludeTtf = QStringLiteral("SAVE_INCLUDE_TTF");
inline const QString kCmd = QStringLiteral("CMD");
inline const QString kEditLedColor = QStringLiteral("EditLEDColor");
inline const QString kFlashSizeData = QStringLiteral("FLASHSIZE_DATA");
inline const QString kFlashSize = QStringLiteral("FLASHSIZE");
inline const QString kComPort = QStringLiteral("COMPORT");
inline const QString kColors = QStringLiteral("COLORS");
inline const QString kColor = QStringLiteral("Color");
inline const QString kEditColors = QStringLiteral("EDITCOLORS");
} // namespace Keys

/// The settings the main window reads when it is created, in the order it reads
/// them, with their defaults.
struct ProgramSettings
{
    static constexpr int kMaxColorPairs = 50;
    static inline const QString kDefaultColorPair = QStringLiteral("0000FFFFFFFF");
    static inline const QString kDefaultEditLedColor = QStringLiteral("0000FFFFFFFF8080FFBFBFBF");
    /// The external bitmap editor: the desktop's application for the file.
    static inline const QString kDefaultGraphicEditor = QStringLiteral("xdg-open");
    static inline const QString kDefaultDateTimeFormat = QStringLiteral("dd.mmm.yyyy hh:nn");

    bool EnableVfd256 = true;
    bool SaveIncludeTtf = true;
    QString GraphicEditorCmd = kDefaultGraphicEditor;
    int FlashSizeData = 0x1D000;
    int FlashSize = 0x20000;
    int ComPort = 0;
    QString DateTimeFormat = kDefaultDateTimeFormat;
    QString EditLedColorText = kDefaultEditLedColor;
    EditLedColors LedColors = EditLedColors::FromText(kDefaultEditLedColor);
    int ColorCount = 1; ///< 1..kMaxColorPairs
    bool EditColors = true;
    /// Pairs 1..ColorCount at indexes 0..ColorCount-1; the rest stay default.
    std::array<SimColorPair, kMaxColorPairs> ColorPairs{};

    /// Reads every key (writing missing colour pairs, see LoadColorPairs).
    static ProgramSettings Load(IniFile &ini);

    /// Reads "Color1".."Color<count>" of "SIMULATION"; a missing or empty pair is
    /// written as "0000FFFFFFFF" and used. \a count is limited to 1..kMaxColorPairs.
    static void LoadColorPairs(IniFile &ini, int count, std::array<SimColorPair, kMaxColorPairs> &pairs);

    /// "COLORS" limited to 1..kMaxColorPairs.
    static int ReadColorCount(const IniFile &ini);
};
