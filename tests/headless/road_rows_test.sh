#!/usr/bin/env bash
# kelto1-sim --road-rows, which the road preview draws from: the rows of a plan come out
# in the order the scroller lays them, with the scenery where the game lets it start.
set -euo pipefail
sim=$1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
rows() { printf '%b' "$1" | "$sim" --road-rows; }
row() { sed -n "$(($2 + 1))p" <<<"$1"; }   # row N of the output, 0 = the first laid
cols() { cut -d' ' -f"$2" <<<"$1"; }        # some columns of a row

# Section 2 is patterns 9, 15, 14; 9 and 14 differ between their rows: lower row first.
out=$(rows 'section 2\n')
[ "$(wc -l <<<"$out")" = 6 ] || fail "section 2 lays 3 patterns of 2 rows, got $(wc -l <<<"$out") rows"
[ "$(row "$out" 0)" = "14 15 1 1 1 1 1 1 1 1 1 53 54 55 1 1" ] || fail "pattern 9's lower row first: $(row "$out" 0)"
[ "$(row "$out" 1)" = "6 7 1 1 1 1 1 1 1 1 1 45 46 47 1 1" ] || fail "then pattern 9's upper row: $(row "$out" 1)"
[ "$(row "$out" 4)" = "22 23 1 1 1 1 1 1 1 1 1 61 62 63 40 40" ] || fail "pattern 14's lower row: $(row "$out" 4)"
# A section gives at most 15 patterns (section 4 lists 16), each section line as often as asked.
[ "$(rows 'section 4\n' | wc -l)" = 30 ] || fail "section 4 is cut to 15 patterns"
[ "$(rows 'section 1 3\nsection 2\n' | wc -l)" = 24 ] || fail "section 1 three times and section 2 make 24 rows"

# A building needs the wide side strip (column 2 is 14): none on section 1, so the one
# asked for at row 0 starts on the first row of section 12 (row 6), front row first.
out=$(rows 'section 1\nsection 12\nbuilding 0 2\n')
[ "$(cols "$(row "$out" 5)" 1-3)" = "14 15 1" ] || fail "no building on section 1: $(row "$out" 5)"
[ "$(cols "$(row "$out" 6)" 1-4)" = "120 121 122 14" ] || fail "building 2's front row on row 6: $(row "$out" 6)"
[ "$(cols "$(row "$out" 8)" 1-4)" = "104 105 106 14" ] || fail "building 2's back row on row 8: $(row "$out" 8)"
[ "$(cols "$(row "$out" 9)" 1-3)" = "14 14 14" ] || fail "a building is three rows tall: $(row "$out" 9)"

# A decoration covers the pavement with its 2 x 2 block (water: 64, the lower half 8 tiles
# on), starting from the phase asked for, flipped before each row; it waits until the
# scenery before it has ended.
out=$(rows 'section 12 2\nbuilding 0 1\ndecoration 1 5 2 1\n')
[ "$(cols "$(row "$out" 2)" 1-4)" = "80 81 82 14" ] || fail "building 1's last row: $(row "$out" 2)"
[ "$(cols "$(row "$out" 3)" 1-5)" = "14 14 14 14 15" ] || fail "the decoration waits a row for the building to end: $(row "$out" 3)"
[ "$(cols "$(row "$out" 4)" 1-5)" = "64 65 64 65 15" ] || fail "the decoration's first row, phase 0: $(row "$out" 4)"
[ "$(cols "$(row "$out" 5)" 1-5)" = "72 73 72 73 15" ] || fail "the decoration's second row, phase 1: $(row "$out" 5)"
[ "$(cols "$(row "$out" 6)" 1-4)" = "14 14 14 14" ] || fail "the decoration lasts two rows: $(row "$out" 6)"

# Bushes only when asked, and only on the central reserve's interior (54).
plain=$(rows 'section 1 10\n')
bushy=$(rows 'section 1 10\nbushes\n')
grep -qw 44 <<<"$plain" && fail "bushes without being asked"
grep -qw 44 <<<"$bushy" || fail "no bush in 60 rows of central reserve"
[ "$(sed 's/\b44\b/54/g' <<<"$bushy")" = "$plain" ] || fail "bushes changed more than the reserve's 54s"

# A plan that cannot be laid gets exit code 2 and one line naming it.
for plan in 'section 0' 'section 27' 'section 1 0' 'decoration 0 2 5' 'building 0 3' 'bushes 3' 'lay 1' '# only a comment' 'section 1\nsection x'; do
  set +e
  err=$(printf '%b\n' "$plan" | "$sim" --road-rows 2>&1 >/dev/null)
  code=$?
  set -e
  [ "$code" = 2 ] || fail "plan '$plan' exited $code, not 2"
  [ "$(wc -l <<<"$err")" = 1 ] && [ -n "$err" ] || fail "plan '$plan' should give one line, gave: $err"
done
[ $failed = 0 ] && echo "road rows: all checks passed"
exit $failed
