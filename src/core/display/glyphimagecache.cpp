// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/glyphimagecache.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QMutexLocker>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <atomic>

namespace {

constexpr QRgb kBlack = 0xFF000000u;

constexpr qint64 kMaxRasterPixels = qint64(3000) * 3000;

inline bool isInk(QRgb px)
{
    return (px & 0x00FFFFFFu) != 0;
}

bool anyRun(const std::vector<int> &start, const std::vector<std::pair<int, int>> &runs, int line,
            int a, int b)
{
    const int end = start[size_t(line) + 1];
    for (int i = start[size_t(line)]; i < end; ++i) {
        const auto &r = runs[size_t(i)];
        if (r.first > b)
            return false;
        if (r.second >= a)
            return true;
    }
    return false;
}

// Bumped when the application's fonts change; the cache empties itself when
// it sees a new value.
std::atomic<int> g_fontGeneration{0};

// Characters that Qt's text layout may treat otherwise than drawing their
// glyph (controls, format characters, separators, unassigned code points).
bool plainCharacter(char32_t ch)
{
    switch (QChar::category(ch)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return true;
    }
}

// Per thread (QRawFont must stay in the thread that made it): one raw font
// per family and style, taken from the QFont, and copies of it at the pixel
// sizes in use. A copy at another size shares the font file and the rendering
// settings of the original and skips the font matching a new QFont size goes
// through, which is the larger part of drawing a glyph at a size not used
// before; it draws the same pixels as the QFont (checked by the tests).
class RawFonts
{
public:
    QRawFont sized(const QFont &font)
    {
        const int generation = g_fontGeneration.load();
        if (generation != m_generation) {
            clear();
            m_generation = generation;
        }
        const QString key = font.family() + QChar(u'|') + QChar(font.bold() ? u'b' : u'-')
            + QChar(font.italic() ? u'i' : u'-');
        auto base = m_base.find(key);
        if (base == m_base.end())
            base = m_base.insert(key, QRawFont::fromFont(font));
        const QString sizedKey = key + QString::number(font.pixelSize());
        const auto it = m_sized.constFind(sizedKey);
        if (it != m_sized.constEnd())
            return *it;
        if (!base->isValid())
            return QRawFont();
        QRawFont raw = *base;
        raw.setPixelSize(font.pixelSize());
        if (m_sized.size() >= 256)
            m_sized.clear();
        m_sized.insert(sizedKey, raw);
        return raw;
    }
    void clear()
    {
        m_sized.clear();
        m_base.clear();
    }

private:
    QHash<QString, QRawFont> m_base;
    QHash<QString, QRawFont> m_sized;
    int m_generation = 0;
};

thread_local RawFonts t_rawFonts;

// Draws the glyph the way every text was drawn before it was composed from
// glyph images: QPainter without anti-aliasing, white on black, baseline at the
// cell origin + ascent (QFontMetrics::ascent). Plain characters are drawn as a
// glyph run of the font's raw copy at the pixel size, anything else through
// QPainter::drawText with the QFont itself. The raster leaves a margin around
// the metric box and grows until no ink touches its border. It is
// Format_RGB32: the same pixels as Format_ARGB32 for an opaque pen on an opaque
// background, and Qt fills it without handing the spans to its thread pool.
void render(const QFont &font, char32_t ch, GlyphImage &g)
{
    thread_local const QImage metricsDevice = TextRaster::newRaster(1, 1, kBlack);
    thread_local std::vector<quint32> buffer;
    thread_local std::vector<int> rowStart;
    thread_local std::vector<std::pair<int, int>> runs;
    // The raster of an unusually large glyph is not kept for the next one.
    struct Release
    {
        ~Release()
        {
            if (buffer.size() > size_t(1) << 20) {
                buffer = std::vector<quint32>();
                runs = std::vector<std::pair<int, int>>();
            }
        }
    } release;
    const QString text = QString::fromUcs4(&ch, 1);

    QRawFont raw;
    QGlyphRun run;
    if (plainCharacter(ch)) {
        raw = t_rawFonts.sized(font);
        const QList<quint32> indexes = raw.isValid() ? raw.glyphIndexesForString(text) : QList<quint32>();
        if (indexes.size() == 1) {
            run.setRawFont(raw);
            run.setGlyphIndexes(indexes);
            run.setPositions({QPointF(0, 0)});
        } else {
            raw = QRawFont();
        }
    }
    QRect br;
    if (raw.isValid()) {
        g.Ascent = qRound(raw.ascent());
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(run.glyphIndexes());
        g.Advance = advances.isEmpty() ? 0 : advances.first().x();
        br = raw.boundingRect(run.glyphIndexes().first()).toAlignedRect();
    } else {
        const QFontMetrics fm(font, &metricsDevice);
        g.Ascent = fm.ascent();
        g.Advance = QFontMetricsF(font, &metricsDevice).horizontalAdvance(text);
        br = fm.boundingRect(text);
    }
    // Ink rarely leaves the metric box by more than a pixel.
    int margin = 2 + font.pixelSize() / 32;
    bool lookedWide = false;

    for (int attempt = 0; attempt < 6; ++attempt, margin *= 2) {
        const int w = std::max(br.width(), 1) + 2 * margin;
        const int h = std::max(br.height(), 1) + 2 * margin;
        if (qint64(w) * h > kMaxRasterPixels)
            break;
        // Cell origin such that the metric box starts at (margin, margin).
        const int ox = margin - br.left();
        const int oy = margin - br.top() - g.Ascent;
        if (buffer.size() < size_t(w) * size_t(h))
            buffer.resize(size_t(w) * size_t(h));
        QImage img(reinterpret_cast<uchar *>(buffer.data()), w, h, qsizetype(w) * 4,
                   QImage::Format_RGB32);
        img.fill(kBlack);
        img.setDotsPerMeterX(metricsDevice.dotsPerMeterX());
        img.setDotsPerMeterY(metricsDevice.dotsPerMeterY());
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QColor::fromRgb(0xFFFFFFFFu));
            if (raw.isValid()) {
                p.drawGlyphRun(QPointF(ox, oy + g.Ascent), run);
            } else {
                p.setFont(font);
                p.drawText(QPoint(ox, oy + g.Ascent), text);
            }
        }

        // Runs of every row, in raster coordinates.
        rowStart.assign(size_t(h) + 1, 0);
        runs.clear();
        int minX = w, maxX = -1, minY = h, maxY = -1;
        for (int y = 0; y < h; ++y) {
            rowStart[size_t(y)] = int(runs.size());
            const quint32 *line = buffer.data() + size_t(y) * size_t(w);
            const quint32 *p = line;
            const quint32 *const end = line + w;
            while (p != end) {
                // Four pixels at a time through the stretches of one kind.
                while (end - p >= 4 && ((p[0] | p[1] | p[2] | p[3]) & 0x00FFFFFFu) == 0)
                    p += 4;
                while (p != end && !isInk(*p))
                    ++p;
                if (p == end)
                    break;
                const quint32 *const runStart = p;
                while (end - p >= 4 && (p[0] & p[1] & p[2] & p[3] & 0x00FFFFFFu) == 0x00FFFFFFu)
                    p += 4;
                while (p != end && isInk(*p))
                    ++p;
                runs.emplace_back(int(runStart - line), int(p - line) - 1);
            }
            if (int(runs.size()) == rowStart[size_t(y)])
                continue;
            minX = std::min(minX, runs[size_t(rowStart[size_t(y)])].first);
            maxX = std::max(maxX, runs.back().second);
            minY = std::min(minY, y);
            maxY = y;
        }
        rowStart[size_t(h)] = int(runs.size());
        if (maxX < 0) {
            // Nothing drawn although the metrics promise ink (metrics that are
            // off): look once more with two em of room on every side.
            if (!br.isEmpty() && !lookedWide) {
                lookedWide = true;
                margin = font.pixelSize() + 32; // doubled by the loop step
                continue;
            }
            return;
        }
        if (minX == 0 || minY == 0 || maxX == w - 1 || maxY == h - 1)
            continue; // the ink may go on beyond the raster

        g.HasInk = true;
        g.Left = minX - ox;
        g.Right = maxX - ox;
        g.Top = minY - oy;
        g.Bottom = maxY - oy;
        const int bh = maxY - minY + 1;
        const int first = rowStart[size_t(minY)];
        g.RowStart.resize(size_t(bh) + 1);
        for (int y = 0; y <= bh; ++y)
            g.RowStart[size_t(y)] = rowStart[size_t(minY + y)] - first;
        g.RowRuns.resize(size_t(rowStart[size_t(maxY) + 1] - first));
        for (size_t i = 0; i < g.RowRuns.size(); ++i)
            g.RowRuns[i] = {runs[size_t(first) + i].first - ox, runs[size_t(first) + i].second - ox};
        return;
    }
    // Never captured whole within the size limit: drawn as nothing.
    qWarning("Glyph U+%04X at %d pixels is too large to draw", unsigned(ch), font.pixelSize());
}

} // namespace

bool GlyphImage::RowInk(int gy, int a, int b) const
{
    if (!HasInk || gy < Top || gy > Bottom)
        return false;
    a = std::max(a, Left);
    b = std::min(b, Right);
    if (a > b)
        return false;
    return anyRun(RowStart, RowRuns, gy - Top, a, b);
}

bool GlyphImage::ColInk(int gx, int a, int b) const
{
    if (!HasInk || gx < Left || gx > Right)
        return false;
    a = std::max(a, Top);
    b = std::min(b, Bottom);
    for (int gy = a; gy <= b; ++gy)
        if (anyRun(RowStart, RowRuns, gy - Top, gx, gx))
            return true;
    return false;
}

size_t qHash(const GlyphImageCache::Key &key, size_t seed)
{
    return qHashMulti(seed, key.Family, key.PixelSize, key.Bold, key.Italic, uint(key.Ch));
}

GlyphImageCache &GlyphImageCache::instance()
{
    static GlyphImageCache cache;
    static std::atomic<bool> watching{false};
    if (!watching.load(std::memory_order_acquire)) {
        // Fonts added or removed at run time change what a family name draws.
        if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            if (!watching.exchange(true))
                QObject::connect(app, &QGuiApplication::fontDatabaseChanged, app,
                                 [] { ++g_fontGeneration; });
        }
    }
    return cache;
}

GlyphImagePtr GlyphImageCache::Glyph(const FontSpec &fontSpec, char32_t ch)
{
    const int px = TextRaster::pixelSize(fontSpec);
    if (px <= 0)
        return nullptr;
    const Key key{fontSpec.Name, px, fontSpec.Bold, fontSpec.Italic, ch};

    int generation = 0;
    {
        QMutexLocker lock(&m_mutex);
        generation = g_fontGeneration.load();
        if (generation != m_generation) {
            m_entries.clear();
            m_generation = generation;
        }
        const auto it = m_entries.find(key);
        if (it != m_entries.end()) {
            it->LastUse = ++m_tick;
            return it->Image;
        }
    }
    // Drawn without holding the lock, so that several threads can draw glyphs at
    // once; the same glyph drawn twice gives the same image, the first one stays.
    QFont font;
    if (!TextRaster::toQFont(fontSpec, font))
        return nullptr;
    auto image = std::make_shared<GlyphImage>();
    render(font, ch, *image);

    QMutexLocker lock(&m_mutex);
    ++m_renderings;
    const quint64 tick = ++m_tick;
    const auto it = m_entries.find(key);
    if (it != m_entries.end()) {
        it->LastUse = tick;
        return it->Image;
    }
    // An image drawn while the fonts changed is handed out but not kept.
    if (generation != m_generation || generation != g_fontGeneration.load())
        return image;
    if (m_entries.size() >= MaxGlyphs)
        evictLocked();
    m_entries.insert(key, Entry{image, tick});
    return image;
}

void GlyphImageCache::evictLocked()
{
    std::vector<quint64> uses;
    uses.reserve(size_t(m_entries.size()));
    for (const Entry &e : std::as_const(m_entries))
        uses.push_back(e.LastUse);
    const auto middle = uses.begin() + std::ptrdiff_t(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    const quint64 cut = *middle;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->LastUse < cut)
            it = m_entries.erase(it);
        else
            ++it;
    }
}

bool GlyphImageCache::Contains(const FontSpec &fontSpec, char32_t ch) const
{
    const int px = TextRaster::pixelSize(fontSpec);
    QMutexLocker lock(&m_mutex);
    return m_generation == g_fontGeneration.load()
        && m_entries.contains(Key{fontSpec.Name, px, fontSpec.Bold, fontSpec.Italic, ch});
}

void GlyphImageCache::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
    t_rawFonts.clear();
}

int GlyphImageCache::Count() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_entries.size());
}

qint64 GlyphImageCache::Renderings() const
{
    QMutexLocker lock(&m_mutex);
    return m_renderings;
}
