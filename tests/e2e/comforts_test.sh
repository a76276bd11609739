#!/usr/bin/env bash
# The comforts in the real window under Xvfb: F12 saves the window's picture as a PNG in
# the pictures folder; a vehicle typed into the selector is chosen again at the next
# start; a letter bound for steering types nothing into the selector; P freezes a race
# (the window's pixels stay still, "PAUSED" over the view) and P goes on with it; the
# window losing the keyboard pauses the race too; M mutes (SDL's disk audio driver records
# silence from then on) and is remembered. Every step waits for what it sees.
# Usage: comforts_test.sh path/to/kelto1   (exits 77 when Xvfb or xdotool is missing)
set -euo pipefail
game=$1
screen_w=1280 screen_h=1024

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
for tool in xdg-user-dir xwininfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefs="$XDG_CONFIG_HOME/kelto1/kelto1.ini"
mkdir -p "$XDG_CONFIG_HOME" "$work/pictures"
echo "XDG_PICTURES_DIR=\"$work/pictures\"" >"$XDG_CONFIG_HOME/user-dirs.dirs"
# The player steers left with A as well as with the arrow.
mkdir -p "$XDG_CONFIG_HOME/kelto1"
printf '[keys]\nsteer_left = Left A\n' >"$prefs"

export KELTO1_AUDIO_DRIVER=disk
export SDL_DISKAUDIOFILE="$work/sound.raw"
bytes_per_second=$((44100 * 4))
# The RMS level of the recording from byte $1 on, for $2 seconds.
level_from() {
  local start
  start=$(awk -v b="$1" -v r="$bytes_per_second" 'BEGIN { printf "%.3f", b / r }')
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/sound.raw" -n trim "$start" "$2" stat 2>&1 | awk '/RMS     amplitude/ { print $3 }'
}
# Waits until the recording holds $1 bytes.
await_recorded() {
  for _ in $(seq 100); do [ "$(stat -c %s "$work/sound.raw")" -ge "$1" ] && return 0; sleep 0.1; done
  fail "the sound recording stopped growing"
}
window_picture() { snap; crop "$1" 0 0 630 576; }

start_game
await "title banner" 248 192 241 16 FFFFC0

# ---- F12: the window's picture, at its own size, in the pictures folder.
window_picture "$work/title.png"
xdotool key F12
for _ in $(seq 100); do ls "$work/pictures/kelto1/"*.png >/dev/null 2>&1 && break; sleep 0.1; done
png=$(ls "$work/pictures/kelto1/"*.png 2>/dev/null | head -n 1)
[ -n "$png" ] || fail "F12 saved no PNG in the pictures folder"
grep -q "screenshot saved to $png" "$work/game.log" || fail "no line told where the screenshot went"
[ "$(identify -format '%w %h' "$png")" = "630 576" ] || fail "the screenshot is not 630 x 576"
same_picture "$png" "$work/title.png" || fail "the screenshot differs from the window"

# ---- A vehicle typed into the selector, remembered.
crop "$work/selector_before.png" 8 200 81 20
xdotool mousemove $((win_x + 30)) $((win_y + 210)) click 1
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type MotorBike
for _ in $(seq 100); do grep -qx 'vehicle = MotorBike' "$prefs" 2>/dev/null && break; sleep 0.1; done
grep -qx 'vehicle = MotorBike' "$prefs" 2>/dev/null || fail "the vehicle typed was not remembered"

# ---- A, bound for steering, types nothing into the selector. F12 after it: once its
# picture is saved, A has been handled.
snap; crop "$work/typed.png" 8 200 81 20
xdotool key a F12
for _ in $(seq 100); do [ "$(ls "$work/pictures/kelto1/"*.png 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.1; done
png2=$(ls -t "$work/pictures/kelto1/"*.png 2>/dev/null | head -n 1)
[ "$png2" != "$png" ] || fail "F12 after A saved no second PNG"
convert "$png2" -crop 81x20+8+200 +repage "$work/after_a.png"
same_picture "$work/typed.png" "$work/after_a.png" || fail "A, a steering key, typed into the selector"
grep -q '^steer_left = Left A$' "$prefs" || fail "the binding of A was lost from the preferences"

# ---- A race: P freezes it, P goes on; M silences it.
xdotool key ctrl
await "the delay box hidden once a race starts" 0 360 57 18 C0FFFF none
await "the GET READY banner gone" 248 192 241 16 FFFFC0 none
tune_from=$(stat -c %s "$work/sound.raw")
xdotool keydown alt
await_recorded $((tune_from + bytes_per_second))
heard=$(level_from "$tune_from" 1)
awk -v l="${heard:-0}" 'BEGIN { exit !(l > 0.003) }' || fail "no sound before the mute (RMS $heard)"

xdotool key p
await "PAUSED over the view" 248 280 241 16 FFFFC0
window_picture "$work/paused1.png"
sleep 2
window_picture "$work/paused2.png"
same_picture "$work/paused1.png" "$work/paused2.png" || fail "the window changed while paused"
xdotool key p
await "PAUSED gone after P" 248 280 241 16 FFFFC0 none
crop "$work/going1.png" 118 0 512 576
moved=''
for _ in $(seq 40); do
  sleep 0.25
  snap; crop "$work/going2.png" 118 0 512 576
  same_picture "$work/going1.png" "$work/going2.png" || { moved=yes; break; }
done
[ -n "$moved" ] || fail "the race did not go on after the pause"

# The keyboard goes to another window (here the screen's root): the race pauses itself,
# and stays paused when the keyboard comes back, until P.
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
xdotool keyup alt
xdotool windowfocus "$root"
await "PAUSED when the window lost the keyboard" 248 280 241 16 FFFFC0
xdotool windowfocus --sync "$window"
window_picture "$work/away1.png"
sleep 1
window_picture "$work/away2.png"
same_picture "$work/away1.png" "$work/away2.png" || fail "the window changed while paused by losing the keyboard"
xdotool keydown alt
xdotool key p
await "PAUSED gone after P, back from another window" 248 280 241 16 FFFFC0 none

xdotool key m
for _ in $(seq 100); do grep -qx 'mute = yes' "$prefs" && break; sleep 0.1; done
grep -qx 'mute = yes' "$prefs" || fail "the mute was not remembered"
# What the mixer had queued may still come out; a quarter of a second on, nothing.
muted_from=$(( $(stat -c %s "$work/sound.raw") + bytes_per_second / 4 ))
await_recorded $((muted_from + 2 * bytes_per_second))
silence=$(level_from "$muted_from" 2)
awk -v l="${silence:-1}" 'BEGIN { exit !(l == 0) }' || fail "sound after M (RMS $silence)"
xdotool keyup alt
xdotool key Escape
wait_for_end "Escape"

# ---- The next start: the vehicle chosen before, still muted.
start_game
await "title banner at the next start" 248 192 241 16 FFFFC0
snap; crop "$work/selector_after.png" 8 200 81 20
same_picture "$work/selector_before.png" "$work/selector_after.png" && fail "the selector shows the game's first vehicle again"
grep -q "kelto1: sound" "$work/game.log" && fail "the mute was told again without M"
xdotool key Escape
wait_for_end "Escape after the next start"
grep -qx 'vehicle = MotorBike' "$prefs" || fail "the next start changed the vehicle remembered"
echo "comforts: screenshot $png, vehicle remembered, A typed nothing, pause froze the window, losing the keyboard paused, mute silent (RMS $heard -> $silence): all checks passed"
