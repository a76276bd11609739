#!/usr/bin/env bash
# A race driven in the real window under Xvfb: Ctrl starts it, Alt held scrolls the road
# (successive views differ), Left and Right steer the car across, Escape saves and ends.
# Sound goes to SDL's disk audio driver: the tune must be heard once the banner is gone.
# The program folder's name holds blanks and double quotes, which the tune's path must
# get through. Every step is timed from what the test sees on the screen, not from the
# start, so that a slow start on a busy machine changes nothing.
# Usage: drive_test.sh path/to/kelto1   (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
screen_w=1280 screen_h=1024
program_name='the "best" game'

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

export KELTO1_AUDIO_DRIVER=disk
export SDL_DISKAUDIOFILE="$work/sound.raw"
start_game
await "title banner" 248 192 241 16 FFFFC0

view() {  # crops the race view of the latest screenshot into $1
  convert "$shot" -crop "512x576+$((win_x + 118))+$((win_y))" +repage "$1"
}
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }
# The x of the player's car: the middle of the racing car's red body on its row.
car_x() {
  convert "$shot" -crop "512x1+$((win_x + 118))+$((win_y + 470))" +repage txt:- \
    | awk -F'[,:( ]+' '/#[C-F][0-9A-F][0-6][0-9A-F][0-4][0-9A-F]/ { s += $1; n++ } END { if (n) print int(s / n); else print -1 }'
}

xdotool key ctrl
await "the delay box hidden once a race starts" 0 360 57 18 C0FFFF none
# The banner lasts two seconds; then the road is drawn and the tune starts. Whatever the
# recording holds by now was mixed before this moment; all that comes after it was
# mixed after the tune started.
await "the GET READY banner gone" 248 192 241 16 FFFFC0 none
tune_from=$(stat -c %s "$work/sound.raw")
xdotool keydown alt
sleep 1.5
snap; view "$work/v1.png"
sleep 1.5
snap; view "$work/v2.png"
differs "$work/v1.png" "$work/v2.png" || fail "the road did not scroll while Alt was held"
x0=$(car_x)
xdotool keydown Left; sleep 0.6; xdotool keyup Left
snap; x1=$(car_x)
xdotool keydown Right; sleep 1.2; xdotool keyup Right
snap; x2=$(car_x)
xdotool keyup alt
[ "$x0" -ge 0 ] && [ "$x1" -ge 0 ] && [ "$x2" -ge 0 ] || fail "the car was not found in the view ($x0 $x1 $x2)"
[ "$x1" -lt "$x0" ] || fail "Left did not steer left: $x0 -> $x1"
[ "$x2" -gt "$x1" ] || fail "Right did not steer right: $x1 -> $x2"

xdotool key Escape
wait_for_end "Escape"
[ "$(stat -c %s "$program/car.dat")" -ge 10 ] || fail "Escape did not save car.dat"

# 44.1 kHz stereo 16-bit: two seconds of the recording from the banner's end on must
# not be silence.
[ -s "$work/sound.raw" ] || fail "no sound was recorded"
bytes_per_second=$((44100 * 4))
recorded=$(stat -c %s "$work/sound.raw")
[ "$recorded" -ge $((tune_from + 2 * bytes_per_second)) ] \
  || fail "the recording ends $(((recorded - tune_from) * 1000 / bytes_per_second)) ms after the banner"
start=$(awk -v b="$tune_from" -v r="$bytes_per_second" 'BEGIN { printf "%.3f", b / r }')
level=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/sound.raw" -n trim "$start" 2 stat 2>&1 | awk '/RMS     amplitude/ { print $3 }')
awk -v l="${level:-0}" 'BEGIN { exit !(l > 0.003) }' || fail "the tune was not heard after the banner (RMS $level from $start s)"
grep -q "cannot" "$work/game.log" && fail "the game could not play something"
echo "drive: road scrolled, car steered $x0 -> $x1 -> $x2, tune RMS $level from $start s of the recording"
