#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")"
# No window without a display: say so before spending minutes on a build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "kelto1: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  exit 1
fi
if command -v apt-get >/dev/null && command -v dpkg-query >/dev/null; then
  scripts/install_deps.sh play
else
  missing=()
  for lib in sdl2 SDL2_ttf SDL2_mixer fontconfig zlib inih; do
    pkg-config --exists "$lib" 2>/dev/null || missing+=("$lib")
  done
  command -v cmake >/dev/null || missing+=(cmake)
  command -v pkg-config >/dev/null || missing+=(pkg-config)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "kelto1: this system has no apt; install these with its own package manager, then run ./play.sh again:" >&2
    echo "  ${missing[*]} (and stb, a General MIDI soundfont, the IPA Gothic and Mincho fonts; see README.md)" >&2
    exit 1
  fi
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELTO1_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target kelto1
exec build/kelto1 "$@"
