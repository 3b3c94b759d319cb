// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

/// One bzip2 stream on a device, through libbz2: either compressing into the device
/// (block size 400k, so the stream starts with "BZh4"; default work factor) or
/// decompressing from it.
///
/// Errors read "error " followed by libbz2's negative result code, e.g. "error -5"
/// for data that are not bzip2 and "error -7" for a stream cut off before its end.
/// The first error sticks: later calls fail at once.
class Bz2Stream
{
public:
    enum class Mode { Compress, Decompress };

    /// Result codes of libbz2 that the stream reports besides the library's own.
    static constexpr int kUnexpectedEof = -7; // BZ_UNEXPECTED_EOF
    static constexpr int kIoError = -6;       // BZ_IO_ERROR

    /// \a device must be open (for writing or reading) and outlive the stream.
    Bz2Stream(QIODevice *device, Mode mode);
    ~Bz2Stream();
    Bz2Stream(const Bz2Stream &) = delete;
    Bz2Stream &operator=(const Bz2Stream &) = delete;

    bool hasError() const { return m_errorCode != 0; }
    /// "error <code>"; for a device failure the device's message follows.
    QString errorString() const { return m_errorString; }
    int errorCode() const { return m_errorCode; }

    // Compressing.
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &data) { return write(data.constData(), data.size()); }
    /// Ends the stream and writes what is left; nothing may be written after it.
    bool finish();

    // Decompressing.
    /// Reads up to \a maxSize bytes. Fewer bytes mean the stream has ended
    /// (atEnd()) or an error occurred (-1 when nothing could be read because of it).
    qint64 read(char *data, qint64 maxSize);
    /// Up to \a maxSize bytes; check hasError() afterwards.
    QByteArray read(qint64 maxSize);
    /// Whether the end of the bzip2 stream was reached.
    bool atEnd() const { return m_streamEnd; }
    /// Decompressed bytes delivered so far.
    qint64 totalOut() const { return m_totalOut; }

    /// Compresses \a data as one complete stream.
    static bool compress(const QByteArray &data, QByteArray *out, QString *error = nullptr);

private:
    void setError(int code, const QString &detail = QString());

    struct State;
    std::unique_ptr<State> m_state;
    QIODevice *m_device = nullptr;
    Mode m_mode;
    bool m_streamEnd = false;
    bool m_finished = false;
    bool m_sourceEof = false;
    qint64 m_totalOut = 0;
    int m_errorCode = 0;
    QString m_errorString;
};
