#!/usr/bin/env bash
# The real game in a window under Xvfb, driven with xdotool as a player would: the
# centred window "KELTO1" with its title screen and layout colours, a typed frame
# delay, Ctrl to start a race and the GET READY banner's two seconds, Escape to end, and
# the settings file it leaves; a close request, which saves as Escape does; keys typed
# into the delay box whatever the delay; and a frame delay of ten minutes that must not
# keep the program from ending.
# Usage: window_test.sh path/to/kelto1 [path/to/close-request]
#        (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
close_request=${2:-}
screen_w=1280 screen_h=1024
# From Ctrl to the banner gone: the game's two seconds, a frame or two, and room for a
# busy machine.
banner_limit_ms=2300
# From a request to end until the settings are saved and the game has ended (as the
# game tells it), and until the process is gone.
saved_limit_ms=100
end_limit_ms=1000

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

# A frame delay typed into its box, which holds "0"; Tab then takes the caret away.
crop "$work/box_before.png" 0 360 57 18
xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
xdotool key --delay 40 End BackSpace 1 5 Tab
await_change "the typed delay in its box" "$work/box_before.png" 0 360 57 18

# Ctrl starts a race: the delay box goes, the GET READY banner comes, and goes two
# seconds later. The game tells when its picture lost the banner, counted from Ctrl.
xdotool key ctrl
await "the delay box hidden once a race starts" 0 360 57 18 C0FFFF none
# The elements are repainted one after another, so a picture taken just as the delay box
# went may still show the title's notice: each is awaited, not read from that picture.
await "banner PLAYER 1 GET READY" 248 192 241 16 FFFFC0
await "the maker's notice gone during the race" 120 216 497 16 FFFFC0 none
await "the GET READY banner gone" 248 192 241 16 FFFFC0 none
banner_ms=$(sed -n 's/.*banner on screen .* gone \([0-9]*\) ms after Ctrl.*/\1/p' "$work/game.log" | tail -n 1)
[ -n "$banner_ms" ] || fail "the game did not tell when the banner went"
echo "window: GET READY banner gone $banner_ms ms after Ctrl (limit $banner_limit_ms)"
[ "$banner_ms" -ge 2000 ] || fail "the banner went after $banner_ms ms, before its two seconds"
[ "$banner_ms" -le "$banner_limit_ms" ] || fail "the banner stayed $banner_ms ms after Ctrl"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended during the race"

xdotool key Escape
wait_for_end "Escape"
bytes=$(settings_bytes)
[ "$bytes" = "0f 00 00 00 00 00 00 00 00 00" ] || fail "car.dat after Escape holds: $bytes"

# ---- Second run: a settings file of our own, and a close request ------------------------
printf '\x00\x00\x00\x00\x0c\x00\x00\x00\x04\x00memoXY' >"$program/car.dat"
start_game
await "the best rank read from car.dat" 0 16 57 18 FFFFFF
await "the title screen" 248 192 241 16 FFFFC0
crop "$work/box_before.png" 0 360 57 18
xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
xdotool key --delay 40 End BackSpace BackSpace 4 Tab
await_change "the typed delay in its box" "$work/box_before.png" 0 360 57 18
# A close request (SDL turns SIGTERM into the same request as the window's close
# button) saves the settings as Escape does.
kill -TERM "$game_pid"
wait_for_end "a close request"
bytes=$(settings_bytes)
[ "$bytes" = "04 00 00 00 0c 00 00 00 04 00 6d 65 6d 6f 58 59" ] || fail "car.dat after closing holds: $bytes"

# ---- Keys typed into the delay box reach it whatever the delay ---------------------------
# Each idle tick waits out the delay and flushes four keyboard messages; what is typed
# on the title screen is not theirs to take.
for delay in 0 20 500; do
  printf "$(printf '\\x%02x\\x%02x\\x00\\x00' $((delay & 255)) $((delay >> 8)))\x1e\x00\x00\x00\x00\x00" >"$program/car.dat"
  start_game
  await "the title screen at a delay of $delay" 248 192 241 16 FFFFC0
  snap
  crop "$work/box_before.png" 0 360 57 18
  xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
  xdotool key --delay 40 End BackSpace BackSpace BackSpace 5 Tab
  await_change "the typed 5 in the box at a delay of $delay" "$work/box_before.png" 0 360 57 18
  xdotool key Escape
  wait_for_end "Escape at a delay of $delay"
  bytes=$(settings_bytes)
  [ "${bytes:0:11}" = "05 00 00 00" ] || fail "at a delay of $delay typing 5 saved: $bytes"
  echo "window: at a delay of $delay ms the typed 5 was saved"
done

# ---- A frame delay of ten minutes -------------------------------------------------------
# Pacing waits at most a second a frame, and a request to end cuts any wait short; the
# settings file keeps the ten minutes the player chose.
ways="SIGINT Escape"
[ -n "$close_request" ] && ways="close-button $ways"
for way in $ways; do
  printf '\xc0\x27\x09\x00\x1e\x00\x00\x00\x00\x00' >"$program/car.dat"
  start_game
  await "the title screen at a delay of ten minutes" 248 192 241 16 FFFFC0
  from=$(now_ms)
  case $way in
    close-button) "$close_request" "$window" ;;
    SIGINT) kill -INT "$game_pid" ;;
    Escape) xdotool key Escape ;;
  esac
  ms=$(ms_to_end_since "$from")
  wait_for_end "$way during a ten-minute delay"
  saved_ms=$(sed -n 's/.*settings saved and the game ended \([0-9]*\) ms after.*/\1/p' "$work/game.log" | tail -n 1)
  [ -n "$saved_ms" ] || fail "the game did not tell when it ended after $way"
  echo "window: $way during a ten-minute frame delay: saved and ended after $saved_ms ms" \
    "(limit $saved_limit_ms), process gone after $ms ms (limit $end_limit_ms)"
  [ "$saved_ms" -le "$saved_limit_ms" ] || fail "$way took $saved_ms ms to save and end"
  [ "$ms" -le "$end_limit_ms" ] || fail "$way took $ms ms to end the game"
  bytes=$(settings_bytes)
  [ "$bytes" = "c0 27 09 00 1e 00 00 00 00 00" ] || fail "car.dat after $way holds: $bytes"
done

echo "window: all checks passed"
