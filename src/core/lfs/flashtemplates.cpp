// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/flashtemplates.h"

#include <QCoreApplication>
#include <QFile>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("TBinaerForm", text);
}
} // namespace

namespace FlashTemplates {

bool Read(const QString &path, qint64 maxBytes, Part &part, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    part.FileLength = file.size();
    const qint64 wanted = qBound<qint64>(0, qMin(part.FileLength, maxBytes), qint64(1) << 30);
    part.Bytes = file.read(wanted);
    if (part.Bytes.size() != wanted) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

QByteArray Fit(const QList<QByteArray> &parts, qint64 length)
{
    QByteArray out;
    out.reserve(qsizetype(length));
    for (const QByteArray &p : parts) {
        if (out.size() >= length)
            break;
        out.append(p.left(qsizetype(length - out.size())));
    }
    if (out.size() < length)
        out.append(QByteArray(qsizetype(length - out.size()), '\0'));
    return out;
}

QString LengthWarning(const QStringList &names, qint64 actual, qint64 expected)
{
    if (actual == expected)
        return QString();
    const QString what = names.join(QStringLiteral(" + "));
    if (actual > expected)
        return tr("Vorlagen %1 sind zusammen %2 statt %3 Bytes lang, der Überhang wurde abgeschnitten.")
            .arg(what)
            .arg(actual)
            .arg(expected);
    return tr("Vorlagen %1 sind zusammen %2 statt %3 Bytes lang, der Rest wurde mit Nullbytes aufgefüllt.")
        .arg(what)
        .arg(actual)
        .arg(expected);
}

} // namespace FlashTemplates
