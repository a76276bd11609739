#!/usr/bin/env bash
# Replays in the real window under Xvfb. A race is driven with xdotool on the motorbike
# until it is wrecked and the title screen is back; F2 then plays it again from last.k1r:
# "REPLAY" shows in red, the road scrolls, Space pauses it ("PAUSED" over the view),
# Right plays it at four times the speed, and at its end the game says it played as
# recorded, in one line and on the title screen: every readout and the whole race state
# were checked every 100 frames against the race itself. kelto1-sim plays the same
# file to the same end. The replay leaves car.dat byte for byte as it was. A damaged
# last.k1r gives its line on the title screen, and kelto1 --replay with a damaged file
# exits 2 with one line.
# Usage: replay_test.sh path/to/kelto1 path/to/kelto1-sim   (77 when Xvfb is missing)
set -euo pipefail
game=$1
sim=$2
screen_w=1280 screen_h=1024

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

view() { convert "$shot" -crop "512x576+$((win_x + 118))+$((win_y))" +repage "$1"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }
# Waits up to $2 seconds for a colour in a rectangle: what seconds x y w h RRGGBB
await_long() {
  local what=$1 seconds=$2
  shift 2
  for _ in $(seq $((seconds * 2))); do
    snap
    [ "$(count "$@")" -gt 0 ] && return 0
    sleep 0.5
  done
  fail "$what"
}

start_game
await "title banner" 248 192 241 16 FFFFC0

# The motorbike, from the selector's list (a click on its button, then on the third item).
xdotool mousemove $((win_x + 80)) $((win_y + 210)) click 1
sleep 0.5
snap
xdotool mousemove $((win_x + 40)) $((win_y + 254)) click 1
sleep 0.5

xdotool key ctrl
await "the race started" 248 192 241 16 FFFFC0 none
# Flat out, weaving, until the bike is wrecked: GAME OVER in red.
xdotool keydown alt
for i in $(seq 1 300); do  # until the wreck; a loaded machine runs the race slower
  snap
  [ "$(count 248 192 241 16 FF0000)" -gt 0 ] && break
  if [ $((i % 6)) -eq 0 ]; then xdotool keydown Left; sleep 0.3; xdotool keyup Left; fi
  if [ $((i % 6)) -eq 3 ]; then xdotool keydown Right; sleep 0.3; xdotool keyup Right; fi
  sleep 0.7
done
xdotool keyup alt
await_long "GAME OVER after the bike was wrecked" 30 248 192 241 16 FF0000
await_long "the title screen after the race" 60 248 192 241 16 FFFFC0
[ -s "$program/last.k1r" ] || fail "no last.k1r after the race"
size=$(stat -c %s "$program/last.k1r")
cp "$program/car.dat" "$work/car.before"
race=$("$sim" --replay "$program/last.k1r") || fail "kelto1-sim could not play last.k1r: $race"
frames=$(grep '^frames=' <<<"$race" | cut -d= -f2)
grep -q '^replay=ok' <<<"$race" || fail "kelto1-sim: $(tail -n 1 <<<"$race")"

# F2: the replay.
xdotool key F2
await "REPLAY in red beside the readouts" 0 424 73 17 FF0000
sleep 3  # the banner's two seconds
snap; view "$work/r1.png"
sleep 1
snap; view "$work/r2.png"
same "$work/r1.png" "$work/r2.png" && fail "the replay's road does not move"
xdotool key space
# Paused once two views a second apart are the same; a loaded machine may take a while
# to get to the key.
paused=0
for _ in $(seq 15); do
  snap; view "$work/p1.png"
  sleep 1
  snap; view "$work/p2.png"
  same "$work/p1.png" "$work/p2.png" && { paused=1; break; }
done
[ "$paused" = 1 ] || fail "Space did not pause the replay"
[ "$(count 248 280 241 16 FFFFC0)" -gt 0 ] || fail "PAUSED is not shown over the paused replay"
xdotool key space
sleep 1
snap; view "$work/p3.png"
same "$work/p2.png" "$work/p3.png" && fail "Space did not resume the replay"
# The rest at four times the speed (Right held). The wait follows the race's length: a
# frame at a fortieth of a second, four at a time, is far more time than any machine
# needs, however slow the race was to drive.
xdotool keydown Right
for _ in $(seq $((frames / 20 + 60))); do
  grep -q 'replay played as recorded\|no longer plays as recorded' "$work/game.log" && break
  sleep 0.5
done
xdotool keyup Right
grep -q "replay played as recorded ($frames frames)" "$work/game.log" ||
  fail "the replay did not play as recorded ($frames frames expected)"
await "the title screen after the replay" 248 192 241 16 FFFFC0
[ "$(count 0 424 73 17 FF0000)" -eq 0 ] || fail "REPLAY still shown on the title screen"
await "how the replay went, on the title screen under its texts" 120 240 497 16 909090
cmp -s "$work/car.before" "$program/car.dat" || fail "the replay changed car.dat"

cp "$program/last.k1r" "$work/good.k1r"

# A damaged last.k1r: its line on the title screen, and the game goes on.
printf 'K1RP\x01\x00' >"$program/last.k1r"
xdotool key F2
sleep 1
grep -q "last.k1r: the file is truncated" "$work/game.log" || fail "no line for a damaged last.k1r"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended on a damaged last.k1r"
xdotool key Escape
wait_for_end "Escape"

# The command line: a replay in its own window, left with Escape.
cp "$program/car.dat" "$work/car.saved"
start_game --replay "$work/good.k1r"
await "REPLAY in red in the window of kelto1 --replay" 0 424 73 17 FF0000
sleep 3
xdotool key Escape
wait_for_end "Escape in kelto1 --replay"
grep -q "^kelto1: replay left at frame [0-9]*$" "$work/game.log" || fail "kelto1 --replay said: $(cat "$work/game.log")"
cmp -s "$work/car.saved" "$program/car.dat" || fail "kelto1 --replay changed car.dat"

# A damaged file is one line and status 2, without a window.
status=0
(cd "$program" && ./kelto1 --replay last.k1r) >"$work/cli.log" 2>&1 || status=$?
[ "$status" -eq 2 ] && [ "$(wc -l <"$work/cli.log")" -eq 1 ] || fail "kelto1 --replay of a damaged file: status $status, $(cat "$work/cli.log")"
echo "replay: a $frames-frame race replayed as recorded in the window, last.k1r $size bytes, car.dat unchanged"
