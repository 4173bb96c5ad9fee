#!/usr/bin/env bash
# Runs one program of the script-interface fuzzer in the real game, headless,
# in a scratch copy of the sample content's data/:
#
#   run.sh <game> <data folder> seed <n> [ticks]      a generated program
#   run.sh <game> <data folder> replay <program.lua>  a kept one, replayed
#
# Passes (exit 0) when the game ends on its own with exit code 0, the
# program ran to its end and the error output holds no sanitizer report.
# On a failure the scratch folder (transcript, error output, summary) is
# kept and named; SCRIPT_FUZZ_KEEP=<folder> keeps it in any case, there.
# SCRIPT_FUZZ_TIMEOUT (seconds, default 600) ends a program that hangs;
# SCRIPT_FUZZ_OPTIONS adds fields to the generator's options (driver.lua).
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
game="$1"
data="$2"
mode="$3"
what="$4"
ticks="${5:-300}"

work="${SCRIPT_FUZZ_KEEP:-}"
if [ -n "$work" ]; then
  rm -rf "$work"
  mkdir -p "$work"
else
  work="$(mktemp -d "${TMPDIR:-/tmp}/script_fuzz.XXXXXX")"
fi
cp -r "$data" "$work/data"

case "$mode" in
  seed)
    seed="$what"
    printf 'FUZZ = {mode = "generate", seed = %d, ticks = %d, transcript = "transcript.lua", summary = "summary.txt", %s}\n' \
      "$seed" "$ticks" "${SCRIPT_FUZZ_OPTIONS:-}" > "$work/start.lua"
    ;;
  replay)
    cp "$what" "$work/transcript.lua"
    seed="$(sed -n 's/^T{seed = \([0-9]*\).*/\1/p' "$work/transcript.lua" | head -1)"
    ticks="$(sed -n 's/^T{.*ticks = \([0-9]*\).*/\1/p' "$work/transcript.lua" | head -1)"
    printf 'FUZZ = {mode = "replay", transcript = "transcript.lua", summary = "summary.txt"}\n' \
      > "$work/start.lua"
    ;;
  *)
    echo "run.sh: mode is seed or replay" >&2
    exit 2
    ;;
esac
# The driver runs from its own text: the game's dofile reads script text.
cat "$here/driver.lua" >> "$work/start.lua"

# Objects a script makes with `new` and never deletes are the program's
# and outlive the state, as in C++: no leak report for them.
asan="${ASAN_OPTIONS:-}"
asan="${asan//detect_leaks=1/detect_leaks=0}"
case "$asan" in *detect_leaks*) ;; *) asan="${asan:+$asan:}detect_leaks=0" ;; esac

# Each tick is a frame or a few; the frame limit only guards a stall.
frames=$((ticks * 40 + 20000))
(
  cd "$work" &&
    ASAN_OPTIONS="$asan" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work" \
      QEL_START_SCRIPT=start.lua QEL_SEED="${seed:-1}" QEL_UNTHROTTLED=1 \
      QEL_EXIT_AFTER_FRAMES="$frames" \
      timeout -k 10 "${SCRIPT_FUZZ_TIMEOUT:-600}" "$game" > stdout.txt 2> stderr.txt
)
status=$?

fault=""
if [ "$status" -ne 0 ]; then
  fault="exit status $status"
elif grep -q -E "ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:" "$work/stderr.txt"; then
  fault="sanitizer report"
elif ! grep -q '^complete 1' "$work/summary.txt" 2> /dev/null; then
  fault="the program did not run to its end (stalled)"
fi

if [ -f "$work/summary.txt" ]; then
  grep -E '^(statements|calls|ok|failed|hooks|ticks|floors|adventures|saves|driver_errors|classes_reached) ' \
    "$work/summary.txt" | tr '\n' ' '
  echo
fi
if [ -n "$fault" ]; then
  echo "FAULT ($mode $what): $fault; kept in $work"
  grep -m 3 -E "ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|SUMMARY" "$work/stderr.txt"
  exit 1
fi
if [ -z "${SCRIPT_FUZZ_KEEP:-}" ]; then rm -rf "$work"; fi
exit 0
