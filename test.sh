#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds (warnings are errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
ORV_CMAKE_ARGS="-DORV_WERROR=ON ${ORV_CMAKE_ARGS:-}" bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
