#!/usr/bin/env bash
# Retakes the README's screenshots, docs/title.png and docs/race.png, from the real game
# under Xvfb: the title screen, then a race a few seconds after the start with the
# accelerator held.
# Usage: tools/screenshots.sh [build folder (build)] [seconds of driving (6)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
drive=${2:-6}
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is not installed" >&2; exit 1; }
done
[ -x "$build/kelto1" ] || { echo "screenshots: no $build/kelto1; build the game first" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid='' game_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/program"
cp "$build/kelto1" "$work/program/"
for f in "$build"/*.wav "$build"/bgm.mid; do [ -f "$f" ] && cp "$f" "$work/program/"; done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

(cd "$work/program" && SDL_AUDIODRIVER=dummy exec ./kelto1) &
game_pid=$!
window=''
for _ in $(seq 100); do
  window=$(xdotool search --name '^KELTO1$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshots: the window did not appear" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"

take() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage -strip "$root/docs/$1"
  echo "screenshots: docs/$1"
}

mkdir -p "$root/docs"
sleep 1.5
take title.png
xdotool key ctrl
sleep 2.5              # the GET READY banner
xdotool keydown alt    # accelerate
sleep "$drive"
take race.png
xdotool keyup alt key Escape
wait "$game_pid" || true
game_pid=''
