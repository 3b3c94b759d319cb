// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Restricts the running process to one processor: processor 0, or the lowest
/// one it may use when 0 is not allowed. Call it before any thread exists.
/// Returns false when the system refuses; the program then runs unrestricted.
bool PinToLowestAllowedCpu();
