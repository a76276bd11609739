#!/usr/bin/env bash
# Installs what is missing, builds the game and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh test
# The layers: a front end never sees the game, the game never sees a front end.
scripts/check_includes.sh
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELTO1_WERROR="$werror" -DKELTO1_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
# The browser edition: built with Emscripten, its runner under Node.js races every golden race.
tests/web/web_test.sh build/kelto1-sim
# The Debian package: built, checked, installed, played and removed again (77: skipped).
tests/package/package_test.sh || [ $? -eq 77 ]
# The soak and the fuzzers, under AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/proof.sh
