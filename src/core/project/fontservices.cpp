// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/fontservices.h"

#include <QFontDatabase>

QList<FontServices::Family> FontServices::InstalledFamilies() const
{
    QList<Family> result;
    const QStringList families = QFontDatabase::families();
    for (const QString &name : families) {
        if (QFontDatabase::isPrivateFamily(name))
            continue;
        result.append(Family{name, QFontDatabase::isScalable(name)});
    }
    return result;
}

int FontServices::AddFont(const QString &path, QStringList *families)
{
    const int id = QFontDatabase::addApplicationFont(path);
    QStringList added;
    if (id >= 0)
        added = QFontDatabase::applicationFontFamilies(id);
    if (id >= 0 && added.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return -1;
    }
    if (families)
        *families = added;
    return id;
}

bool FontServices::RemoveFont(int id)
{
    return QFontDatabase::removeApplicationFont(id);
}

bool FontServices::IsAvailable(const QString &family) const
{
    if (family.trimmed().isEmpty())
        return false;
    const QStringList families = QFontDatabase::families();
    for (const QString &name : families) {
        if (name.compare(family, Qt::CaseInsensitive) == 0)
            return true;
        // Families that exist from several foundries are listed as "Name [Foundry]".
        const qsizetype bracket = name.indexOf(QLatin1String(" ["));
        if (bracket > 0 && name.endsWith(u']') && QStringView(name).left(bracket).compare(family, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FontServices &FontServices::System()
{
    static FontServices services;
    return services;
}
