// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/userfont.h"

#include "util/win1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <vector>

namespace {

constexpr int kNameLength = 15;
constexpr int kHeaderLines = 7;
constexpr int kBytesPerLine = 8;

// Splits at CR LF, LF or CR into at most maxLines lines; a break at the very end
// starts no further line.
std::vector<QByteArray> splitLines(const QByteArray &data, size_t maxLines)
{
    std::vector<QByteArray> lines;
    const char *p = data.constData();
    const qsizetype n = data.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n && lines.size() < maxLines; ++i) {
        if (p[i] == '\r' || p[i] == '\n') {
            lines.emplace_back(p + start, i - start);
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n && lines.size() < maxLines)
        lines.emplace_back(p + start, n - start);
    return lines;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseInt(const QByteArray &raw, int &out)
{
    const QByteArray s = raw.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= s.size())
        return false;
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const int d = hexDigit(s[i]);
        if (d < 0 || d >= base)
            return false;
        v = v * base + d;
        if (v > qint64(1) << 32)
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    out = int(v);
    return true;
}

QString translated(const char *text)
{
    return QCoreApplication::translate("TUserFont", text);
}

QString lineError(const QString &name, int line, const QString &reason)
{
    return translated(QT_TRANSLATE_NOOP("TUserFont", "%1, Zeile %2: %3")).arg(name).arg(line).arg(reason);
}

} // namespace

TUserFont::TUserFont(const QString &fileName, QString *error)
{
    LoadFromFile(fileName, error);
}

void TUserFont::Clear()
{
    FontName.clear();
    GlyphWidth = 0;
    GlyphHeight = 0;
    Pitch = 0;
    BytesPerGlyph = 0;
    GlyphData.clear();
    FirstChar = 0;
    LastChar = 0;
}

bool TUserFont::LoadFromFile(const QString &fileName, QString *error)
{
    Clear();
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile()) {
        if (error)
            *error = fileName + translated(QT_TRANSLATE_NOOP("TUserFont", " nicht vorhanden"));
        return false;
    }
    if (info.size() > kMaxFileSize) {
        if (error)
            *error = translated(QT_TRANSLATE_NOOP("TUserFont", "%1: Datei zu groß")).arg(fileName);
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = translated(QT_TRANSLATE_NOOP("TUserFont", "%1 kann nicht gelesen werden: %2")).arg(fileName, file.errorString());
        return false;
    }
    const QByteArray data = file.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize) {
        if (error)
            *error = translated(QT_TRANSLATE_NOOP("TUserFont", "%1: Datei zu groß")).arg(fileName);
        return false;
    }
    return LoadFromData(data, fileName, error);
}

bool TUserFont::LoadFromData(const QByteArray &data, const QString &name, QString *error)
{
    Clear();
    auto fail = [&](int line, const QString &reason) {
        Clear();
        if (error)
            *error = lineError(name, line, reason);
        return false;
    };

    // No font needs more lines than the header and the data of 256 glyphs of the largest size.
    constexpr size_t maxLines = kHeaderLines + 256 * size_t(kMaxBytesPerGlyph) / kBytesPerLine;
    const std::vector<QByteArray> lines = splitLines(data, maxLines);
    const int lineCount = int(lines.size());
    if (lineCount < 1)
        return fail(1, translated(QT_TRANSLATE_NOOP("TUserFont", "Zeile fehlt")));

    // Header: name and six integers.
    int values[6] = {};
    for (int i = 0; i < 6; ++i) {
        const int line = i + 2;
        if (lineCount < line)
            return fail(line, translated(QT_TRANSLATE_NOOP("TUserFont", "Zeile fehlt")));
        if (!parseInt(lines[size_t(line - 1)], values[i]))
            return fail(line, translated(QT_TRANSLATE_NOOP("TUserFont", "keine gültige Zahl")));
    }
    const int width = values[0];
    const int height = values[1];
    const int pitch = values[2];
    const quint8 first = quint8(values[3] & 0xFF);
    const quint8 last = quint8(values[4] & 0xFF);
    const int bytesPerGlyph = values[5];

    const QString outOfRange = translated(QT_TRANSLATE_NOOP("TUserFont", "Wert außerhalb des zulässigen Bereichs"));
    if (width < 1 || width > kMaxGlyphSize)
        return fail(2, outOfRange);
    if (height < 1 || height > kMaxGlyphSize)
        return fail(3, outOfRange);
    if (pitch < 1 || pitch > kMaxGlyphSize)
        return fail(4, outOfRange);
    if (first > last)
        return fail(6, translated(QT_TRANSLATE_NOOP("TUserFont", "erstes Zeichen größer als letztes Zeichen")));
    if (bytesPerGlyph < 1 || bytesPerGlyph > kMaxBytesPerGlyph)
        return fail(7, outOfRange);
    const int rowBytes = bytesPerGlyph / width;
    if (rowBytes < 1 || qint64(rowBytes) * height > bytesPerGlyph)
        return fail(7, translated(QT_TRANSLATE_NOOP("TUserFont", "Glyphenzeilen passen nicht in die Bytes pro Zeichen")));

    const qint64 size = qint64(last - first + 1) * bytesPerGlyph;
    const qint64 dataLines = size / kBytesPerLine;
    QByteArray glyphs(qsizetype(size), '\0');
    for (qint64 k = 0; k < dataLines; ++k) {
        const qint64 line = kHeaderLines + 1 + k;
        if (qint64(lineCount) < line)
            return fail(int(line), translated(QT_TRANSLATE_NOOP("TUserFont", "Zeile fehlt")));
        const QByteArray &text = lines[size_t(line - 1)];
        if (text.size() < 2 * kBytesPerLine)
            return fail(int(line), translated(QT_TRANSLATE_NOOP("TUserFont", "weniger als 16 Hexadezimalziffern")));
        for (int j = 0; j < kBytesPerLine; ++j) {
            const int hi = hexDigit(text[2 * j]);
            const int lo = hexDigit(text[2 * j + 1]);
            if (hi < 0 || lo < 0)
                return fail(int(line), translated(QT_TRANSLATE_NOOP("TUserFont", "ungültige Hexadezimalziffer")));
            glyphs[qsizetype(k * kBytesPerLine + j)] = char(hi << 4 | lo);
        }
    }

    FontName = Win1252::toUnicode(lines[0]).left(kNameLength);
    GlyphWidth = width;
    GlyphHeight = height;
    Pitch = pitch;
    FirstChar = first;
    LastChar = last;
    BytesPerGlyph = bytesPerGlyph;
    GlyphData = glyphs;
    if (error)
        error->clear();
    return true;
}

bool TUserFont::HasGlyph(int code) const
{
    return !GlyphData.isEmpty() && code >= FirstChar && code <= LastChar;
}

quint8 TUserFont::GlyphByte(int code, int index) const
{
    if (!HasGlyph(code) || index < 0 || index >= BytesPerGlyph)
        return 0;
    const qint64 pos = qint64(code - FirstChar) * BytesPerGlyph + index;
    if (pos >= GlyphData.size())
        return 0;
    return quint8(GlyphData[qsizetype(pos)]);
}
