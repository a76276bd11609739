#!/usr/bin/env bash
# kelto1.exe in its window under Wine on Xvfb, driven with xdotool as a player would:
# the title with its logo's colours and the hints line, Ctrl's PLAYER 1 GET READY banner
# coming and going, Alt raising the speed readout, P freezing the race under PAUSED and
# P letting it go on, another window taking the keyboard pausing it too, a typed frame delay saved by Escape into car.dat under the
# prefix's %APPDATA%\Kelto1\ and read back by a second start; kelto1.ini written there
# after a choice (the vehicle, F10, G) and read back; F12's PNG; F11 and the sharp fit; F3's records
# table, a race watched from it and told under the title. Wine's sound is off: the game
# runs silently, with at most one line about it.
# Usage: window_test.sh path/to/kelto1.exe   (exits 77 when Xvfb, xdotool or wine is missing)
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in Xvfb xdotool xmessage import convert compare wine; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
screen_w=1280 screen_h=1024

export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine-prefix}
export WINEDEBUG=-all
"$root/tests/windows/wine_prefix.sh"

work=$(mktemp -d)
xvfb_pid='' game_pid='' other_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"
  exit 1
}

# The program folder as the zip unpacks it: the game and its sound files, in a folder
# whose name is not in the ANSI code page (the paths go to Windows as UTF-16).
program="$work/ゲーム フォルダ"
mkdir -p "$program"
cp "$exe" "$program/kelto1.exe"
cp "$root"/data/*.wav "$root/data/bgm.mid" "$program/"
# The player's folder in the prefix starts empty.
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*/AppData/Roaming' ! -path '*/Public/*' | head -n 1)
[ -n "$appdata" ] || fail "no AppData\\Roaming folder in the prefix $WINEPREFIX"
rm -rf "$appdata/Kelto1"
# Wine links the Pictures folder to the home folder: the prefix gets one of its own, so
# that screenshots stay inside it.
pictures=$(dirname "$(dirname "$appdata")")/Pictures
[ -L "$pictures" ] && rm "$pictures"
mkdir -p "$pictures"
settings=$appdata/Kelto1/car.dat
prefs=$appdata/Kelto1/kelto1.ini

Xvfb -displayfd 3 -screen 0 ${screen_w}x${screen_h}x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

# The first visible window of that name, once it shows (empty when none does).
find_window() {  # name
  local found=''
  for _ in $(seq 300); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
start_game() {
  (cd "$program" && exec wine kelto1.exe >"$work/game.log" 2>&1) &
  game_pid=$!
  window=$(find_window KELTO1)
  [ -n "$window" ] || fail "no window KELTO1 appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y
  xdotool windowfocus "$window" 2>/dev/null || true
}
wait_for_end() {
  for _ in $(seq 200); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end: $1"
  wait "$game_pid" || fail "the game ended with an error after $1"
  game_pid=''
}

shot="$work/shot.png"
snap() { import -window root "$shot"; }
count() {  # x y w h RRGGBB
  convert "$shot" -crop "$3x$4+$((win_x + $1))+$((win_y + $2))" +repage txt:- | grep -ci "#$5" || true
}
crop() {  # file x y w h
  convert "$shot" -crop "$4x$5+$((win_x + $2))+$((win_y + $3))" +repage "$1"
}
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }
# Polls the file until a line of it matches (a choice written when it was made).
await_line() {  # what file regex
  for _ in $(seq 60); do
    [ -f "$2" ] && grep -q "$3" "$2" && return 0
    sleep 0.25
  done
  fail "$1"
}
# Screenshots until the colour shows in the rectangle (or stops showing, with "none").
await() {  # what x y w h RRGGBB [none]
  local what=$1
  shift
  for _ in $(seq 60); do
    snap
    local n
    n=$(count "$@")
    if [ "${6:-}" = none ]; then [ "$n" -eq 0 ] && return 0; else [ "$n" -gt 0 ] && return 0; fi
    sleep 0.25
  done
  fail "$what"
}
# Screenshots until the rectangle differs from the picture in $2 and holds still.
await_change() {  # what before.png x y w h
  local what=$1 before=$2 last="$work/await_last.png" now="$work/await_now.png"
  shift 2
  rm -f "$last"
  for _ in $(seq 60); do
    snap
    crop "$now" "$@"
    if ! same_picture "$now" "$before" && [ -f "$last" ] && same_picture "$now" "$last"; then return 0; fi
    cp "$now" "$last"
    sleep 0.25
  done
  fail "$what"
}
# Screenshots until the rectangle differs from the picture in $2 (a readout that keeps
# changing need not hold still).
await_differs() {  # what before.png x y w h
  local what=$1 before=$2 now="$work/await_now.png"
  shift 2
  for _ in $(seq 60); do
    snap
    crop "$now" "$@"
    same_picture "$now" "$before" || return 0
    sleep 0.25
  done
  fail "$what"
}
await_same() {  # what expected.png x y w h
  local what=$1 expected=$2 now="$work/await_now.png"
  shift 2
  for _ in $(seq 60); do
    snap
    crop "$now" "$@"
    same_picture "$now" "$expected" && return 0
    sleep 0.25
  done
  fail "$what"
}

# ---- First start: the title, a race begun and driven, a delay saved ----------------------
start=$(date +%s%N)
start_game
[ "$WIDTH" -ge 630 ] && [ "$HEIGHT" -ge 576 ] || fail "the window is ${WIDTH}x$HEIGHT, smaller than the layout"
await "the banner PUSH [Ctrl] TO START in light yellow" 248 192 241 16 FFFFC0
echo "windows: the title screen showed $(( ($(date +%s%N) - start) / 1000000 )) ms after wine was started"
[ "$(count 160 130 391 48 C0C0C0)" -gt 100 ] || fail "the title logo on its grey ground"
[ "$(count 160 130 391 48 FF0000)" -gt 0 ] || [ "$(count 160 130 391 48 F80000)" -gt 0 ] ||
  [ "$(convert "$shot" -crop "391x48+$((win_x + 160))+$((win_y + 130))" +repage -colors 16 -unique-colors txt:- | grep -c '#')" -ge 6 ] ||
  fail "the logo's colours"
[ "$(count 0 0 97 17 FFFFFF)" -gt 10 ] || fail "the HIGHEST_RANK caption in white"
[ "$(count 0 136 89 25 00FF00)" -gt 5 ] || fail "the condition in green"
# A first start shows the keys to know under the title's texts, dim grey.
await "the hints line under the title" 120 240 497 16 909090
[ ! -e "$prefs" ] || fail "kelto1.ini was written before any choice"
# F10 switches to the sharp fit (the window is at its own size, so nothing changes on
# screen yet) and the choice is written at once.
xdotool key F10
await_line "the sharp fit written to kelto1.ini" "$prefs" '^scaling = sharp'

# F12: the picture as a PNG in the Pictures folder, and one line saying where.
xdotool key F12
for _ in $(seq 60); do grep -q 'screenshot saved to' "$work/game.log" && break; sleep 0.25; done
saved=$(sed -n 's/^kelto1: screenshot saved to \(.*\.png\)\r*$/\1/p' "$work/game.log" | head -n 1)
[ -n "$saved" ] || fail "F12 said no screenshot was saved"
case "$saved" in *Pictures\\kelto1\\kelto1-*.png) ;; *) fail "the screenshot is not in the Pictures folder: $saved" ;; esac
png=$(winepath -u "$saved" 2>/dev/null)
[ -f "$png" ] || fail "no file at $saved"
[ "$(realpath "$png")" = "$(realpath "$pictures")/kelto1/$(basename "$png")" ] || fail "the screenshot is not in the prefix's Pictures: $png"
[ "$(identify -format '%m %wx%h' "$png")" = "PNG 630x576" ] || fail "the screenshot is not a 630x576 PNG"
rm -rf "$pictures/kelto1"

# The motorbike from the selector's list (its button, then its third item): the choice is
# remembered in kelto1.ini.
snap
crop "$work/list_before.png" 0 220 120 100
xdotool mousemove $((win_x + 80)) $((win_y + 210)) click 1
await_change "the selector's list open" "$work/list_before.png" 0 220 120 100
xdotool mousemove $((win_x + 40)) $((win_y + 254)) click 1
await_line "the motorbike remembered in kelto1.ini" "$prefs" '^vehicle = MotorBike$'

# A frame delay typed into its box; Tab takes the caret away.
crop "$work/box_before.png" 0 360 57 18
xdotool mousemove $((win_x + 30)) $((win_y + 368)) click 1
xdotool key --delay 60 End BackSpace 1 5 Tab
await_change "the typed delay in its box" "$work/box_before.png" 0 360 57 18
crop "$work/box_typed.png" 0 360 57 18

xdotool key ctrl
await "the banner PLAYER 1 GET READY" 248 192 241 16 FFFFC0
await "the GET READY banner gone" 248 192 241 16 FFFFC0 none
snap
crop "$work/speed_before.png" 0 72 97 25
xdotool keydown alt
await_differs "the speed readout raised by Alt" "$work/speed_before.png" 0 72 97 25
# P with Alt held: PAUSED over the view, and the window's picture holds still however
# many times it is looked at; P again and the race goes on.
xdotool key p
await "PAUSED over the view" 248 280 241 16 FFFFC0
snap
crop "$work/paused.png" 0 0 630 576
for _ in 1 2 3 4 5; do
  snap
  crop "$work/paused_now.png" 0 0 630 576
  same_picture "$work/paused_now.png" "$work/paused.png" || fail "the picture moved while paused"
done
xdotool key p
await "PAUSED gone once P is pressed again" 248 280 241 16 FFFFC0 none
await_differs "the race going on after the pause" "$work/paused.png" 0 0 630 576
xdotool keyup alt
# Another window taking the keyboard pauses the race; P back in the game's window goes on.
xmessage -geometry +900+900 "another window" 2>/dev/null &
other_pid=$!
other=$(find_window xmessage)
[ -n "$other" ] || fail "no other window to take the keyboard"
xdotool windowfocus "$other"
await "PAUSED once another window has the keyboard" 248 280 241 16 FFFFC0
kill "$other_pid" 2>/dev/null || true
wait "$other_pid" 2>/dev/null || true
other_pid=''
xdotool mousemove $((win_x + 400)) $((win_y + 400)) click 1
xdotool key p
await "PAUSED gone once P is pressed back in the game's window" 248 280 241 16 FFFFC0 none
kill -0 "$game_pid" 2>/dev/null || fail "the game ended during the race"

xdotool key Escape
wait_for_end "Escape"
[ -f "$settings" ] || fail "no car.dat in the player's folder $appdata/Kelto1"
bytes=$(od -An -tx1 "$settings" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "${bytes:0:11}" = "0f 00 00 00" ] || fail "car.dat after Escape holds: $bytes"
[ -f "$appdata/Kelto1/last.k1r" ] || fail "the race was not kept as last.k1r beside car.dat"
[ ! -e "$program/car.dat" ] || fail "car.dat was written beside the program without portable.txt"
grep -q 'settings are kept in .*AppData.Roaming.Kelto1' "$work/game.log" || fail "the game did not say where its settings are"
# Besides where the settings are, at most one line: Wine's sound is off.
others=$(grep -v -e 'settings are kept in' -e 'screenshot saved to' "$work/game.log" | grep -c . || true)
[ "$others" -le 1 ] || fail "$others lines with the sound off"

grep -q '^title_hints = no' "$prefs" || fail "the hints are not put away in kelto1.ini after a race"

# A race in the records table, with its replay: a few seconds of a recorded demo.
mkdir -p "$appdata/Kelto1/records"
demo=$root/tests/demos/keitrack_brake.demo
"$root/tests/windows/wine_sim.sh" --car KeiTrack --frames 150 --demo "$demo" \
  --record "$(winepath -w "$appdata/Kelto1/records/20260101-120000.k1r")" >/dev/null
printf 'kelto1 records 1\n2026-01-01 12:00:00\tKeiTrack\t30\t1\tTOKYO\t42\t150\t20260101-120000.k1r\n' \
  >"$appdata/Kelto1/records.txt"
listing=$(cd "$program" && wine kelto1.exe --records 2>&1 | tr -d '\r') || fail "kelto1.exe --records failed: $listing"
grep -qE '^ 1 .*KeiTrack' <<<"$listing" || fail "kelto1.exe --records lists no race: $listing"

# ---- Second start: the saved delay and choices are read back -------------------------
start_game
await "the title screen again" 248 192 241 16 FFFFC0
await_same "the delay of 15 read back from car.dat" "$work/box_typed.png" 0 360 57 18
await "no hints line once a race has been run" 120 240 497 16 909090 none
# F3: the table over the view, its race picked in light cyan; Enter watches its replay,
# which hides the table until it has played; Escape then gives the title back, where the
# replay is told to have played as recorded.
xdotool key F3
await "the records table over the view" 130 60 480 20 C0FFFF
xdotool key Return
await "the table hidden while the replay plays" 130 60 480 20 C0FFFF none
await "the table again after the replay" 130 60 480 20 C0FFFF
xdotool key Escape
await "the title after the table" 248 192 241 16 FFFFC0
await "the replay told under the title" 120 240 497 16 909090
kill -0 "$game_pid" 2>/dev/null || fail "Escape in the records table ended the game"
xdotool key g
await_line "the ghost put away in kelto1.ini" "$prefs" '^ghost = no'
# F11: the window fills the screen; the sharp fit remembered from the first start fills
# its height, F10 puts the picture back to whole pixels, centred on black; F11 again gives
# the window back.
xdotool key F11
for _ in $(seq 100); do
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -eq "$screen_w" ] && [ "$HEIGHT" -eq "$screen_h" ] && break
  sleep 0.1
done
[ "$WIDTH" -eq "$screen_w" ] && [ "$HEIGHT" -eq "$screen_h" ] || fail "full screen is ${WIDTH}x$HEIGHT"
await_line "full screen written to kelto1.ini" "$prefs" '^full_screen = yes'
# The sharp fit fills the screen's height: its top rows, black round whole pixels, show
# the picture.
win_x=$X win_y=$Y
for _ in $(seq 60); do
  snap
  [ "$(count 80 0 1120 200 000000)" -lt $((1120 * 200)) ] && break
  sleep 0.25
done
[ "$(count 80 0 1120 200 000000)" -lt $((1120 * 200)) ] || fail "the sharp fit does not fill the screen's height"
xdotool key F10
await_line "whole pixels written to kelto1.ini" "$prefs" '^scaling = whole'
win_x=$(( X + (screen_w - 630) / 2 )) win_y=$(( Y + (screen_h - 576) / 2 ))
await "the title banner in the centre of the full screen" 248 192 241 16 FFFFC0
[ "$(count -300 -200 290 150 FFFFC0)" -eq 0 ] || fail "the full screen is not black around the picture"
xdotool key F11
for _ in $(seq 100); do
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -lt "$screen_w" ] && break
  sleep 0.1
done
[ "$WIDTH" -lt "$screen_w" ] || fail "F11 did not give the window back"
xdotool key Escape
wait_for_end "Escape at the second start"
grep -q '^full_screen = no' "$prefs" || fail "the window given back is not remembered"
grep -q '^vehicle = MotorBike$' "$prefs" || fail "the vehicle offered at the second start was not kept"
[ "$(grep -c . "$prefs")" -gt 10 ] || fail "kelto1.ini holds too little"

# ---- portable.txt beside the program keeps the files there ---------------------------
# A kelto1.ini edited by hand, wrongly: one line says so, and the file is left as it is.
# A comment after a value, as README's example has them, is no fault.
sed -i 's/^mute = no$/mute = no         ; M switches it/' "$prefs"
grep -q '; M switches it' "$prefs" || fail "kelto1.ini has no line mute = no"
printf 'this is not a setting\n[extra]\nspeed = 3\n' >>"$prefs"
cp "$prefs" "$work/damaged.ini"
touch "$program/portable.txt"
start_game
await "the title screen with portable.txt" 248 192 241 16 FFFFC0
xdotool key Escape
wait_for_end "Escape with portable.txt"
[ "$(grep -c 'kelto1.ini: line 27 is not "name = value" nor a \[section\]; unknown setting \[extra\] speed (the' "$work/game.log")" = 1 ] ||
  fail "the damaged kelto1.ini is not told in one line"
cmp -s "$prefs" "$work/damaged.ini" || fail "the damaged kelto1.ini was written over"
[ -f "$program/car.dat" ] || fail "car.dat was not kept beside the program with portable.txt"
echo "windows: the window, a race paused and resumed, car.dat and kelto1.ini under %APPDATA%\\Kelto1 saved and read back, F12, F10, F11, F3 and G, portable.txt: passed"
