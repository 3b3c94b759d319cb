// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The template files whose bytes close a flash image (the display's own program
/// and data). They are copied as opaque bytes.
namespace FlashTemplates {

inline constexpr char Flash1[] = "flash1.dat";
inline constexpr char Flash2[] = "flash2.dat";
inline constexpr char Flash2V[] = "flash2V.dat";
inline constexpr char StatVfd1[] = "stat_vfd1.dat";
inline constexpr char StatVfd2[] = "stat_vfd2.dat";
inline constexpr char StatLcd1[] = "stat_lcd1.dat";
inline constexpr char StatLcd2[] = "stat_lcd2.dat";

/// One template read: at most the bytes asked for, and the file's full length.
struct Part
{
    QByteArray Bytes;
    qint64 FileLength = 0;
};

/// Reads up to \a maxBytes from the start of \a path. False with \a error (file
/// name and reason) when the file cannot be opened or read.
bool Read(const QString &path, qint64 maxBytes, Part &part, QString *error);

/// Joins \a parts (the picture of a static file may sit between two templates)
/// and fits the result to exactly \a length bytes: what lies beyond is cut off,
/// a shortfall is filled with zero bytes.
QByteArray Fit(const QList<QByteArray> &parts, qint64 length);

/// The report text (without "Warnung: ") for templates \a names whose files
/// together are \a actual bytes long where \a expected bytes are needed; empty
/// when they fit.
QString LengthWarning(const QStringList &names, qint64 actual, qint64 expected);

} // namespace FlashTemplates
