// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QPixmap>

class QLabel;

/// The start-up picture: frameless, on top, centred on the screen, 401 x 331 with a
/// raised two-pixel bevel, "splash.jpg" stretched over it when present and the
/// version label on top.
class TSplashForm : public QFrame
{
    Q_OBJECT
public:
    /// \a picturePath: the splash picture; a missing or unreadable one leaves the
    /// plain background.
    explicit TSplashForm(const QString &picturePath, QWidget *parent = nullptr);

    bool HasPicture() const { return !m_picture.isNull(); }
    QLabel *VersionLabel() const { return m_version; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    QLabel *m_version = nullptr;
};
