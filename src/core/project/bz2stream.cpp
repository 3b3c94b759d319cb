// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/bz2stream.h"

#include <QBuffer>
#include <QIODevice>

#include <bzlib.h>

#include <cstring>

namespace {

constexpr int kBlockSize100k = 4;
constexpr int kChunk = 64 * 1024;

} // namespace

struct Bz2Stream::State
{
    bz_stream strm;
    bool initialised = false;
    QByteArray buffer; // compressed bytes: input when decompressing, output when compressing
};

Bz2Stream::Bz2Stream(QIODevice *device, Mode mode)
    : m_state(std::make_unique<State>()), m_device(device), m_mode(mode)
{
    std::memset(&m_state->strm, 0, sizeof(m_state->strm));
    m_state->buffer.resize(kChunk);
    const int rc = mode == Mode::Compress ? BZ2_bzCompressInit(&m_state->strm, kBlockSize100k, 0, 0)
                                          : BZ2_bzDecompressInit(&m_state->strm, 0, 0);
    if (rc != BZ_OK) {
        setError(rc);
        return;
    }
    m_state->initialised = true;
    if (!device)
        setError(kIoError);
}

Bz2Stream::~Bz2Stream()
{
    if (!m_state->initialised)
        return;
    if (m_mode == Mode::Compress)
        BZ2_bzCompressEnd(&m_state->strm);
    else
        BZ2_bzDecompressEnd(&m_state->strm);
}

void Bz2Stream::setError(int code, const QString &detail)
{
    if (m_errorCode != 0)
        return;
    m_errorCode = code;
    m_errorString = QStringLiteral("error %1").arg(code);
    if (!detail.isEmpty())
        m_errorString += QStringLiteral(" (") + detail + QLatin1Char(')');
}

bool Bz2Stream::write(const char *data, qint64 size)
{
    if (m_mode != Mode::Compress || m_finished) {
        setError(BZ_SEQUENCE_ERROR);
        return false;
    }
    if (hasError())
        return false;
    bz_stream &s = m_state->strm;
    while (size > 0) {
        const unsigned int part = unsigned(qMin<qint64>(size, 1 << 30));
        s.next_in = const_cast<char *>(data);
        s.avail_in = part;
        while (s.avail_in > 0) {
            s.next_out = m_state->buffer.data();
            s.avail_out = unsigned(m_state->buffer.size());
            const int rc = BZ2_bzCompress(&s, BZ_RUN);
            if (rc != BZ_RUN_OK) {
                setError(rc);
                return false;
            }
            const qint64 produced = m_state->buffer.size() - qint64(s.avail_out);
            if (produced > 0 && m_device->write(m_state->buffer.constData(), produced) != produced) {
                setError(kIoError, m_device->errorString());
                return false;
            }
        }
        data += part;
        size -= part;
    }
    return true;
}

bool Bz2Stream::finish()
{
    if (m_mode != Mode::Compress || m_finished) {
        setError(BZ_SEQUENCE_ERROR);
        return false;
    }
    if (hasError())
        return false;
    m_finished = true;
    bz_stream &s = m_state->strm;
    s.next_in = nullptr;
    s.avail_in = 0;
    for (;;) {
        s.next_out = m_state->buffer.data();
        s.avail_out = unsigned(m_state->buffer.size());
        const int rc = BZ2_bzCompress(&s, BZ_FINISH);
        if (rc != BZ_FINISH_OK && rc != BZ_STREAM_END) {
            setError(rc);
            return false;
        }
        const qint64 produced = m_state->buffer.size() - qint64(s.avail_out);
        if (produced > 0 && m_device->write(m_state->buffer.constData(), produced) != produced) {
            setError(kIoError, m_device->errorString());
            return false;
        }
        if (rc == BZ_STREAM_END)
            return true;
    }
}

qint64 Bz2Stream::read(char *data, qint64 maxSize)
{
    if (m_mode != Mode::Decompress) {
        setError(BZ_SEQUENCE_ERROR);
        return -1;
    }
    if (hasError())
        return -1;
    bz_stream &s = m_state->strm;
    qint64 done = 0;
    while (done < maxSize && !m_streamEnd) {
        if (s.avail_in == 0 && !m_sourceEof) {
            const qint64 got = m_device->read(m_state->buffer.data(), m_state->buffer.size());
            if (got < 0) {
                setError(kIoError, m_device->errorString());
                break;
            }
            if (got == 0)
                m_sourceEof = true;
            s.next_in = m_state->buffer.data();
            s.avail_in = unsigned(got);
        }
        const unsigned int want = unsigned(qMin<qint64>(maxSize - done, 1 << 30));
        s.next_out = data + done;
        s.avail_out = want;
        const int rc = BZ2_bzDecompress(&s);
        const qint64 produced = qint64(want) - qint64(s.avail_out);
        done += produced;
        m_totalOut += produced;
        if (rc == BZ_STREAM_END) {
            m_streamEnd = true;
            break;
        }
        if (rc != BZ_OK) {
            setError(rc);
            break;
        }
        if (produced == 0 && s.avail_in == 0 && m_sourceEof) {
            setError(kUnexpectedEof);
            break;
        }
    }
    if (done == 0 && hasError())
        return -1;
    return done;
}

QByteArray Bz2Stream::read(qint64 maxSize)
{
    QByteArray out;
    if (maxSize <= 0)
        return out;
    // Grow as data arrive, so a claimed size never allocates more than the stream holds.
    qint64 pos = 0;
    while (pos < maxSize && !m_streamEnd && !hasError()) {
        const qint64 step = qMin<qint64>(maxSize - pos, qMax<qint64>(kChunk, pos));
        out.resize(pos + step);
        const qint64 got = read(out.data() + pos, step);
        if (got <= 0)
            break;
        pos += got;
    }
    out.resize(pos);
    return out;
}

bool Bz2Stream::compress(const QByteArray &data, QByteArray *out, QString *error)
{
    QBuffer buffer(out);
    out->clear();
    buffer.open(QIODevice::WriteOnly);
    Bz2Stream stream(&buffer, Mode::Compress);
    if (stream.write(data) && stream.finish())
        return true;
    if (error)
        *error = stream.errorString();
    return false;
}
