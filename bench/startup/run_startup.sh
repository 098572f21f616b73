#!/bin/bash
# CPU time (user + system) of starting the program until its main window is painted, against the
# same window written with stock Qt widgets (startup_twin) and an empty Qt window of the same size,
# all as whole processes on the offscreen platform. Runs the program and the twin in alternation,
# each pair followed by the empty window, and prints the medians and the ratios.
# CPU time on a machine shared with other work varies from run to run; with valgrind installed,
# STARTUP_INSTRUCTIONS=1 also counts the instructions of one run of each, which do not.
#   run_startup.sh <build folder> [pairs, 15 by default]
set -euo pipefail

build=${1:?usage: run_startup.sh <build folder> [pairs]}
pairs=${2:-15}
programs=(startup_main startup_twin startup_empty)
for p in "${programs[@]}"; do
    [[ -x $build/bench/$p ]] || { echo "missing $build/bench/$p: build the ${programs[*]} targets" >&2; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
# The program keeps its folders and settings beside itself; a folder of its own per run keeps the
# runs alike and the build folder clean.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for p in "${programs[@]}"; do cp "$build/bench/$p" "$work/"; done

# Prints the user + system seconds of one run; a run that fails stops the measurement.
cpu_of() {
    local TIMEFORMAT='%3U %3S'
    local t
    t=$( { time timeout 60 "$1" >/dev/null 2>&1; } 2>&1 ) || { echo "$1 failed" >&2; exit 1; }
    awk '{ printf "%.3f\n", $1 + $2 }' <<<"$t"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

main_times=()
twin_times=()
empty_times=()
for ((i = 0; i < pairs; i++)); do
    # Alternate which of the pair goes first, so that neither always meets a warm or cold cache.
    if ((i % 2)); then
        twin_times+=("$(cpu_of "$work/startup_twin")")
        main_times+=("$(cpu_of "$work/startup_main")")
    else
        main_times+=("$(cpu_of "$work/startup_main")")
        twin_times+=("$(cpu_of "$work/startup_twin")")
    fi
    empty_times+=("$(cpu_of "$work/startup_empty")")
done

m=$(printf '%s\n' "${main_times[@]}" | median)
t=$(printf '%s\n' "${twin_times[@]}" | median)
e=$(printf '%s\n' "${empty_times[@]}" | median)
echo "pairs: $pairs"
echo "empty window,           median CPU seconds: $e"
echo "stock-widget twin,      median CPU seconds: $t"
echo "main window,            median CPU seconds: $m"
awk -v m="$m" -v t="$t" -v e="$e" 'BEGIN { printf "main / twin: %.2f\nmain / empty: %.2f\n", m / t, m / e }'

if [[ ${STARTUP_INSTRUCTIONS:-0} == 1 ]] && command -v valgrind >/dev/null; then
    instructions_of() {
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" 2>&1 >/dev/null |
            awk '/Collected :/ { print $NF }'
    }
    mi=$(instructions_of "$work/startup_main")
    ti=$(instructions_of "$work/startup_twin")
    ei=$(instructions_of "$work/startup_empty")
    echo "instructions: empty $ei, twin $ti, main $mi"
    awk -v m="$mi" -v t="$ti" -v e="$ei" 'BEGIN { printf "instructions main / twin: %.2f\ninstructions main / empty: %.2f\n", m / t, m / e }'
fi
