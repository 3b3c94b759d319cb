// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class LedMatrix;
class ProjectModel;
class TDisplay;

/// Composition of the three previews through the selected model's layouts: the floor
/// preview (main layout), the special-state preview and the small-font preview, plus the
/// clock line. Every drawing goes into the matrix attached to the layout; nothing is
/// drawn unless a project is open and the previews are not blocked (StateFlags).
///
/// After SetMatrices the preview follows the model: it re-attaches the matrices when the
/// display model changes, resizes them when the layouts are turned, and answers the
/// model's redraw requests.
class Preview : public QObject
{
    Q_OBJECT
public:
    explicit Preview(ProjectModel &model, QObject *parent = nullptr);
    ~Preview() override;

    ProjectModel &Model() const { return m_model; }

    /// The matrices of the floor page (LED2), the special-state page (LED3) and the
    /// small-font page (LED4); any may be null. Attaches them to the current layouts and
    /// starts following the model.
    void SetMatrices(LedMatrix *led2, LedMatrix *led3, LedMatrix *led4);
    /// Attaches the three matrices to the layouts of the selected model (ApplySize each).
    void AttachMatrices();
    /// Attaches another matrix to the main layout (the simulation's); null gives LED2 back.
    void AttachMainMatrix(LedMatrix *matrix);

    /// Called with true before an auto-sized floor text is drawn and with false after it
    /// (the window shows the hourglass meanwhile).
    void SetBusyHook(std::function<void(bool busy)> hook) { m_busyHook = std::move(hook); }

    /// The floor preview of the current floor; each flag selects one part.
    void PreviewOut(bool ShowRects = true, bool Arrow = true, bool FloorBitmap = true,
                    bool TextLines = true, bool Clock = true);
    /// Shrinks the main layout's text regions to the fitted glyph box (auto-size only),
    /// restoring the user's rectangles first.
    void PrepareAutoSize();
    /// One clock tick: the date/time line in character row 7 of the main layout.
    void UhrzeitTimerTimer();
    /// Blanks the date/time line (the clock was switched off).
    void BlankClockLine();
    void PreviewSonderzeichenOut(int Row, bool ClearFirst);
    void PreviewKleinerFontOut();
    /// What a setter's change asks for: with \a clearFirst clear the main layout and frame
    /// it when the frame button is down, then the whole floor preview.
    void Refresh(bool clearFirst);
    /// The frame button was toggled: frames on, or marks cleared.
    void ApplyShowRectsButton();

    /// The sample lines of the small-font preview, row 0 translatable.
    static QString SmallFontSampleLine(int row);

    // Headless rendering (command-line tool, tests): draws into \a matrix, attached to
    // the selected model's layout only for the call, and returns the matrix's screen image.
    /// Floor row \a row as if selected (it becomes the current row, its label the sample).
    static QImage RenderFloorRow(ProjectModel &model, int row, LedMatrix &matrix, bool frames = false);
    /// Special state \a row (it becomes the current special row).
    static QImage RenderSpecialState(ProjectModel &model, int row, LedMatrix &matrix);
    static QImage RenderSmallFont(ProjectModel &model, LedMatrix &matrix);

private:
    void shrinkTextRegions(TDisplay *d, const QStringList &names);
    void putSlot(TDisplay *d, const QString &region, int slot);
    void onLayoutsTurned();

    ProjectModel &m_model;
    LedMatrix *m_led2 = nullptr;
    LedMatrix *m_led3 = nullptr;
    LedMatrix *m_led4 = nullptr;
    LedMatrix *m_mainOverride = nullptr;
    bool m_following = false;
    std::function<void(bool)> m_busyHook;
};
