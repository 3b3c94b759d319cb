// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The font services of the system as the program uses them: the installed families,
/// adding a font file for the running program and removing it again. The default
/// implementation uses QFontDatabase (needs a QGuiApplication); tests replace it to
/// act as a machine with other fonts.
class FontServices
{
public:
    struct Family
    {
        QString Name;
        bool TrueType = false;
    };

    virtual ~FontServices() = default;

    /// Every installed family (private families left out), with its TrueType flag.
    virtual QList<Family> InstalledFamilies() const;
    /// Adds the font file for this program; the families it brought in \a families.
    /// -1 when the file adds no font.
    virtual int AddFont(const QString &path, QStringList *families);
    /// Removes a font added by AddFont.
    virtual bool RemoveFont(int id);
    /// True when text can be drawn in \a family now (letter case ignored).
    virtual bool IsAvailable(const QString &family) const;

    /// The services of this process (QFontDatabase).
    static FontServices &System();
};
