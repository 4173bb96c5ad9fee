#!/usr/bin/env bash
# Installs what is missing, checks that every tracked C++ file is formatted,
# builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (a compiler warning fails the build) and runs every test, the fuzz
# targets' corpora and reproducers included; then builds the tests that run
# threads with ThreadSanitizer and runs them again. Runs without a display.
# Under AddressSanitizer the memory pools poison what the program may not
# touch (engine/core/memory_allocator.h), and a pointer into a returned
# function's frame is caught too (detect_stack_use_after_return).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/check_format.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON -DQEL_WERROR=ON
cmake --build build/test --parallel "$(nproc)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure --parallel "$(nproc)" --timeout 300

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQEL_TSAN=ON -DQEL_BENCH=OFF -DQEL_WERROR=ON
cmake --build build/tsan --parallel "$(nproc)"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
ctest --test-dir build/tsan --output-on-failure --parallel "$(nproc)" --timeout 600
