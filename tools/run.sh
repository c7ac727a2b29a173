#!/usr/bin/env bash
# Builds Corvanta and opens the sample mass-calibration model in the window;
# without a display, simulates the same model with the batch tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF >/dev/null
cmake --build build --target corvanta corvanta-cli
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/ui/corvanta samples/mass-calibration.cvm
fi
echo "No display: running the batch simulation of samples/mass-calibration.cvm instead of the window." >&2
./build/corvanta-cli run samples/mass-calibration.cvm
