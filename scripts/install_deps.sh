#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and play ("play"), to build its
# Debian package ("package") or to build and run every test ("test"). Does nothing when
# they are all present.
set -euo pipefail

play_packages=(
  cmake g++ make pkg-config libstb-dev zlib1g-dev libxxhash-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libinih-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-ipafont-mincho fonts-terminus-otb
)
test_packages=(
  "${play_packages[@]}"
  libgtest-dev clang
  xvfb xauth xdotool x11-utils imagemagick sox python3 openbox xdg-user-dirs
)

# The icons are enlarged at build time by a Python script; the Debian package is built
# with Debian's tools and checked with its linters.
icon_packages=(python3)
package_packages=(dpkg-dev)
package_check_packages=(lintian desktop-file-utils appstream)

case "${1:-play}" in
  play) wanted=("${play_packages[@]}" "${icon_packages[@]}") ;;
  package) wanted=("${play_packages[@]}" "${icon_packages[@]}" "${package_packages[@]}") ;;
  test) wanted=("${test_packages[@]}" "${icon_packages[@]}" "${package_packages[@]}" "${package_check_packages[@]}") ;;
  *) echo "usage: $0 play|package|test" >&2; exit 2 ;;
esac

"$(dirname "$0")/apt_install.sh" "${wanted[@]}"
