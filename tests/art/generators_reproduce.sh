#!/usr/bin/env bash
# Every generator in tools/ rebuilds exactly the committed artwork and sound: each runs
# into a fresh folder and every file it writes must equal, byte for byte, the one in
# assets/ or data/. Every file of assets/ and data/ must come from a generator.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
python=${PYTHON:-python3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# generator: how it is told where to write, and which committed folder it makes
declare -A made_into=(
  [gen_road_tiles.py]=assets [gen_sprites.py]=assets [gen_title.py]=assets
  [gen_sounds.py]=data [gen_music.py]=data
)
run() {
  local gen=$1 dir=$2
  case "$gen" in
    gen_road_tiles.py) "$python" "$root/tools/$gen" "$dir/road_tiles.png" ;;
    gen_sprites.py | gen_title.py) "$python" "$root/tools/$gen" --out "$dir" ;;
    gen_sounds.py) "$python" "$root/tools/$gen" "$dir" ;;
    gen_music.py) "$python" "$root/tools/$gen" "$dir/bgm.mid" ;;
  esac
}

failed=0
for path in "$root"/tools/gen_*.py; do
  gen=$(basename "$path")
  if [ -z "${made_into[$gen]:-}" ]; then
    echo "FAIL: $gen is not covered by this test (add how it is run)"
    failed=1
    continue
  fi
  mkdir -p "$out/$gen"
  if ! run "$gen" "$out/$gen" > "$out/$gen.log" 2>&1; then
    echo "FAIL: $gen did not run:"; cat "$out/$gen.log"
    failed=1
    continue
  fi
  made=0
  for f in "$out/$gen"/*; do
    [ -e "$f" ] || continue
    name=$(basename "$f")
    committed="$root/${made_into[$gen]}/$name"
    made=$((made + 1))
    if [ ! -e "$committed" ]; then
      echo "FAIL: $gen writes $name, which is not in ${made_into[$gen]}/"
      failed=1
    elif ! cmp -s "$f" "$committed"; then
      echo "FAIL: $gen makes a different ${made_into[$gen]}/$name (rerun it and commit the result)"
      failed=1
    fi
    touch "$out/made_${made_into[$gen]}_$name"
  done
  if [ "$made" -eq 0 ]; then
    echo "FAIL: $gen wrote nothing into the folder it was given"
    failed=1
  else
    echo "$gen: $made files compared"
  fi
done

for dir in assets data; do
  for f in "$root/$dir"/*; do
    name=$(basename "$f")
    if [ ! -e "$out/made_${dir}_$name" ]; then
      echo "FAIL: $dir/$name is made by no generator"
      failed=1
    fi
  done
done
[ "$failed" -eq 0 ] && echo "generators: every file of assets/ and data/ reproduced"
exit "$failed"
