#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, once: build-windows/wine-prefix (or
# $WINEPREFIX). Wine's first start builds a whole Windows folder tree, which takes half a
# minute; later starts find it ready. Wine's sound is switched off in it, so the tests run
# alike on machines with and without a sound card, and show how the game takes that.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine-prefix}
export WINEDEBUG=-all
# No Mono or Gecko: the game needs neither, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
ready=$WINEPREFIX/.kelto1-ready
[ -f "$ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
DISPLAY='' wineboot -i >/dev/null 2>&1
# An empty list of sound drivers: Wine's sound off.
DISPLAY='' wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
wineserver -w
touch "$ready"
