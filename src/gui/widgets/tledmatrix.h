// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledmatrix/ledmatrix.h"

#include <QWidget>

/// The LED matrix control: shows the screen raster of its LedMatrix pixel for
/// pixel, keeps its size equal to the matrix's control size, and reports mouse
/// events in control pixels so the owner can run its region editing. The
/// owner's mouse handling sets the cursor shape and hint in core().
class TLEDMATRIX : public QWidget
{
    Q_OBJECT
public:
    explicit TLEDMATRIX(QWidget *parent = nullptr);
    ~TLEDMATRIX() override;

    LedMatrix &core() { return m_core; }
    const LedMatrix &core() const { return m_core; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void mouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMove(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseUp(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void applySize(int width, int height);
    void applyCursor(LedMatrix::CursorShape shape);
    void applyHint();
    void hideHint();

    LedMatrix m_core;
    QPoint m_lastMouse{-1, -1};
    bool m_mouseInside = false;
    bool m_hintShown = false;
};
