#!/usr/bin/env bash
# Builds corvanta-cli and runs it on the sample model.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF >/dev/null
cmake --build build --target corvanta-cli
./build/corvanta-cli parse samples/chain.txt
