#!/usr/bin/env bash
# The headless runner built with Emscripten, run under Node.js as if it were the native
# kelto1-sim, so the runner's tests take it as they are: node_sim.sh ARGS...
# KELTO1_SIM_JS names the built runner (default: build-web/kelto1-sim.js of this tree).
set -euo pipefail
js=${KELTO1_SIM_JS:-$(cd "$(dirname "$0")/../.." && pwd)/build-web/kelto1-sim.js}
# Emscripten 3.1.6's output predates Node's own fetch, which it would mistake for a browser's.
exec node --no-experimental-fetch "$js" "$@"
