#!/usr/bin/env bash
# Builds the browser edition with Emscripten into build-web/: build_web.sh [TARGET...]
# (default: everything). Installs the toolchain first when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_web_deps.sh "${KELTO1_WEB_DEPS:-build}"
# Debian's Emscripten runs its tools under Node.js, which does not look in Debian's module folder.
export NODE_PATH=/usr/share/nodejs
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DKELTO1_DESKTOP=OFF -DKELTO1_TESTS=OFF \
  "${launcher[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build-web -j"$(nproc)" "${targets[@]}"
