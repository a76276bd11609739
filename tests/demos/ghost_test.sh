#!/usr/bin/env bash
# Every golden race driven again with the ghost of another golden race beside it ends with
# the golden state hash (the ghost never touches the race) and another view hash (it is
# drawn into the views). A file that is no replay is refused as a ghost with one line.
set -euo pipefail
sim=$1
dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
val() { grep "^$1=" <<<"$2" | tail -n 1 | cut -d= -f2-; }
passed=0
failed=0
demos=("$dir"/*.demo)
for demo in "${demos[@]}"; do
  name=$(basename "$demo" .demo)
  "$sim" --car "$(sed -n 's/^# car: //p' "$demo")" --frames "$(sed -n 's/^# frames: //p' "$demo")" \
    --demo "$demo" --record "$work/$name.k1r" >/dev/null
done
for i in "${!demos[@]}"; do
  demo=${demos[$i]}
  name=$(basename "$demo" .demo)
  other=$(basename "${demos[$(((i + 1) % ${#demos[@]}))]}" .demo)
  expected=$(cat "$dir/$name.expected")
  ghosted=$("$sim" --car "$(sed -n 's/^# car: //p' "$demo")" --frames "$(sed -n 's/^# frames: //p' "$demo")" \
    --demo "$demo" --view-hash --ghost "$work/$other.k1r")
  problems=""
  [ "$(val state_hash "$ghosted")" = "$(val state_hash "$expected")" ] ||
    problems+=" state_hash $(val state_hash "$ghosted") (golden $(val state_hash "$expected"))"
  [ "$(val view_hash "$ghosted")" != "$(val view_hash "$expected")" ] || problems+=" the ghost was not drawn"
  if [ -z "$problems" ]; then
    passed=$((passed + 1))
  else
    echo "$name with the ghost of $other:$problems"
    failed=$((failed + 1))
  fi
done

printf 'not a replay' >"$work/junk.k1r"
set +e
out=$("$sim" --frames 10 --ghost "$work/junk.k1r" 2>&1)
code=$?
set -e
if [ "$code" -eq 2 ] && [ "$(wc -l <<<"$out")" -eq 1 ]; then
  passed=$((passed + 1))
else
  echo "a junk ghost gave exit $code and: $out"
  failed=$((failed + 1))
fi
echo "ghost races: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
