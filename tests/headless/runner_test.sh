#!/usr/bin/env bash
# The runner as a person uses it: its printed values for short and whole races.
set -euo pipefail
sim=$1
fail() { echo "FAIL: $*"; exit 1; }
val() { grep "^$1=" <<<"$2" | tail -n 1 | cut -d= -f2-; }

out=$("$sim" --frames 1)
[ "$(val mtime "$out")" = 200 ] || fail "mtime after 1 frame"
[ "$(val rank "$out")" = 30 ] || fail "rank after 1 frame"
[ "$(val hitp "$out")" = 800 ] || fail "hitp after 1 frame"
[ "$(val city "$out")" = "新宿" ] || fail "city after 1 frame"
[ "$(val mtime "$("$sim" --frames 99)")" = 200 ] || fail "mtime after 99 frames"
[ "$(val mtime "$("$sim" --frames 100)")" = 199 ] || fail "mtime after 100 frames"

# With no input the clock decides the race (traffic may nudge the car along or bring a
# TIME item by, so the exact frame is the race loop tests' business).
out=$("$sim")
[ "$(val frames "$out")" -ge 21000 ] || fail "an idle race ends 1000 frames after frame 20000 at the earliest"
[ "$(val race_over "$out")" = 1 ] || fail "race_over"
[ "$(val end_frames "$out")" = 1000 ] || fail "end_frames"
[ "$(val mtime "$out")" = 0 ] || fail "mtime at the end of an idle race"

demo=$(mktemp)
trap 'rm -f "$demo"' EXIT
printf '300 ALT\n50 ALT+LEFT\n100 CTRL\n80 RIGHT\n' > "$demo"
a=$(val state_hash "$("$sim" --demo "$demo" --frames 600)")
b=$(val state_hash "$("$sim" --demo "$demo" --frames 600)")
[ -n "$a" ] && [ "$a" = "$b" ] || fail "the same demo gave different hashes: $a $b"
echo "runner: all checks passed"
