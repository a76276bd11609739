#!/usr/bin/env bash
# The real game in a window under Xvfb, driven with xdotool as a player would: the
# centred window "KELTO1" with its title screen and layout colours, a typed frame
# delay, Ctrl to start a race, Escape to end, and the settings file it leaves; then a
# close request, which saves as Escape does.
# Usage: window_test.sh path/to/kelto1   (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
screen_w=1280 screen_h=1024

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

# ---- First run: no settings file yet -------------------------------------------------
start_game
[ "$WIDTH" -ge 630 ] && [ "$HEIGHT" -ge 576 ] || fail "window is ${WIDTH}x$HEIGHT, smaller than the layout"
[ $((win_x - (screen_w - WIDTH) / 2)) -ge -1 ] && [ $((win_x - (screen_w - WIDTH) / 2)) -le 1 ] \
  && [ $((win_y - (screen_h - HEIGHT) / 2)) -ge -1 ] && [ $((win_y - (screen_h - HEIGHT) / 2)) -le 1 ] \
  || fail "window at $win_x,$win_y is not centred (size ${WIDTH}x$HEIGHT)"
[ "$WIDTH" -eq 630 ] || fail "the test reads the layout at a factor of 1, the window is $WIDTH wide"

await "banner PUSH [Ctrl] TO START in light yellow" 248 192 241 16 FFFFC0
[ "$(pixel 10 240)" = 00C000 ] || fail "the sign-green Label2 is not at (10,240): $(pixel 10 240)"
[ "$(pixel 88 284)" = 00C000 ] || fail "the sign green does not reach (88,284): $(pixel 88 284)"
[ "$(pixel 2 240)" = 000000 ] || fail "black expected left of the sign"
for p in "138 500" "600 560" "200 300" "629 100"; do
  set -- $p
  [ "$(pixel "$1" "$2")" = 000000 ] || fail "the view is not black at ($1,$2)"
done
[ "$(count 0 0 97 17 FFFFFF)" -gt 10 ] || fail "HIGHEST_RANK caption in white"
[ "$(count 0 16 57 18 FFFFFF)" -gt 5 ] || fail "best rank in white"
[ "$(count 0 56 81 17 FFFFC0)" -gt 5 ] || fail "SPEED caption in light yellow"
[ "$(count 0 136 89 25 00FF00)" -gt 5 ] || fail "condition in green"
[ "$(count 48 168 41 25 FFFFC0)" -gt 5 ] || fail "rank in light yellow"
[ "$(count 0 312 49 18 FFFFC0)" -gt 5 ] || fail "time in light yellow"
[ "$(count 2 336 57 25 FFFFFF)" -gt 10 ] || fail "the caption of the delay box in white"
[ "$(count 0 360 57 18 C0FFFF)" -gt 5 ] || fail "the delay in light cyan"
[ "$(count 0 360 40 18 C0FFFF)" -eq 0 ] || fail "the delay is not right-aligned"
[ "$(count 120 216 497 16 FFFFC0)" -gt 20 ] || fail "the maker's notice in light yellow"
[ "$(count 160 130 391 48 C0C0C0)" -gt 100 ] || fail "the title logo on its grey ground"
[ -f "$program/car.dat" ] || fail "car.dat was not created at start-up"

# A frame delay typed into its box, which holds "0". Keystrokes that come while an idle
# tick waits out the delay are flushed, as they always were; so the box holds no delay
# (an "x" keeps its text from being a number) until the last keystroke.
xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
xdotool key --delay 40 End BackSpace BackSpace x Home 1 5 End BackSpace
sleep 0.3

# Ctrl starts a race: the delay box goes, the GET READY banner comes.
xdotool key ctrl
await "the delay box hidden once a race starts" 0 360 57 18 C0FFFF none
[ "$(count 248 192 241 16 FFFFC0)" -gt 20 ] || fail "banner PLAYER 1 GET READY"
[ "$(count 120 216 497 16 FFFFC0)" -eq 0 ] || fail "the maker's notice stays during the race"
sleep 2.5  # the banner's two seconds, then race frames
kill -0 "$game_pid" 2>/dev/null || fail "the game ended during the race"

xdotool key Escape
wait_for_end "Escape"
bytes=$(od -An -tx1 "$program/car.dat" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$bytes" = "0f 00 00 00 00 00 00 00 00 00" ] || fail "car.dat after Escape holds: $bytes"

# ---- Second run: a settings file of our own, and a close request ------------------------
printf '\x00\x00\x00\x00\x0c\x00\x00\x00\x04\x00memoXY' >"$program/car.dat"
start_game
await "the best rank read from car.dat" 0 16 57 18 FFFFFF
xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
xdotool key --delay 40 End BackSpace BackSpace 4
sleep 0.5
# A close request (SDL turns SIGTERM into the same request as the window's close
# button) saves the settings as Escape does.
kill -TERM "$game_pid"
wait_for_end "a close request"
bytes=$(od -An -tx1 "$program/car.dat" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$bytes" = "04 00 00 00 0c 00 00 00 04 00 6d 65 6d 6f 58 59" ] || fail "car.dat after closing holds: $bytes"

echo "window: all checks passed"
