#!/usr/bin/env bash
# Full screen on a 1920 x 1080 screen under a window manager: F11 fills the screen, F10
# switches to the sharp fit, which shows the picture over 1100 pixels wide (whole factors
# alone leave it at 630); both choices are remembered in the preferences file, and the
# next start opens in full screen with the sharp fit. F10 again goes back to whole
# factors. With KELTO1_SHOTS=folder the two full-screen pictures are kept there.
# Usage: fullscreen_test.sh path/to/kelto1   (exits 77 when Xvfb, xdotool or the window
# manager is missing)
set -euo pipefail
game=$1
screen_w=1920 screen_h=1080

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
prefs="$XDG_CONFIG_HOME/kelto1/kelto1.ini"

# The width and height of what is not black on the screen: the picture's texts and
# boxes (the title screen's view is black), which lie inside the picture.
shown_size() { snap; convert "$shot" -trim -format "%w %h" info:; }
# Takes screenshots until the picture's width passes the test ($1: -ge or -le, $2) and
# holds over two screenshots.
await_width() {  # what -ge|-le width
  local last='' size w
  for _ in $(seq 60); do
    size=$(shown_size)
    w=${size%% *}
    if [ "$w" "$2" "$3" ] && [ "$size" = "$last" ]; then echo "$size"; return 0; fi
    last=$size
    sleep 0.25
  done
  fail "$1 (the picture is $size)"
}

start_window_manager
start_game
await_width "the window shown" -ge 600 >/dev/null
xdotool key --window "$window" F11
whole=$(await_width "full screen with whole factors keeps the picture at 630" -le 700)
[ -n "${KELTO1_SHOTS:-}" ] && cp "$shot" "$KELTO1_SHOTS/fullscreen_whole.png"
xdotool key --window "$window" F10
sharp=$(await_width "the sharp fit fills the screen's height" -ge 1100)
# The picture grows the same both ways: 1080 / 576 = 1.875 times its size at whole factors.
[ $((${sharp##* } * 100)) -ge $((${whole##* } * 180)) ] || fail "the sharp fit ($sharp) is not 1.8 times as tall as the whole one ($whole)"
[ -n "${KELTO1_SHOTS:-}" ] && cp "$shot" "$KELTO1_SHOTS/fullscreen_sharp.png"
grep -qx "full_screen = yes" "$prefs" || fail "full screen was not remembered: $(cat "$prefs")"
grep -qx 'scaling = sharp' "$prefs" || fail "the sharp fit was not remembered"
xdotool key --window "$window" Escape
wait_for_end "Escape"

# The next start comes back the way it was left.
start_game
again=$(await_width "the next start in full screen with the sharp fit" -ge 1100)
xdotool key --window "$window" F10
await_width "F10 goes back to whole factors" -le 700 >/dev/null
xdotool key --window "$window" Escape
wait_for_end "Escape after the second start"
grep -qx 'scaling = whole' "$prefs" || fail "whole factors were not remembered"
echo "fullscreen: whole factors $whole, sharp fit $sharp, next start $again: all checks passed"
