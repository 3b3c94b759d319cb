// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/programfonts.h"

#include "project/fontembedding.h"
#include "project/fontfiles.h"
#include "project/projectfile.h"
#include "project/ttfcomp.h"

#include <QFileInfo>

ProgramFonts::ProgramFonts(const QString &folder, FontServices *services)
    : m_folder(folder), m_services(services ? services : &FontServices::System())
{
}

ProgramFonts::ScanResult ProgramFonts::AddFolderFonts()
{
    ScanResult result;
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
        return result;
    TTtfComp ttf;
    ttf.InclFontSubFamName = false;
    ttf.InclFontFullName = false;
    const QStringList files = FontFiles::TtfFilesIn({m_folder}, false);
    for (const QString &path : files) {
        ttf.ReadNames(path);
        const QString family = ttf.FamilyName;
        qsizetype known = -1;
        for (qsizetype i = 0; i < m_added.size(); ++i) {
            if (m_added[i].Path == path)
                known = i;
        }
        if (known >= 0)
            m_services->RemoveFont(m_added[known].Id);
        QStringList databaseFamilies;
        const int id = m_services->AddFont(path, &databaseFamilies);
        if (id < 0) {
            if (known >= 0)
                m_added.removeAt(known);
            continue;
        }
        if (known >= 0)
            m_added[known].Id = id;
        else
            m_added.append(Added{path, id});
        // A file without a usable family name is added but cannot be listed: no
        // family could find it again.
        if (!family.trimmed().isEmpty() && !result.Families.contains(family, Qt::CaseInsensitive))
            result.Families.append(family);
        for (const QString &f : std::as_const(databaseFamilies)) {
            if (!result.DatabaseFamilies.contains(f, Qt::CaseInsensitive))
                result.DatabaseFamilies.append(f);
        }
    }
    return result;
}

QStringList ProgramFonts::AddedFontFiles() const
{
    QStringList paths;
    for (const Added &a : m_added)
        paths.append(a.Path);
    return paths;
}

void ProgramFonts::RemoveAddedFonts()
{
    for (const Added &a : std::as_const(m_added))
        m_services->RemoveFont(a.Id);
    m_added.clear();
}

bool ProgramFonts::InstallEmbedded(const FontSection &section, ScanResult *scan, QString *error)
{
    QStringList written;
    const bool ok = FontEmbedding::ExtractFonts(section, m_folder, &written, error);
    const ScanResult result = AddFolderFonts();
    if (scan)
        *scan = result;
    return ok;
}
