#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing,
# then configures and builds the project in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libgl-dev libgl1-mesa-dri fonts-liberation2 libxlsxwriter-dev zlib1g-dev
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

# A compiler cache, when the machine has one, makes rebuilds after a fresh
# checkout cheap; the build does not need it.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAMVEX_WERROR=ON "${launcher[@]}"
# Test programs list their tests right after linking; the widget tests need
# a platform for that even where no display exists.
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" cmake --build build
