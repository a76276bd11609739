#!/usr/bin/env bash
# The random-input soak drives the same races on every edition: for each seed, the runner
# given (the native one, or a wrapper around another edition's) ends with the recorded
# state hash. The key spans are drawn by the runner's own arithmetic, not a C++ library's
# distribution, so a library that draws differently cannot part the races.
# Usage: random_input_test.sh SIM [--update]
set -euo pipefail
sim=$1
dir=$(cd "$(dirname "$0")" && pwd)
expected_file=$dir/random_input.expected
update=${2:-}
frames=10000
actual=""
for seed in 1 11 23; do
  hash=$("$sim" --random-input "$seed" --frames "$frames" | tr -d '\r' | sed -n 's/^state_hash=//p')
  actual+="seed $seed frames $frames state_hash $hash"$'\n'
done
if [ "$update" = "--update" ]; then
  printf '%s' "$actual" >"$expected_file"
  echo "recorded $expected_file"
  exit 0
fi
if diff <(printf '%s' "$actual") "$expected_file" >/dev/null; then
  echo "random-input soak: $(wc -l <"$expected_file") seeds end as recorded"
else
  echo "random-input soak parted from the recorded races:"
  diff <(printf '%s' "$actual") "$expected_file" || true
  exit 1
fi
