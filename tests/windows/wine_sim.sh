#!/usr/bin/env bash
# The headless runner built for Windows, run under Wine as if it were the native
# kelto1-sim, so the runner's tests take it as they are: wine_sim.sh ARGS...
# KELTO1_SIM_EXE names the built runner (default: build-windows/kelto1-sim.exe of this
# tree); WINEPREFIX defaults to the prefix tests/windows/wine_prefix.sh makes in
# build-windows/. Windows ends its lines with CR LF: the CRs are taken out, so the
# lines compare equal to the native runner's.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=${KELTO1_SIM_EXE:-$root/build-windows/kelto1-sim.exe}
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
"$root/tests/windows/wine_prefix.sh"
set -o pipefail
wine "$exe" "$@" | tr -d '\r'
