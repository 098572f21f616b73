#!/usr/bin/env bash
# Sets everything up, builds with the sanitizers and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCONF_SANITIZE=ON -DCONF_BENCH=ON
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
