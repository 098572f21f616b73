#!/usr/bin/env bash
# Sets everything up, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCONF_TESTS=OFF -DCONF_BENCH=OFF
cmake --build build/release
exec build/release/src/app/Configurator "$@"
