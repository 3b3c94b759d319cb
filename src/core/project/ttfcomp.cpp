// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/ttfcomp.h"

#include "util/win1252.h"

#include <QFile>

namespace {

constexpr int kMaxDirEntries = 24;
constexpr int kMaxNameUnits = 150;

bool readU16(QFile &f, quint16 &v)
{
    uchar b[2];
    if (f.read(reinterpret_cast<char *>(b), 2) != 2)
        return false;
    v = quint16((b[0] << 8) | b[1]);
    return true;
}

bool readU32(QFile &f, quint32 &v)
{
    uchar b[4];
    if (f.read(reinterpret_cast<char *>(b), 4) != 4)
        return false;
    v = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
    return true;
}

} // namespace

bool TTtfComp::ReadNames(const QString &path)
{
    Status = 3;
    NoticeText.clear();
    FamilyName.clear();
    SubFamName.clear();
    FullName.clear();
    VersionText.clear();
    PostScriptName.clear();
    TrademarkText.clear();

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        Status = 2;
        return false;
    }

    quint32 tableOffset = 0;
    bool found = false;
    if (f.seek(12)) {
        for (int i = 0; i < kMaxDirEntries && !found; ++i) {
            char tag[4];
            if (f.read(tag, 4) != 4)
                break;
            if (tag[0] == 'n' && tag[1] == 'a' && tag[2] == 'm' && tag[3] == 'e') {
                quint32 checksum = 0;
                if (!readU32(f, checksum) || !readU32(f, tableOffset))
                    break;
                found = true;
            } else if (!f.seek(f.pos() + 12)) {
                break;
            }
        }
    }
    quint16 count = 0;
    quint16 storage = 0;
    if (!found || tableOffset == 0 || !f.seek(qint64(tableOffset) + 2) || !readU16(f, count)
        || !readU16(f, storage) || count == 0 || storage == 0) {
        Status = 1;
        return false;
    }

    for (int i = 0; i < count; ++i) {
        quint16 rec[6];
        bool ok = true;
        for (quint16 &v : rec)
            ok = ok && readU16(f, v);
        if (!ok)
            break; // truncated record list: keep what was read
        PlatformID = rec[0];
        EncodingID = rec[1];
        LanguageID = rec[2];
        const quint16 nameId = rec[3];
        QString *target = nullptr;
        switch (nameId) {
        case 0: target = InclCopyright ? &NoticeText : nullptr; break;
        case 1: target = InclFontFamilyName ? &FamilyName : nullptr; break;
        case 2: target = InclFontSubFamName ? &SubFamName : nullptr; break;
        case 4: target = InclFontFullName ? &FullName : nullptr; break;
        case 5: target = InclFontVersion ? &VersionText : nullptr; break;
        case 6: target = InclPostScriptName ? &PostScriptName : nullptr; break;
        case 7: target = InclTrademarkInfo ? &TrademarkText : nullptr; break;
        default: break;
        }
        if (rec[0] != 3 || !target)
            continue;
        const qint64 back = f.pos();
        const int len = qMin<int>(rec[4], kMaxNameUnits * 2);
        QByteArray raw;
        if (f.seek(qint64(tableOffset) + storage + rec[5]))
            raw = f.read(len);
        QString text;
        for (int k = 0; k + 1 < raw.size(); k += 2) {
            const QChar c(quint16((uchar(raw[k]) << 8) | uchar(raw[k + 1])));
            if (c.unicode() == 0)
                break;
            text.append(c);
        }
        // Round trip through the single-byte code page the stored names use.
        *target = Win1252::toUnicode(Win1252::fromUnicode(text));
        if (!f.seek(back))
            break;
    }
    Status = 0;
    return true;
}
