#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the editor. Without a display it runs the headless demo.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running the headless demo of orvedit-cli instead."
  exec build/bin/orvedit-cli demo
fi
exec build/bin/orvedit "$@"
