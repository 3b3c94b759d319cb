// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splash.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

TSplashForm::TSplashForm(const QString &picturePath, QWidget *parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(401, 331);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    // Without a picture the version stays readable on a dark plain background.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x20, 0x2c, 0x40));
    setPalette(pal);
    setAutoFillBackground(true);

    if (QFileInfo(picturePath).isFile())
        m_picture.load(picturePath);

    m_version = new QLabel(tr("Version 1.8.2"), this);
    m_version->setObjectName(QStringLiteral("LabelVersion"));
    m_version->setGeometry(264, 248, 129, 22);
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(19);
    f.setBold(true);
    m_version->setFont(f);
    QPalette lp = m_version->palette();
    lp.setColor(QPalette::WindowText, Qt::white);
    m_version->setPalette(lp);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TSplashForm::paintEvent(QPaintEvent *event)
{
    if (!m_picture.isNull()) {
        QPainter p(this);
        p.drawPixmap(rect(), m_picture);
    }
    QFrame::paintEvent(event); // the bevel over the picture
}
