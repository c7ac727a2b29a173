#!/usr/bin/env bash
# Builds corvanta-cli and runs a simulation of the sample mass-calibration model.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF >/dev/null
cmake --build build --target corvanta-cli
./build/corvanta-cli run samples/mass-calibration.cvm
