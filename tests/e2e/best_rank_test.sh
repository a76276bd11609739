#!/usr/bin/env bash
# A new player's first race, run to its end in the real window under Xvfb: the rank it
# finished on becomes the best rank, shown in its box and kept in car.dat at Escape. The
# race enters the records table with its replay: kelto1 --records lists it, F3 shows it
# over the view, and in the next race its ghost drives beside the player.
# Usage: best_rank_test.sh path/to/kelto1   (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
screen_w=1280 screen_h=1024

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

start_game
await "title banner" 248 192 241 16 FFFFC0
[ -f "$program/car.dat" ] || fail "car.dat was not created at start-up"
[ "$(od -An -tx1 "$program/car.dat" | tr -d ' \n')" = "" ] || fail "a first run starts without settings"

# The motorbike, from the selector's list (a click on its button, then on the third
# item), so that flat out through the traffic the race ends with a wreck in minutes
# rather than with the clock.
xdotool mousemove $((win_x + 80)) $((win_y + 210)) click 1
sleep 0.5
xdotool mousemove $((win_x + 40)) $((win_y + 254)) click 1
sleep 0.5
xdotool key ctrl
await "the delay box hidden once the race starts" 0 360 57 18 C0FFFF none
started=$(date +%s)
# Flat out, weaving, until game over shows the delay box again; the clock would end the
# race too, only later. Alt is let go at once: the title follows 1000 frames on.
xdotool keydown alt
for i in $(seq 3000); do
  snap
  [ "$(count 0 360 57 18 C0FFFF)" -gt 0 ] && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended during the race"
  if [ $((i % 6)) -eq 0 ]; then xdotool keydown Left; sleep 0.3; xdotool keyup Left; fi
  if [ $((i % 6)) -eq 3 ]; then xdotool keydown Right; sleep 0.3; xdotool keyup Right; fi
  sleep 0.5
done
xdotool keyup alt
[ "$(count 0 360 57 18 C0FFFF)" -gt 0 ] || fail "no game over within $(( $(date +%s) - started )) s"
echo "best_rank: the race took $(( $(date +%s) - started )) s"
await "the title after the race" 248 192 241 16 FFFFC0

xdotool key Escape
wait_for_end "Escape"
bytes=$(od -An -tu4 -N8 "$program/car.dat" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
delay=${bytes%% *} best=${bytes##* }
[ "$delay" = 0 ] || fail "car.dat holds a delay of $delay, not 0"
[ "$best" -ge 1 ] && [ "$best" -le 30 ] || fail "the first race's rank was not recorded: car.dat holds best rank $best"

# The race is in the records table, with its replay beside it.
listing=$("$program/kelto1" --records) || fail "kelto1 --records failed"
echo "$listing" | grep -q "kept in $program/records.txt" || fail "--records does not say where the table is: $listing"
line=$(echo "$listing" | grep -E '^ 1  ') || fail "--records lists no race: $listing"
replay=$(echo "$line" | grep -o 'records/[0-9_-]*\.k1r') || fail "the race has no replay: $line"
[ -s "$program/$replay" ] || fail "$replay is not there"
echo "$line" | awk -v best="$best" '$4 != best { exit 1 }' || fail "the table's rank is not the race's ($best): $line"
echo "$line" | grep -q "MotorBike" || fail "the table does not name the motorbike: $line"

# The next start shows that rank as the best.
start_game
await "the recorded best rank shown in white" 0 16 57 18 FFFFFF
# F3: the table over the view, the race picked in light cyan; Escape gives the title back
# and does not end the game.
xdotool key F3
await "the records table over the view" 130 60 480 20 C0FFFF
xdotool key Escape
await "the title after the table" 248 192 241 16 FFFFC0
kill -0 "$game_pid" 2>/dev/null || fail "Escape in the records table ended the game"
# The second race has the first one's ghost: its pale outline over the road, where the
# first race was at the same frame (beside the player at the start).
xdotool key ctrl
await "the delay box hidden once the race starts" 0 360 57 18 C0FFFF none
await "the ghost's outline on the view" 118 0 512 576 A0F0FF
xdotool key g
await "no ghost once G hides it" 118 0 512 576 A0F0FF none
grep -q "^ghost = no" "$XDG_CONFIG_HOME/kelto1/kelto1.ini" || fail "hiding the ghost is not remembered"
xdotool key Escape
wait_for_end "Escape after the second start"
again=$(od -An -tu4 -j4 -N4 "$program/car.dat" | tr -d ' \n')
[ "$again" = "$best" ] || fail "the best rank changed from $best to $again without a finished race"

echo "best_rank: all checks passed (best rank $best)"
