// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Reads the Microsoft-platform name records of a TrueType file.
class TTtfComp
{
public:
    bool InclCopyright = false;
    bool InclFontFamilyName = true;
    bool InclFontSubFamName = true;
    bool InclFontFullName = true;
    bool InclFontVersion = false;
    bool InclPostScriptName = false;
    bool InclTrademarkInfo = false;

    /// 0 names read, 1 no usable name table, 2 file cannot be opened, 3 while reading.
    int Status = 0;
    quint16 PlatformID = 0;
    quint16 EncodingID = 0;
    quint16 LanguageID = 0;

    QString NoticeText;
    QString FamilyName;
    QString SubFamName;
    QString FullName;
    QString VersionText;
    QString PostScriptName;
    QString TrademarkText;

    /// True when the name table was read (Status 0).
    bool ReadNames(const QString &path);
};
