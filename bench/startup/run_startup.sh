#!/bin/bash
# CPU time (user + system) of starting the program until its main window shows, against an empty
# Qt window of the same size, both as whole processes on the offscreen platform. Runs the two
# programs in alternation and prints the median of each and their ratio.
#   run_startup.sh <build folder> [pairs, 15 by default]
set -euo pipefail

build=${1:?usage: run_startup.sh <build folder> [pairs]}
pairs=${2:-15}
main_program="$build/bench/startup_main"
empty_program="$build/bench/startup_empty"
for p in "$main_program" "$empty_program"; do
    [[ -x $p ]] || { echo "missing $p: build the startup_main and startup_empty targets" >&2; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
# The program keeps its folders and settings beside itself; a folder of its own per run keeps the
# runs alike and the build folder clean.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$main_program" "$empty_program" "$work/"

# Prints the user + system seconds of one run.
cpu_of() {
    local TIMEFORMAT='%3U %3S'
    local t
    t=$( { time timeout 60 "$1" >/dev/null 2>&1; } 2>&1 )
    awk '{ printf "%.3f\n", $1 + $2 }' <<<"$t"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

main_times=()
empty_times=()
for ((i = 0; i < pairs; i++)); do
    empty_times+=("$(cpu_of "$work/startup_empty")")
    main_times+=("$(cpu_of "$work/startup_main")")
done

m=$(printf '%s\n' "${main_times[@]}" | median)
e=$(printf '%s\n' "${empty_times[@]}" | median)
echo "pairs: $pairs"
echo "empty window, median CPU seconds: $e"
echo "main window,  median CPU seconds: $m"
awk -v m="$m" -v e="$e" 'BEGIN { printf "ratio: %.2f\n", m / e }'
