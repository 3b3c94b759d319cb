// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

/// Small pictures of the floor page's tool buttons, drawn at run time.
namespace FloorIcons {

/// A frame with a block in its top-left corner (0), its centre (1) or its
/// bottom-right corner (2): the alignment of the auto-sized floor text.
QIcon Alignment(int mode);
/// A dashed region frame with a corner handle.
QIcon RegionFrames();

} // namespace FloorIcons
