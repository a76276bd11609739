#!/usr/bin/env bash
# Golden races: every committed demo must end exactly as recorded, and every view painted
# on the way must be the same (view_hash). A change that alters a race or its pictures
# fails here; when the change is meant, rerun with --update and commit the result.
set -euo pipefail
sim=$1
dir=$(cd "$(dirname "$0")" && pwd)
update=${2:-}
passed=0
failed=0
for demo in "$dir"/*.demo; do
  name=$(basename "$demo" .demo)
  car=$(sed -n 's/^# car: //p' "$demo")
  frames=$(sed -n 's/^# frames: //p' "$demo")
  actual=$("$sim" --car "$car" --frames "$frames" --demo "$demo" --view-hash)
  if [ "$update" = "--update" ]; then
    printf '%s\n' "$actual" > "$dir/$name.expected"
    echo "recorded $name"
    continue
  fi
  if diff <(printf '%s\n' "$actual") "$dir/$name.expected" > /dev/null; then
    passed=$((passed + 1))
  else
    echo "golden race $name changed:"
    diff <(printf '%s\n' "$actual") "$dir/$name.expected" || true
    failed=$((failed + 1))
  fi
done
echo "golden races: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
