#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing,
# then configures and builds the project in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libgl-dev libgl1-mesa-dri fonts-liberation2 libxlsxwriter-dev
          xvfb xauth x11-utils poppler-utils python3 python3-openpyxl)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAMVEX_WERROR=ON
cmake --build build
