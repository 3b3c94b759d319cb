// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window in tests: a temporary program folder with what the window needs to
// start, and a window created on it.

#include "app/appcontext.h"
#include "app/mainfrm.h"

#include <QFile>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <memory>

namespace ProgramFolder {

/// Copies the two bitmap fonts from the build into \a folder.
inline bool CopyBitmapFonts(const QString &folder)
{
    for (const QString &name : {QStringLiteral("terminal1.fnt"), QStringLiteral("terminal2.fnt")}) {
        if (!QFile::copy(QStringLiteral(ORV_BIN_DIR) + u'/' + name, folder + u'/' + name))
            return false;
    }
    return true;
}

/// The first scalable family the font database lists (empty when there is none).
inline QString FirstScalableFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &f : families)
        if (QFontDatabase::isScalable(f))
            return f;
    return QString();
}

/// A main window created on \a folder; null (with a warning naming the reason) when
/// its creation fails.
inline std::unique_ptr<TMainForm> CreateMainForm(const QString &folder)
{
    auto form = std::make_unique<TMainForm>(AppContext(folder));
    QString error;
    if (!form->Create(&error)) {
        qWarning("Create failed: %s", qPrintable(error));
        return nullptr;
    }
    return form;
}

} // namespace ProgramFolder
