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
#
# `script_interface` runs the fuzzer of the script interface instead: random
# programs (tests/fuzz/script_interface/driver.lua) in the real game built
# as the tests build it (build/test, AddressSanitizer and UBSan), seed after
# seed until the minutes are up, FUZZ_JOBS at a time, at low priority. It
# starts at FUZZ_SEED (default: where the last run stopped), runs FUZZ_TICKS
# ticks a program (default 600) with the generator's options in
# SCRIPT_FUZZ_OPTIONS (driver.lua lists them: 'hooks = false', 'skip = {...}'),
# keeps each failing program's folder (its transcript,
# replayable with run.sh, and error output) in
# build/fuzz/findings/script_interface/seed_<n>/ and prints the programs,
# calls and functions reached. reduce.py there cuts a finding down.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-all}"
minutes="${2:-10}"
jobs="${FUZZ_JOBS:-1}"

bash tools/setup.sh

if [ "$target" = script_interface ]; then
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON > /dev/null
  nice cmake --build build/test --parallel "$(nproc)" --target vornhaldeen
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  if [ -d /dev/shm ] && [ -z "${TMPDIR:-}" ]; then export TMPDIR=/dev/shm; fi
  state=build/fuzz/script_interface
  findings=build/fuzz/findings/script_interface
  mkdir -p "$state/summaries" "$findings"
  seed="${FUZZ_SEED:-$(cat "$state/next_seed" 2> /dev/null || echo 1000)}"
  ticks="${FUZZ_TICKS:-600}"
  game="$PWD/build/test/run/vornhaldeen"
  data="$PWD/build/test/run/data"
  end=$(($(date +%s) + minutes * 60))
  one() {
    local n="$1" keep="$state/runs/seed_$1"
    if SCRIPT_FUZZ_KEEP="$keep" nice -n 19 bash tests/fuzz/script_interface/run.sh \
      "$game" "$data" seed "$n" "$ticks" > "$state/runs/seed_$n.log" 2>&1; then
      cp "$keep/summary.txt" "$state/summaries/seed_$n.txt"
    else
      rm -rf "$findings/seed_$n"
      mv "$keep" "$findings/seed_$n"
      cp "$state/runs/seed_$n.log" "$findings/seed_$n/run.log"
      cp "$findings/seed_$n/summary.txt" "$state/summaries/seed_$n.txt" 2> /dev/null || true
      echo "seed $n: $(tail -1 "$state/runs/seed_$n.log")"
    fi
    rm -rf "$keep" "$state/runs/seed_$n.log"
  }
  mkdir -p "$state/runs"
  running=0
  first="$seed"
  while [ "$(date +%s)" -lt "$end" ]; do
    one "$seed" &
    seed=$((seed + 1))
    echo "$seed" > "$state/next_seed"
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
  done
  wait || true
  # What this run's programs did, all together.
  summaries=()
  for ((n = first; n < seed; n++)); do
    [ -f "$state/summaries/seed_$n.txt" ] && summaries+=("$state/summaries/seed_$n.txt")
  done
  if [ ${#summaries[@]} -gt 0 ]; then
    awk '$1 == "reached" { fn[$2] = 1; split($2, p, "."); if ($2 ~ /^C_/) g++; }
         $1 == "complete" || $1 == "statements" || $1 == "calls" || $1 == "ok" || $1 == "failed" ||
         $1 == "floors" || $1 == "adventures" || $1 == "saves" { sum[$1] += $2 }
         $1 == "interface_functions" { total = $2 } $1 == "interface_classes" { classes = $2 }
         END {
           n = 0; cl = 0
           for (f in fn) { n++; c = f; sub(/\..*$/, "", c); sub(/\(\)$/, "", c); if (f !~ /^C_/ && f !~ /^op/) seen[c] = 1 }
           for (c in seen) cl++
           printf "script_interface: %d programs run to their end, %d statements, %d calls (%d returned, %d raised errors), %d floors, %d adventures, %d saves\n", sum["complete"], sum["statements"], sum["calls"], sum["ok"], sum["failed"], sum["floors"], sum["adventures"], sum["saves"]
           printf "reached: %d of %d functions, %d of %d classes\n", n, total, cl, classes
         }' "${summaries[@]}"
  fi
  echo "seeds $first to $((seed - 1)); $(ls "$findings" | wc -l) findings in $findings"
  exit 0
fi
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
