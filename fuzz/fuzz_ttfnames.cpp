// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the TrueType name reader: any file gives a status, never a crash.
#include "project/ttfcomp.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryFile *file = [] {
        auto *f = new QTemporaryFile;
        if (!f->open())
            __builtin_trap();
        return f;
    }();
    file->resize(0);
    file->seek(0);
    file->write(reinterpret_cast<const char *>(data), qint64(size));
    file->flush();

    TTtfComp ttf;
    ttf.InclCopyright = ttf.InclFontVersion = ttf.InclPostScriptName = ttf.InclTrademarkInfo = true;
    const bool ok = ttf.ReadNames(file->fileName());
    if (ok != (ttf.Status == 0) || (ttf.Status != 0 && ttf.Status != 1))
        __builtin_trap();
    if (!ok && !ttf.FamilyName.isEmpty())
        __builtin_trap();
    for (const QString *s : {&ttf.NoticeText, &ttf.FamilyName, &ttf.SubFamName, &ttf.FullName,
                             &ttf.VersionText, &ttf.PostScriptName, &ttf.TrademarkText})
        if (s->size() > 150)
            __builtin_trap();
    return 0;
}
