// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lfs/lfsparams.h"
#include "lfs/lfsreport.h"
#include "project/projectrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

class LfsGlyphSource;

/// Builds a flash file (*.lfs) from a project record: the parameter block and the
/// data section (glyphs, bitmaps, tables) in front of the display's templates, all
/// behind two headers with a CRC. When the logo fills the display, the much smaller
/// static variant is built instead.
///
/// The image is built in memory and written in one atomic step, and only when the
/// run succeeded: a failed run never leaves a new file at OutputFileName, and a file
/// already there stays as it was.
class LfsGenerator
{
public:
    using Clock = std::function<QDateTime()>;

    static constexpr qint32 DefaultFlashSizeData = 118784;
    static constexpr qint32 DefaultFlashSize = 131072;
    /// Largest FLASHSIZE accepted (the image is built in memory).
    static constexpr qint32 MaxFlashSize = 16 * 1024 * 1024;
    /// The static variant's image after its 22-byte header.
    static constexpr qint32 StaticFlashSize = 5121;

    /// What a view shows after a run besides the report.
    struct Outcome
    {
        bool Success = false;
        /// Bytes used (parameter block + data, or the static picture); -1 shows "??".
        qint64 BinfileSize = -1;
        /// Text of a message box the run asks for (missing template, overflow).
        QString MessageBox;
        /// The flash was overflowed: the view closes itself (result Cancel).
        bool Overflow = false;
        /// Success with warnings: the view shows the closing warning box.
        bool WarningBox = false;
        bool Static = false;
    };

    LfsGenerator();

    // Inputs.
    ProjectRecord ProjectCopy;
    QString OutputFileName;
    qint32 FlashSizeData = DefaultFlashSizeData;
    qint32 FlashSize = DefaultFlashSize;
    /// The folder holding the templates (the program folder).
    QString ProgramFolder;

    // State of the last run.
    LfsParams Params;
    bool Success = false;
    LfsReport Report;

    /// Not owned; without one the normal variant fails with an error line.
    void SetGlyphSource(LfsGlyphSource *source) { m_glyphs = source; }
    /// Replaces the local clock the headers read (tests).
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    /// One complete generation: clears the report, adds "Erstelle " + the output
    /// name, and runs the static or the normal variant.
    Outcome Run();

    bool IsStaticLogo() const;
    /// The normal variant; the return value is Success.
    bool CreateBinFile();
    /// The static variant; the return value is Success.
    bool CreateBinFileStatic();

    /// Fills Params and returns the data section (its size is N). False after an
    /// error line; \a data is then empty.
    bool BuildData(QByteArray &data);
    /// The encoded logo (B bytes) of the static variant.
    bool BuildStaticData(QByteArray &data);

    /// Checks FLASHSIZE and FLASHSIZE_DATA; false with the report text.
    bool ValidateFlashSizes(QString *error) const;

    /// 26, 59 or 91 glyphs for the character sets 0, 1, 2; 0 for anything else.
    static int GlyphCount(int charsetChoice);

    const Outcome &LastOutcome() const { return m_outcome; }

private:
    QString templatePath(const char *name) const;
    QDateTime now() const;
    bool writeFile(const QByteArray &image);
    void finishRun();

    LfsGlyphSource *m_glyphs = nullptr;
    Clock m_clock;
    Outcome m_outcome;
};
