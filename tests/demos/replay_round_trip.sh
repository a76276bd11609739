#!/usr/bin/env bash
# Every golden race, recorded as a replay and played back from it, ends with the golden
# race's state hash and view hash, and the playback says replay=ok. Also prints the size
# of the replay of a whole race of about two minutes.
set -euo pipefail
sim=$1
dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
val() { grep "^$1=" <<<"$2" | tail -n 1 | cut -d= -f2-; }
passed=0
failed=0
for demo in "$dir"/*.demo; do
  name=$(basename "$demo" .demo)
  car=$(sed -n 's/^# car: //p' "$demo")
  frames=$(sed -n 's/^# frames: //p' "$demo")
  expected=$(cat "$dir/$name.expected")
  "$sim" --car "$car" --frames "$frames" --demo "$demo" --record "$work/$name.k1r" >/dev/null
  played=$("$sim" --replay "$work/$name.k1r") || true
  problems=""
  [ "$(val replay "$played")" = ok ] || problems+=" replay=$(val replay "$played")"
  for key in state_hash view_hash frames rank mtime hitp; do
    [ "$(val "$key" "$played")" = "$(val "$key" "$expected")" ] ||
      problems+=" $key: $(val "$key" "$played") (golden $(val "$key" "$expected"))"
  done
  if [ -z "$problems" ]; then
    passed=$((passed + 1))
  else
    echo "replay of $name:$problems"
    failed=$((failed + 1))
  fi
done

# A whole race of 7200 frames, two minutes at 60 frames a second, with steering and
# pedals changing every second or so.
{
  for i in $(seq 1 30); do
    echo "50 ALT"; echo "10 ALT+LEFT"; echo "40 ALT"; echo "12 ALT+RIGHT"; echo "8 CTRL"; echo "120 ALT"
  done
} >"$work/two_minutes.demo"
"$sim" --car RacingCar --frames 7200 --demo "$work/two_minutes.demo" --record "$work/two_minutes.k1r" >/dev/null
size=$(stat -c %s "$work/two_minutes.k1r")
echo "last.k1r after a 7200-frame race: $size bytes"
[ "$size" -le 8192 ] || { echo "a two-minute replay should take a few kilobytes, not $size bytes"; failed=$((failed + 1)); }
[ "$(val replay "$("$sim" --replay "$work/two_minutes.k1r")")" = ok ] || { echo "the two-minute replay diverged"; failed=$((failed + 1)); }

echo "replay round trips: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
