#!/usr/bin/env bash
# Installs what the Windows edition needs: Debian's MinGW-w64 cross compiler and zlib built
# for Windows, stb's headers, the programs that render the glyph tables at build time, zip
# for the package, and (with "test") Wine and a virtual screen to run it under. Does nothing
# when all is present. Usage: install_windows_deps.sh build|test
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(
  cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev libstb-dev
  python3 python3-pil fontconfig fonts-ipafont-gothic fonts-ipafont-mincho fonts-terminus-otb zip
)
test_packages=("${build_packages[@]}" wine wine64 xvfb xauth xdotool x11-utils imagemagick)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac
scripts/apt_install.sh "${wanted[@]}"
