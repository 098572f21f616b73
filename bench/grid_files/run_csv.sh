#!/bin/bash
# A 50 MB CSV file (100,000 rows x 20 columns) loaded into a grid and saved again, against Python's
# csv module reading the same file into lists and writing them back, in the same run. Prints the
# seconds and the peak memory (maximum resident set) of each, with the ratios to the file size.
#   run_csv.sh <build folder> [runs, 3 by default]
# Build the csv_load_save target in a Release build first.
set -euo pipefail

build=${1:?usage: run_csv.sh <build folder> [runs]}
runs=${2:-3}
program="$build/bench/csv_load_save"
[[ -x $program ]] || { echo "missing $program: build the csv_load_save target" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/csv_bench.py" generate "$work/in.csv"
python3 "$here/csv_bench.py" compare "$program" "$work" "$runs"
