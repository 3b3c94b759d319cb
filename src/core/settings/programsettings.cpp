// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/programsettings.h"

#include "settings/inifile.h"

ProgramSettings ProgramSettings::Load(IniFile &ini)
{
    ProgramSettings s;
    s.EnableVfd256 = ini.ReadBool(Keys::kSettingsUpper, Keys::kEnableVfd256, true);
    s.SaveIncludeTtf = ini.ReadBool(Keys::kSettingsUpper, Keys::kSaveIncludeTtf, true);
    s.GraphicEditorCmd = ini.ReadString(Keys::kGraphicEditor, Keys::kCmd, kDefaultGraphicEditor);
    s.FlashSizeData = ini.ReadInteger(Keys::kBinFile, Keys::kFlashSizeData, 0x1D000);
    s.FlashSize = ini.ReadInteger(Keys::kBinFile, Keys::kFlashSize, 0x20000);
    s.ComPort = ini.ReadInteger(Keys::kBinFile, Keys::kComPort, 0);
    s.DateTimeFormat = ini.ReadString(Keys::kSimulation, Keys::kDateTimeFormat, kDefaultDateTimeFormat);
    s.EditLedColorText = ini.ReadString(Keys::kGraphicEditor, Keys::kEditLedColor, kDefaultEditLedColor);
    s.LedColors = EditLedColors::FromText(s.EditLedColorText);
    s.ColorCount = ReadColorCount(ini);
    s.EditColors = ini.ReadBool(Keys::kSimulation, Keys::kEditColors, true);
    LoadColorPairs(ini, s.ColorCount, s.ColorPairs);
    return s;
}

int ProgramSettings::ReadColorCount(const IniFile &ini)
{
    return qBound(1, ini.ReadInteger(Keys::kSimulation, Keys::kColors, 1), kMaxColorPairs);
}

void ProgramSettings::LoadColorPairs(IniFile &ini, int count, std::array<SimColorPair, kMaxColorPairs> &pairs)
{
    count = qBound(1, count, kMaxColorPairs);
    for (int i = 1; i <= count; ++i) {
        const QString key = Keys::kColor + QString::number(i);
        QString text = ini.ReadString(Keys::kSimulation, key, QString());
        if (text.isEmpty()) {
            text = kDefaultColorPair;
            ini.WriteString(Keys::kSimulation, key, text);
        }
        pairs[size_t(i - 1)] = SimColorPair::FromText(text);
    }
}
