#!/usr/bin/env bash
# The real game in a window under Xvfb, driven with xdotool as a player would: the
# centred window "KELTO1" with its title screen and layout colours, a typed frame
# delay, Ctrl to start a race, Escape to end, and the settings file it leaves; then a
# close request, which saves as Escape does.
# Usage: window_test.sh path/to/kelto1   (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
screen_w=1280 screen_h=1024

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid='' game_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"
  exit 1
}

# A copy of the program folder: the game and the sound files beside it.
program="$work/program"
mkdir -p "$program"
cp "$game" "$program/kelto1"
for f in "$(dirname "$game")"/*.wav "$(dirname "$game")"/bgm.mid; do
  [ -f "$f" ] && cp "$f" "$program/"
done

# Xvfb picks a free display and tells its number.
Xvfb -displayfd 3 -screen 0 ${screen_w}x${screen_h}x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

start_game() {
  (cd "$program" && SDL_AUDIODRIVER=dummy exec ./kelto1 >"$work/game.log" 2>&1) &
  game_pid=$!
  window=''
  for _ in $(seq 100); do
    window=$(xdotool search --name '^KELTO1$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window KELTO1 appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y
}

wait_for_end() {
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end: $1"
  wait "$game_pid" || fail "the game ended with an error after $1"
  game_pid=''
}

shot="$work/shot.png"
snap() { import -window root "$shot"; }
# How many pixels of a colour lie in a rectangle of the window.
count() {  # x y w h RRGGBB
  convert "$shot" -crop "$3x$4+$((win_x + $1))+$((win_y + $2))" +repage txt:- | grep -ci "#$5" || true
}
pixel() { convert "$shot" -format "%[hex:p{$((win_x + $1)),$((win_y + $2))}]" info:; }
# Takes screenshots until the colour shows in the rectangle (or stops showing, with "none").
await() {  # what x y w h RRGGBB [none]
  local what=$1
  shift
  for _ in $(seq 40); do
    snap
    local n
    n=$(count "$@")
    if [ "${6:-}" = none ]; then [ "$n" -eq 0 ] && return 0; else [ "$n" -gt 0 ] && return 0; fi
    sleep 0.25
  done
  fail "$what"
}

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
