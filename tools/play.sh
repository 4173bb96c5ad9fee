#!/usr/bin/env bash
# Installs what is missing, builds the game optimised and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_TESTS=OFF -DQEL_BENCH=OFF
cmake --build build/release --parallel "$(nproc)" --target vornhaldeen
cd build/release/run
exec ./vornhaldeen "$@"
