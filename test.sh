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
# The Windows edition, built with MinGW-w64 and tested under Wine, runs beside the browser
# stage (its packages are installed first, so the two never wait on apt together); its
# lines are shown once the browser stage is done.
scripts/install_windows_deps.sh test
windows_log=$(mktemp)
tests/windows/windows_test.sh build/kelto1-sim >"$windows_log" 2>&1 &
windows_pid=$!
# The browser edition: built with Emscripten, its runner under Node.js races every golden race.
tests/web/web_test.sh build/kelto1-sim
windows_status=0
wait "$windows_pid" || windows_status=$?
cat "$windows_log"
rm -f "$windows_log"
[ "$windows_status" -eq 0 ]
# The Debian package: built, checked, installed, played and removed again (77: skipped).
tests/package/package_test.sh || [ $? -eq 77 ]
# The soak and the fuzzers, under AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/proof.sh
