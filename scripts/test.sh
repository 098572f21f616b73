#!/usr/bin/env bash
# Sets everything up, builds with the sanitizers and runs every test program whole in shuffled
# order, once with the fixed seed 5 and once with a fresh seed, so that tests which leak into each
# other fail too. Every single test is limited to 60 s by the programs themselves
# (CONF_TEST_TIMEOUT); TEST_WHOLE_TIMEOUT (seconds, default 600) limits each whole run; TEST_SEED
# fixes the fresh seed.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/check-fonts.sh
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCONF_SANITIZE=ON -DCONF_BENCH=ON
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
jobs=$(nproc)

limit=${TEST_WHOLE_TIMEOUT:-600}
seed=${TEST_SEED:-$(( (RANDOM * 32768 + RANDOM) % 99999 + 1 ))}
echo "Whole test programs, shuffled with the seeds 5 and $seed (rerun with TEST_SEED=$seed)"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

run_whole() {  # program seed
  local name log
  name=$(basename "$1")
  log="$logs/$name.$2.log"
  if timeout --kill-after=10 "$limit" "$1" --gtest_shuffle --gtest_random_seed="$2" >"$log" 2>&1; then
    echo "passed: $name --gtest_shuffle --gtest_random_seed=$2"
  else
    local rc=$?
    [ "$rc" -eq 124 ] && echo "more than ${limit} s" >>"$log"
    echo "FAILED (exit $rc): $name --gtest_shuffle --gtest_random_seed=$2"
    tail -n 60 "$log"
    return 1
  fi
}

programs=$(find "$build/tests" -maxdepth 1 -type f -executable -name 'test_*' | sort)
running=0
for program in $programs; do
  for s in 5 "$seed"; do
    run_whole "$program" "$s" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || failed=1
      running=$((running - 1))
    fi
  done
done
failed=${failed:-0}
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
  echo "Some whole test programs failed."
  exit 1
fi
echo "Every test program passed whole, shuffled."
