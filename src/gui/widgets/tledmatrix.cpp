// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tledmatrix.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

TLEDMATRIX::TLEDMATRIX(QWidget *parent) : QWidget(parent)
{
    // Every pixel is painted from the screen raster; nothing behind needs erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);

    connect(&m_core, &LedMatrix::updateRequested, this, qOverload<>(&QWidget::update));
    connect(&m_core, &LedMatrix::paintRequested, this, qOverload<>(&QWidget::repaint));
    connect(&m_core, &LedMatrix::sizeChanged, this, &TLEDMATRIX::applySize);
    connect(&m_core, &LedMatrix::cursorChanged, this, &TLEDMATRIX::applyCursor);
    connect(&m_core, &LedMatrix::hintChanged, this, &TLEDMATRIX::applyHint);

    applySize(m_core.Width(), m_core.Height());
    applyCursor(m_core.Cursor());
}

TLEDMATRIX::~TLEDMATRIX() = default;

QSize TLEDMATRIX::sizeHint() const
{
    return QSize(m_core.Width(), m_core.Height());
}

QSize TLEDMATRIX::minimumSizeHint() const
{
    return sizeHint();
}

void TLEDMATRIX::applySize(int width, int height)
{
    setFixedSize(width, height);
    updateGeometry();
    update();
}

void TLEDMATRIX::applyCursor(LedMatrix::CursorShape shape)
{
    Qt::CursorShape qt = Qt::ArrowCursor;
    switch (shape) {
    case LedMatrix::CursorShape::Arrow:
        qt = Qt::ArrowCursor;
        break;
    case LedMatrix::CursorShape::SizeNWSE:
        qt = Qt::SizeFDiagCursor;
        break;
    case LedMatrix::CursorShape::SizeNESW:
        qt = Qt::SizeBDiagCursor;
        break;
    case LedMatrix::CursorShape::PointingHand:
        qt = Qt::PointingHandCursor;
        break;
    }
    setCursor(qt);
}

void TLEDMATRIX::applyHint()
{
    if (m_core.HintEnabled() && m_mouseInside && !m_core.Hint().isEmpty()) {
        const QPoint local = m_lastMouse.x() >= 0 ? m_lastMouse : rect().center();
        QToolTip::showText(mapToGlobal(local), m_core.Hint(), this);
        m_hintShown = true;
    } else {
        hideHint();
    }
}

void TLEDMATRIX::hideHint()
{
    // Only a tip this control showed; another widget's tooltip stays.
    if (m_hintShown && QToolTip::isVisible())
        QToolTip::hideText();
    m_hintShown = false;
}

void TLEDMATRIX::paintEvent(QPaintEvent *event)
{
    // The raster's alpha carries no meaning (colours keep only 24 bits): show it as RGB32.
    QImage img = m_core.Paint();
    if (img.format() == QImage::Format_ARGB32)
        img.reinterpretAsFormat(QImage::Format_RGB32);
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), img, r);
    // Outside the raster (only while a new size is on its way): background colour.
    const QRect shown(0, 0, img.width(), img.height());
    if (!shown.contains(r)) {
        const QRegion rest = QRegion(r).subtracted(shown);
        for (const QRect &part : rest)
            p.fillRect(part, QColor::fromRgb(m_core.ColorBG() | 0xFF000000u));
    }
}

void TLEDMATRIX::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_lastMouse = pos;
    Q_EMIT mouseDown(pos.x(), pos.y(), event->button(), event->modifiers());
    QWidget::mousePressEvent(event);
}

void TLEDMATRIX::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_lastMouse = pos;
    m_mouseInside = true;
    Q_EMIT mouseMove(pos.x(), pos.y(), event->buttons(), event->modifiers());
    if (m_core.HintEnabled())
        applyHint();
    QWidget::mouseMoveEvent(event);
}

void TLEDMATRIX::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_lastMouse = pos;
    Q_EMIT mouseUp(pos.x(), pos.y(), event->button(), event->modifiers());
    QWidget::mouseReleaseEvent(event);
}

void TLEDMATRIX::leaveEvent(QEvent *event)
{
    m_mouseInside = false;
    hideHint();
    QWidget::leaveEvent(event);
}

bool TLEDMATRIX::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
        m_mouseInside = true;
        break;
    case QEvent::ToolTip:
        // Hints come from the core only; no stale widget tooltip.
        if (m_core.HintEnabled() && !m_core.Hint().isEmpty())
            applyHint();
        event->accept();
        return true;
    default:
        break;
    }
    return QWidget::event(event);
}
