#!/usr/bin/env bash
# Proof under load, in a build with AddressSanitizer and UndefinedBehaviorSanitizer:
# the unit tests, random-input soaks with every range checked after every frame, and the
# fuzzers (settings, sounds and music, replays, the records table) run from their committed corpora. Any violation, crash, leak or hang fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-sanitize
frames_per_seed=${KELTO1_SOAK_FRAMES:-500000}
seeds=(${KELTO1_SOAK_SEEDS:-1 2 3 4})
fuzz_runs=${KELTO1_FUZZ_RUNS:-20000}
# The replay fuzzer plays every start state and replay it lets in for 150 frames, some
# fifty inputs a second under the sanitizers: fewer runs take about as long.
replay_fuzz_runs=${KELTO1_REPLAY_FUZZ_RUNS:-10000}

CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELTO1_SANITIZE=ON -DKELTO1_FUZZ=ON \
  -DKELTO1_DESKTOP=OFF -DKELTO1_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelto1-sim settings_fuzz sound_music_fuzz replay_fuzz records_fuzz kelto1_tests

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
failed=0
if "$build/tests/kelto1_tests" --gtest_brief=1 >"$log/unit" 2>&1; then
  echo "unit tests under the sanitizers: $(grep -o '[0-9]* tests\? from' "$log/unit" | head -1 | cut -d' ' -f1) passed"
else
  echo "unit tests under the sanitizers failed:"; tail -60 "$log/unit"; failed=1
fi

# Two soaks at a time, one per core.
pids=()
for seed in "${seeds[@]}"; do
  "$build/kelto1-sim" --random-input "$seed" --frames "$frames_per_seed" --check >"$log/soak-$seed" 2>&1 &
  pids+=($!)
  if [ ${#pids[@]} -ge "$(nproc)" ]; then wait "${pids[0]}" || true; pids=("${pids[@]:1}"); fi
done
wait || true
total=0
for seed in "${seeds[@]}"; do
  if grep -q '^result=ok' "$log/soak-$seed"; then
    n=$(grep '^frames_checked=' "$log/soak-$seed" | cut -d= -f2)
    total=$((total + n))
  else
    echo "soak seed $seed failed:"; cat "$log/soak-$seed"; failed=1
  fi
done
echo "soak: $total frames checked over ${#seeds[@]} seeds without a violation"

for target in settings sound_music replay records; do
  corpus="$log/corpus-$target"
  mkdir -p "$corpus"
  cp tests/fuzz/corpus/"$target"/* "$corpus"/
  runs=$fuzz_runs
  [ "$target" = replay ] && runs=$replay_fuzz_runs
  if "$build/tests/fuzz/${target}_fuzz" -runs="$runs" -timeout=30 -rss_limit_mb=2048 \
       -artifact_prefix="$log/" "$corpus" >"$log/fuzz-$target" 2>&1; then
    echo "fuzz $target: $runs executions without a finding"
  else
    echo "fuzz $target found a fault:"; tail -40 "$log/fuzz-$target"; failed=1
  fi
done

[ "$failed" -eq 0 ] && echo "sanitizer tests, soak and fuzz: passed" || echo "sanitizer tests, soak and fuzz: failed"
exit "$failed"
