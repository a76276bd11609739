#!/usr/bin/env bash
# The browser edition's stage of ./test.sh: builds it with Emscripten, drives the page in
# headless Chromium, then runs every
# golden race (state hash and view hash) and every replay round trip with the WebAssembly
# runner under Node.js, against the same recorded results as the native runner.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
KELTO1_WEB_DEPS=test "$root/scripts/build_web.sh" kelto1-sim kelto1-web kelto1_web_release
# The page in headless Chromium, and what it downloads.
"$root/tests/web/page_test.sh"
"$root/scripts/web_size.sh"
"$root/tests/demos/golden_test.sh" "$root/tests/web/node_sim.sh"
"$root/tests/demos/replay_round_trip.sh" "$root/tests/web/node_sim.sh"
"$root/tests/demos/random_input_test.sh" "$root/tests/web/node_sim.sh"

# Replays cross between the editions: the browser's are packed by stb behind zlib's calls,
# the desktop's by zlib itself, and each plays the other's to the end.
native=${1:-$root/build/kelto1-sim}
if [ -x "$native" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  demo=$root/tests/demos/keitrack_brake.demo
  car=$(sed -n 's/^# car: //p' "$demo")
  frames=$(sed -n 's/^# frames: //p' "$demo")
  "$native" --car "$car" --frames "$frames" --demo "$demo" --record "$work/desktop.k1r" >/dev/null
  "$root/tests/web/node_sim.sh" --car "$car" --frames "$frames" --demo "$demo" --record "$work/web.k1r" >/dev/null
  crossed=0
  web_plays=$("$root/tests/web/node_sim.sh" --replay "$work/desktop.k1r" | grep '^replay=' || true)
  desktop_plays=$("$native" --replay "$work/web.k1r" | grep '^replay=' || true)
  [ "$web_plays" = replay=ok ] || { echo "the browser's runner plays the desktop's replay: ${web_plays:-nothing}"; crossed=1; }
  [ "$desktop_plays" = replay=ok ] || { echo "the desktop's runner plays the browser's replay: ${desktop_plays:-nothing}"; crossed=1; }
  [ "$crossed" -eq 0 ] && echo "replays cross between the editions: 2 passed, 0 failed"
  exit "$crossed"
else
  echo "no native runner at $native: replays not crossed"
fi
