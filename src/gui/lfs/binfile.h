// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lfs/displayglyphsource.h"
#include "lfs/lfsgenerator.h"

#include <QDialog>
#include <QString>

class LedMatrix;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TLEDMATRIX;
class TUserFont;

/// The flash-file window "LFS-Datei-Erzeugung": runs one generation each time it is
/// opened for a project, shows the report, the sizes and every glyph as it is
/// rendered, and offers the transfer of a successfully built file.
///
/// The generation itself is LfsGenerator's; the window only feeds it and shows what
/// it reports. The run starts when the window is shown after StartRun or PrepareRun;
/// a later show (e.g. coming back from the transfer window) leaves the report as it
/// is. While a run is in progress the window cannot be closed.
class TBinaerForm : public QDialog
{
    Q_OBJECT
public:
    explicit TBinaerForm(QWidget *parent = nullptr);
    ~TBinaerForm() override;

    /// The generator with its inputs (ProjectCopy, OutputFileName, FlashSizeData,
    /// FlashSize, ProgramFolder) and the report of the last run.
    LfsGenerator Generator;

    /// Takes the LED and box colours of the main window's floor-text matrix.
    void CopyLedColors(const LedMatrix &source);
    /// The bitmap fonts of the current main and small-font layouts (not owned).
    void SetUserFonts(const TUserFont *large, const TUserFont *small);

    /// What the window does when opened from the main window's action: reads the
    /// saved project \a projectPath back into ProjectCopy, sets the output name and
    /// the flash sizes, and shows the window modally; the run starts as it appears.
    /// A project file that cannot be read is reported in a message box and the window
    /// is not shown (QDialog::Rejected). Returns the dialog's result.
    int StartRun(const QString &projectPath, const QString &outputPath, qint32 flashSizeData, qint32 flashSize);

    /// The non-modal part of StartRun: reads the project and arms the run for the next
    /// show. False with \a error when the project file cannot be read.
    bool PrepareRun(const QString &projectPath, const QString &outputPath, qint32 flashSizeData, qint32 flashSize,
                    QString *error);

    /// Arms a run of the current inputs for the next show (ProjectCopy set directly).
    void ArmRun() { m_runPending = true; }

    bool IsRunning() const { return m_running; }
    bool RunPending() const { return m_runPending; }
    /// Number of runs started since the window was created.
    int RunCount() const { return m_runCount; }

    // Controls (public for the main window's wiring and the tests).
    QListWidget *MemoOutput = nullptr;
    QLabel *lbBinfileSize = nullptr;
    QLabel *lbFlashSize = nullptr;
    QProgressBar *SizeGauge = nullptr;
    TLEDMATRIX *LED1 = nullptr;
    TLEDMATRIX *LED2 = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnZskUpdate = nullptr;

public Q_SLOTS:
    /// Refused while a run is in progress.
    void reject() override;
    void done(int result) override;

Q_SIGNALS:
    /// "Zur ZSK übertragen" was clicked; the transfer window is opened by the owner.
    void transferRequested();
    /// A report line was added (the list has been repainted).
    void lineAdded(const QString &line);
    /// A run has ended (after its message boxes were opened).
    void runFinished(bool success);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormActivate();
    void btnOKClick();
    void btnZskUpdateClick();
    void addReportLine(const QString &line);
    void setGaugeColor(const QColor &color);
    void showOutcome(const LfsGenerator::Outcome &outcome);
    void keepAlive();
    QWidget *ownerForMessages();

    DisplayGlyphSource m_glyphs;
    bool m_runPending = false;
    bool m_running = false;
    int m_runCount = 0;
};
