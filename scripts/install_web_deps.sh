#!/usr/bin/env bash
# Installs what the browser edition needs: Debian's Emscripten toolchain, the programs that
# render and encode the tune and the glyph atlases at build time, and (with "test") Debian's
# Chromium plus puppeteer-core from npm to drive it. Does nothing when all is present.
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(
  emscripten cmake make python3 python3-pil libxxhash-dev
  fluidsynth timgm6mb-soundfont vorbis-tools
  fontconfig fonts-ipafont-gothic fonts-ipafont-mincho fonts-terminus-otb
)
test_packages=("${build_packages[@]}" chromium)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

# Node.js runs Emscripten and its output; a machine that has its own (with npm) keeps it.
command -v node >/dev/null || wanted+=(nodejs)
command -v npm >/dev/null || [ "${1:-build}" != test ] || wanted+=(npm)
scripts/apt_install.sh "${wanted[@]}"

# The browser test drives Debian's Chromium through puppeteer-core (no browser of its own).
if [ "${1:-build}" = test ] && [ ! -d tests/web/node_modules/puppeteer-core ]; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
