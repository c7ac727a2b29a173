#!/usr/bin/env bash
# Builds everything and runs every test: the full build, then the core tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then a short
# run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh clang-14 libclang-rt-14-dev
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_SANITIZE=ON \
  -DCORVANTA_BENCH=OFF -DCORVANTA_UI=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

if [ -n "$(ls fuzz/*.cpp 2>/dev/null)" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVANTA_FUZZ=ON -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF -DCORVANTA_UI=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs"
  for target in build-fuzz/fuzz/fuzz_*; do
    corpus="fuzz/corpus/$(basename "$target" | sed 's/^fuzz_//')"
    mkdir -p "$corpus"
    work=$(mktemp -d)
    "$target" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 "$work" "$corpus" 2>&1 | tail -n 2
    rm -rf "$work"
  done
fi
echo "all tests passed"
