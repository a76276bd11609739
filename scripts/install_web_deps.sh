#!/usr/bin/env bash
# Installs what the browser edition needs: Debian's Emscripten toolchain, the programs that
# render and encode the tune and the glyph atlases at build time, and (with "test") Debian's
# Chromium plus puppeteer-core from npm to drive it. Does nothing when all is present.
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(
  emscripten cmake make python3 python3-pil
  fluidsynth timgm6mb-soundfont vorbis-tools
  fontconfig fonts-ipafont-gothic fonts-ipafont-mincho fonts-terminus-otb
)
test_packages=("${build_packages[@]}" chromium)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

missing=()
# Node.js runs Emscripten and its output; a machine that has its own (with npm) keeps it.
command -v node >/dev/null || wanted+=(nodejs)
command -v npm >/dev/null || [ "${1:-build}" != test ] || wanted+=(npm)
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
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
fi

# The browser test drives Debian's Chromium through puppeteer-core (no browser of its own).
if [ "${1:-build}" = test ] && [ ! -d tests/web/node_modules/puppeteer-core ]; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
