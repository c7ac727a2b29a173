#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when any is missing.
# Usage: tools/install-deps.sh [extra packages...]
set -euo pipefail
packages=(build-essential cmake ninja-build python3 libgtest-dev libbenchmark-dev libboost-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev libglx-dev libopengl-dev fonts-dejavu-core poppler-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
