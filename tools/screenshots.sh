#!/usr/bin/env bash
# Retakes the README's screenshots, docs/title.png and docs/race.png, from the real game
# under Xvfb: the title screen, then a race a few seconds after the start with the
# accelerator held. Uses the end-to-end tests' Xvfb setup.
# Usage: tools/screenshots.sh [build folder (build)] [seconds of driving (6)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
drive=${2:-6}
game="$build/kelto1"
[ -x "$game" ] || { echo "screenshots: no $game; build the game first" >&2; exit 1; }
screen_w=1280 screen_h=1024
. "$root/tests/e2e/lib.sh"

take() {
  snap
  convert "$shot" -crop "${WIDTH}x$HEIGHT+$win_x+$win_y" +repage -strip "$root/docs/$1"
  echo "screenshots: docs/$1"
}

start_game
mkdir -p "$root/docs"
await "the title screen" 248 192 241 16 FFFFC0
take title.png
xdotool key ctrl
sleep 2.5              # the GET READY banner
xdotool keydown alt    # accelerate
sleep "$drive"
take race.png
xdotool keyup alt key Escape
wait_for_end "Escape"
