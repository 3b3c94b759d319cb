#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with ASan/UBSan (clang) and runs each one.
# Usage: scripts/fuzz.sh [seconds per target, default 600] [target name filter]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-600}
filter=${2:-}
bash scripts/deps.sh
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_BUILD_FUZZ=ON -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined"
cmake --build build-fuzz -j"$(nproc)" --target orv_runtime_files
targets=$(ls fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//' | grep -- "${filter}" || true)
for t in $targets; do
  cmake --build build-fuzz -j"$(nproc)" --target "$t"
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  [ -d "fuzz/seeds/$t" ] && cp -n fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${secs}s"
  "build-fuzz/fuzz/bin/$t" -max_total_time="$secs" -print_final_stats=1 "$corpus" 2>&1 | tail -n 25
done
