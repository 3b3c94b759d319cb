// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class DisplayLayouts;

/// A plain-text listing of the nine layouts: size, bitmap-font rows and columns,
/// every region with caption, rectangle, size and whether it is active, and which
/// layouts each display model uses.
namespace LayoutReport {

QString Text(const DisplayLayouts &layouts);

} // namespace LayoutReport
