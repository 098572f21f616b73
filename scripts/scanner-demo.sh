#!/usr/bin/env bash
# Tries the scanner window without a gateway: builds the program and the fake gateway, starts the
# fake gateway on loopback (127.0.0.1, port 10000; its wired meters and its radio module's
# telegrams are those of `fake-gateway --print-script`), then the program with its scanner window
# open and the wireless choice offered. Type 127.0.0.1 as the IP address; for a wireless scan type
# 10000 as the port. The encrypted meter's key is 0F0E0D0C0B0A09080706050403020100.
# The fake gateway stops when the program ends. A configuration must be open (the program reopens
# the one open when it was last closed).
#
#   scripts/scanner-demo.sh [build folder]     (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
[ $# -gt 0 ] && shift
if [ ! -x "$build/src/app/Configurator" ] || [ ! -x "$build/tools/fake-gateway/fake-gateway" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCONF_TESTS=OFF -DCONF_BENCH=OFF
    cmake --build "$build" --target Configurator fake-gateway
fi
"$build/tools/fake-gateway/fake-gateway" --address 127.0.0.1 --port 10000 --every 1000 &
gateway=$!
trap 'kill "$gateway" 2>/dev/null || true' EXIT
# The scanner binds its own end to any free port, so that it and the gateway can share the machine.
CONFIGURATOR_STEP=Btn_ScanDecode CONFIGURATOR_SCAN_FORM_TYPE=1 CONFIGURATOR_SCAN_LOCAL=:0 \
    CONFIGURATOR_SCAN_TIME_SCALE=${CONFIGURATOR_SCAN_TIME_SCALE:-0.1} \
    "$build/src/app/Configurator" "$@"
