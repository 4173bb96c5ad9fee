#!/usr/bin/env bash
# Real fuzzing, locally: builds the libFuzzer targets with clang (ASan and
# UBSan) in build/fuzz, fuzzes each target (or the one named) for the given
# minutes (default 10) at low priority, then merges the inputs that add
# coverage into tests/fuzz/corpus/<target>. Findings are left in
# build/fuzz/findings/<target>/; save one worth keeping as a reproducer in
# tests/fuzz/regressions/<target>/, where the tests replay it.
#
#   bash tools/fuzz.sh [target|all] [minutes]
#   FUZZ_JOBS=4 bash tools/fuzz.sh all 30     (targets fuzzed side by side)
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-all}"
minutes="${2:-10}"
jobs="${FUZZ_JOBS:-1}"

bash tools/setup.sh
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQEL_FUZZ=ON > /dev/null
nice cmake --build build/fuzz --parallel "$(nproc)"

if [ "$target" = all ]; then
  targets=$(cd tests/fuzz && ls ./*_fuzz.cpp | sed 's|^\./||; s|_fuzz\.cpp$||')
else
  targets="$target"
fi

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# Loaders write and sync scratch files for every input: keep them in memory.
if [ -d /dev/shm ] && [ -z "${TMPDIR:-}" ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

fuzz_one() {
  local t="$1"
  local exe="build/fuzz/tests/fuzz/fuzz_$t"
  local work="build/fuzz/work/$t"
  local findings="build/fuzz/findings/$t"
  mkdir -p "$work" "$findings" "tests/fuzz/corpus/$t"
  local extra=()
  if [ -f "tests/fuzz/dictionaries/$t.dict" ]; then extra+=("-dict=tests/fuzz/dictionaries/$t.dict"); fi
  # Objects a script makes with `new` and never deletes are the program's
  # and outlive the state, as in C++: no leak report for them.
  local asan="$ASAN_OPTIONS"
  if [ "$t" = lua_host ]; then
    extra+=("-detect_leaks=0")
    asan="${asan/detect_leaks=1/detect_leaks=0}"
  fi
  ASAN_OPTIONS="$asan" nice -n 19 "$exe" "${extra[@]}" -max_total_time=$((minutes * 60)) -timeout=20 -rss_limit_mb=1536 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "tests/fuzz/corpus/$t" > "build/fuzz/$t.log" 2>&1 || true
  ASAN_OPTIONS="$asan" nice -n 19 "$exe" -merge=1 -artifact_prefix="$findings/" "tests/fuzz/corpus/$t" "$work" >> "build/fuzz/$t.log" 2>&1 || true
  local execs
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "build/fuzz/$t.log" | grep -o '[0-9]*$' | tail -1)
  echo "$t: ${execs:-?} executions, $(ls "$findings" | wc -l) findings, $(ls "tests/fuzz/corpus/$t" | wc -l) corpus files"
}

running=0
for t in $targets; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait
