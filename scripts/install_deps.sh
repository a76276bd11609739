#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and play ("play") or to build
# and run every test ("test"). Does nothing when they are all present.
set -euo pipefail

play_packages=(
  cmake g++ make pkg-config libstb-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-ipafont-mincho fonts-terminus-otb
)
test_packages=(
  "${play_packages[@]}"
  libgtest-dev libbenchmark-dev clang
  xvfb xauth xdotool x11-utils imagemagick sox
)

case "${1:-play}" in
  play) wanted=("${play_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 play|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null; then
  run=(sudo)
else
  echo "These Debian packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
