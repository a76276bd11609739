#!/usr/bin/env bash
# The browser edition's stage of ./test.sh: builds it with Emscripten, then runs every
# golden race (state hash and view hash) and every replay round trip with the WebAssembly
# runner under Node.js, against the same recorded results as the native runner.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
KELTO1_WEB_DEPS=test "$root/scripts/build_web.sh" kelto1-sim
"$root/tests/demos/golden_test.sh" "$root/tests/web/node_sim.sh"
"$root/tests/demos/replay_round_trip.sh" "$root/tests/web/node_sim.sh"
