// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inifile.h"

#include "util/win1252.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

struct Line
{
    enum Kind { Other, Section, Entry };
    Kind kind = Other;
    QString name;  // section or key name, trimmed
    QString value; // raw value text after '=' (entries only)
};

Line classify(const QString &raw)
{
    Line l;
    const QString t = raw.trimmed();
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        if (close > 0) {
            l.kind = Line::Section;
            l.name = t.mid(1, close - 1).trimmed();
        }
        return l;
    }
    if (t.isEmpty() || t.startsWith(u';'))
        return l;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return l;
    l.kind = Line::Entry;
    l.name = t.left(eq).trimmed();
    l.value = t.mid(eq + 1);
    return l;
}

QString cleanValue(const QString &raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2) {
        const QChar first = v.front();
        if ((first == u'"' || first == u'\'') && v.back() == first)
            v = v.mid(1, v.size() - 2);
    }
    return v;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

/// The file's lines without their line ends; an absent or unreadable file has none.
QStringList readLines(const QString &fileName, bool *crlf)
{
    QFile f(fileName);
    if (crlf)
        *crlf = false;
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (crlf)
        *crlf = bytes.contains("\r\n");
    QStringList lines = Win1252::toUnicode(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the text ended with a line end
    for (QString &l : lines) {
        if (l.endsWith(u'\r'))
            l.chop(1);
    }
    return lines;
}

/// Line ends inside a name or value would split the entry into several lines.
QString singleLine(QString s)
{
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

} // namespace

IniFile::IniFile(const QString &fileName) : m_fileName(fileName) {}

bool IniFile::findValue(const QString &section, const QString &key, QString *value) const
{
    const QStringList lines = readLines(m_fileName, nullptr);
    bool inSection = false;
    for (const QString &raw : lines) {
        const Line l = classify(raw);
        if (l.kind == Line::Section) {
            if (inSection)
                return false; // only the first section of that name counts
            inSection = sameName(l.name, section);
            continue;
        }
        if (inSection && l.kind == Line::Entry && sameName(l.name, key)) {
            if (value)
                *value = cleanValue(l.value);
            return true;
        }
    }
    return false;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QString v;
    return findValue(section, key, &v) ? v : def;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    QString v;
    if (!findValue(section, key, &v))
        return def;
    return ParseInteger(v, def);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return findValue(section, key, nullptr);
}

int IniFile::ParseInteger(const QString &text, int def)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return def;
    if (t.startsWith(u'$')) {
        const QString digits = t.mid(1);
        if (digits.isEmpty() || digits.size() > 8)
            return def;
        for (const QChar c : digits) {
            const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')
                || (c >= u'A' && c <= u'F');
            if (!hex)
                return def;
        }
        bool ok = false;
        const quint32 u = digits.toUInt(&ok, 16);
        return ok ? int(u) : def;
    }
    // Decimal: an optional sign, then digits only (toInt would also take blanks inside).
    qsizetype i = (t.front() == u'+' || t.front() == u'-') ? 1 : 0;
    if (i == t.size())
        return def;
    for (; i < t.size(); ++i) {
        if (t.at(i) < u'0' || t.at(i) > u'9')
            return def;
    }
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    return ok ? v : def;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    m_error.clear();
    const QString sec = singleLine(section).trimmed();
    const QString k = singleLine(key).trimmed();
    const QString val = singleLine(value);
    if (sec.isEmpty() || k.isEmpty() || k.contains(u'=') || sec.contains(u']')) {
        m_error = u"Ungültiger Abschnitt oder Schlüssel: [%1] %2"_s.arg(section, key);
        return false;
    }

    bool crlf = false;
    QStringList lines = readLines(m_fileName, &crlf);

    qsizetype sectionLine = -1;
    qsizetype lastEntry = -1;
    qsizetype keyLine = -1;
    QString keyName = k;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line l = classify(lines.at(i));
        if (l.kind == Line::Section) {
            if (sectionLine >= 0)
                break;
            if (sameName(l.name, sec)) {
                sectionLine = i;
                lastEntry = i;
            }
        } else if (sectionLine >= 0 && l.kind == Line::Entry) {
            lastEntry = i;
            if (sameName(l.name, k)) {
                keyLine = i;
                keyName = l.name; // keep the spelling found in the file
                break;
            }
        }
    }

    if (keyLine >= 0) {
        lines[keyLine] = keyName + u'=' + val;
    } else if (sectionLine >= 0) {
        lines.insert(lastEntry + 1, k + u'=' + val);
    } else {
        lines.append(u'[' + sec + u']');
        lines.append(k + u'=' + val);
    }

    const QString eol = crlf ? u"\r\n"_s : u"\n"_s;
    QSaveFile out(m_fileName);
    if (!out.open(QIODevice::WriteOnly)) {
        m_error = out.errorString();
        return false;
    }
    out.write(Win1252::fromUnicode(lines.join(eol) + eol));
    if (!out.commit()) {
        m_error = out.errorString();
        return false;
    }
    return true;
}

bool IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? u"1"_s : u"0"_s);
}
