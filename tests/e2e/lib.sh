# Shared by the end-to-end tests: the game copied into a program folder, a private Xvfb,
# starting and awaiting the game, and reading screenshots. Sourced with the game path in $game.
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid='' game_pid='' wm_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# The player's preferences and data folders of the test's own, never the account's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
fail() {
  echo "FAIL: $*"
  [ -f "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"
  exit 1
}

# A copy of the program folder: the game and the sound files beside it. A test may name
# the folder (program_name) to try awkward names.
program="$work/${program_name:-program}"
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

start_game() {  # [arguments for the game]
  (cd "$program" && KELTO1_TIMINGS=1 SDL_AUDIODRIVER=${KELTO1_AUDIO_DRIVER:-dummy} exec ./kelto1 "$@" >"$work/game.log" 2>&1) &
  game_pid=$!
  window=''
  # Only the shown window: SDL may replace the hidden one it made first when it sets up
  # its renderer, and a search that early can find the one about to go.
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^KELTO1$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window KELTO1 appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y
}

# A window manager, for a test that needs full screen: Xvfb alone has none to carry out
# the window's request. Openbox, with no key or mouse bindings of its own, so that every
# key reaches the game.
start_window_manager() {
  command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
  cat >"$work/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><keyboard></keyboard><mouse></mouse></openbox_config>
XML
  openbox --config-file "$work/openbox.xml" >"$work/wm.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && return 0; sleep 0.1; done
  fail "the window manager did not start"
}

# Milliseconds on the wall clock.
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# The settings file's bytes in hex, blank between them.
settings_bytes() { od -An -tx1 "$program/car.dat" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# Waits (polling every 10 ms, at most 10 s) for the game to end; prints the
# milliseconds since the wall-clock time $1.
ms_to_end_since() {
  for _ in $(seq 1000); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.01
  done
  echo $(( $(now_ms) - $1 ))
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
# A rectangle of the window in the latest screenshot, saved to a file.
crop() {  # file x y w h
  convert "$shot" -crop "$4x$5+$((win_x + $2))+$((win_y + $3))" +repage "$1"
}
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }
# Takes screenshots until the rectangle differs from the picture in $2 and holds still
# over two screenshots.
await_change() {  # what before.png x y w h
  local what=$1 before=$2 last="$work/await_last.png" now="$work/await_now.png"
  shift 2
  rm -f "$last"
  for _ in $(seq 40); do
    snap
    crop "$now" "$@"
    if ! same_picture "$now" "$before" && [ -f "$last" ] && same_picture "$now" "$last"; then return 0; fi
    cp "$now" "$last"
    sleep 0.25
  done
  fail "$what"
}

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

