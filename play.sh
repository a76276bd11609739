#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")"
# No window without a display: say so before spending minutes on a build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "kelto1: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  exit 1
fi
scripts/install_deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELTO1_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target kelto1
exec build/kelto1 "$@"
