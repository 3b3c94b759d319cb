#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the editor needs to build, run and test.
set -euo pipefail
PKGS=(cmake ninja-build g++ ccache pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
      qt6-serialport-dev qt6-image-formats-plugins libgl-dev
      libbz2-dev bzip2 libfontconfig-dev fontconfig libbenchmark-dev
      fonts-dejavu-core fonts-liberation2
      python3 xvfb xauth)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
