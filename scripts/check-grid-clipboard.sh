#!/usr/bin/env bash
# Shows the grid's clipboard and a ".CSV" file drop in a real program on a private X server: the
# topic table (a publish table read through its table description) in tools/grid-files-demo.
#   0. a block dragged with the left button held, and a block grown with Shift and the arrow keys,
#      are copied by Ctrl+C: the X clipboard holds each as tab-separated text;
#   1. a click and a shift-click select a block, Ctrl+C copies it: the X clipboard (read with xclip)
#      holds it as tab-separated text;
#   2. Ctrl+V pastes it into another row range;
#   3. text put on the clipboard from outside (xclip) is pasted into a third place;
#   4. Ctrl+S saves the cells: the saved CSV holds the pasted block and the outside text exactly,
#      and every other cell as it was;
#   5. a ".CSV" file dragged from a second program (grid-drag-source) and dropped on the table is
#      read into it; Ctrl+Q ends the demo, which saves again: the saved cells are the file's.
# Exits 0 when every check held, 1 when one failed, 2 when the check could not run. Not part of
# CI (it needs an X server and takes about half a minute). Run it after building the tools:
#
#   cmake --build build/test --target grid-files-demo grid-drag-source
#   scripts/check-grid-clipboard.sh [build folder]        (default build/test)
#
# Screenshots of each step go to $SHOTS (default: <build folder>/grid-clipboard-shots).
# Needs xvfb, xdotool, xclip, imagemagick and python3 (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
demo=$build/tools/grid-files-demo/grid-files-demo
source=$build/tools/grid-files-demo/grid-drag-source
for program in "$demo" "$source"; do
    [[ -x $program ]] || { echo "missing $program: build the grid-files-demo and grid-drag-source targets" >&2; exit 2; }
done
for tool in Xvfb xdotool xclip import python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup.sh" >&2; exit 2; }
done
shots=${SHOTS:-$build/grid-clipboard-shots}
rm -rf "$shots" && mkdir -p "$shots"
shots=$(cd "$shots" && pwd)

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
# The sanitizer build must not fail on what the X and font libraries keep at exit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Five publish topics; Retained is a check box, QoS and DataType lists, Template an editable list.
cat >"$work/MQTT_Set_Topic.xml" <<'XML'
<MQTT_Set_Topic>
  <MQTT_Publish>
    <row Topic="plant/boiler/temp" Retained="N" QoS="1" DataType="Float" Dimension="4" Position="0" IPAddress="" FormatHex="N" InputTemplate="" Template="$VALUE$" OnChange="Y" OnCMD="N" OnTimer="Y" Time="1000" Mnemonic="T1"/>
    <row Topic="plant/boiler/pressure" Retained="Y" QoS="0" DataType="Int" Dimension="2" Position="4" IPAddress="" FormatHex="N" InputTemplate="" Template="{&quot;p&quot;:$VALUE$}" OnChange="Y" OnCMD="N" OnTimer="N" Time="" Mnemonic="P1"/>
    <row Topic="plant/pump/state" Retained="N" QoS="2" DataType="String" Dimension="16" Position="6" IPAddress="" FormatHex="N" InputTemplate="" Template="Pumpe $VALUE$" OnChange="N" OnCMD="Y" OnTimer="N" Time="" Mnemonic="Zustand"/>
    <row Topic="plant/pump/speed" Retained="N" QoS="1" DataType="SInt" Dimension="2" Position="22" IPAddress="" FormatHex="N" InputTemplate="" Template="$VALUE$" OnChange="Y" OnCMD="N" OnTimer="N" Time="" Mnemonic="S1"/>
    <row Topic="plant/meter" Retained="N" QoS="0" DataType="Int" Dimension="4" Position="24" IPAddress="" FormatHex="N" InputTemplate="" Template="$VALUE$" OnChange="Y" OnCMD="N" OnTimer="N" Time="" Mnemonic="M1"/>
  </MQTT_Publish>
  <MQTT_Subscribe>
  </MQTT_Subscribe>
</MQTT_Set_Topic>
XML
# The file dropped at the end: semicolons, a quoted field holding the delimiter, UTF-8 with a BOM.
printf '\xEF\xBB\xBFMeter;Value;Unit\r\n"Z\xC3\xA4hler; Halle 1";42,5;kWh\r\nWasser;17;m3\r\n' >"$work/meters.CSV"

display=
for n in $(seq 187 230); do [[ -e /tmp/.X11-unix/X$n ]] || { display=:$n; break; }; done
[[ -n $display ]] || { echo "no free display" >&2; exit 2; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

saved=$work/saved.csv
"$demo" --save-to "$saved" "$work/MQTT_Set_Topic.xml" >"$work/demo.out" 2>"$work/demo.err" & demo_pid=$!
pids+=($demo_pid)
for _ in $(seq 150); do grep -q '^ready' "$work/demo.out" 2>/dev/null && break; sleep 0.1; done
grep -q '^ready' "$work/demo.out" || { echo "the demo did not start:" >&2; cat "$work/demo.err" >&2; exit 2; }
win=$(xdotool search --onlyvisible --name "Grid files demo" | head -1)
sleep 0.5

failed=0
check() {  # NAME COMMAND...: runs the check and says how it went
    local name=$1; shift
    if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failed=1; fi
}
shot() { sleep 0.4; import -window root "$shots/$1.png"; echo "     screenshot $shots/$1.png"; }
cell() {  # COLUMN ROW: the cell's centre in window coordinates, as the demo printed it
    awk -v c="$1" -v r="$2" '$1 == "cell" && $2 == c && $3 == r { print $4, $5; found = 1; exit } END { exit !found }' \
        "$work/demo.out" || { echo "cell $1,$2 is not shown" >&2; exit 2; }
}
click() { local xy; xy=$(cell "$1" "$2"); xdotool mousemove --window "$win" ${xy% *} ${xy#* } click 1; sleep 0.3; }
shift_click() {
    local xy; xy=$(cell "$1" "$2")
    xdotool mousemove --window "$win" ${xy% *} ${xy#* } keydown shift click 1 keyup shift; sleep 0.3
}
key() { xdotool key "$1"; sleep 0.4; }
drag() {  # FROM_COLUMN FROM_ROW TO_COLUMN TO_ROW: left button down on one cell, moved in steps, up on the other
    local from to fx fy tx ty
    from=$(cell "$1" "$2"); to=$(cell "$3" "$4")
    fx=${from% *} fy=${from#* } tx=${to% *} ty=${to#* }
    xdotool mousemove --window "$win" "$fx" "$fy" mousedown 1; sleep 0.2
    for step in 1 2 3 4 5; do
        xdotool mousemove --window "$win" $(( fx + (tx - fx) * step / 5 )) $(( fy + (ty - fy) * step / 5 )); sleep 0.1
    done
}
clipboard_is() {  # EXPECTED: the X clipboard's text, as xclip reads it
    xclip -o -selection clipboard >"$work/clipboard.txt"
    printf '%s' "$1" >"$work/expected-clipboard.txt"
    cmp -s "$work/clipboard.txt" "$work/expected-clipboard.txt" || { echo "     xclip gave:"; od -c "$work/clipboard.txt" | head -20; return 1; }
}
save() {
    rm -f "$saved"; key ctrl+s
    for _ in $(seq 50); do [[ -s $saved ]] && break; sleep 0.1; done
}
shot 01-start
tab=$'\t'

# 0. Rows 2 to 4 from Topic to Dimension, dragged from the top left to the bottom right, copied.
drag 1 2 5 4
shot 01a-drag-selecting
xdotool mouseup 1; sleep 0.3
key ctrl+c
check "a dragged block is copied (xclip -o)" clipboard_is \
    "plant/boiler/pressure${tab}Y${tab}0${tab}Int${tab}2"$'\r\n'"plant/pump/state${tab}N${tab}2${tab}String${tab}16"$'\r\n'"plant/pump/speed${tab}N${tab}1${tab}SInt${tab}2"$'\r\n'
# Dimension of row 1, then Shift+Down twice and Shift+Right: rows 1 to 3, Dimension and Position.
click 5 1
key shift+Down
key shift+Down
key shift+Right
shot 01b-shift-extended
key ctrl+c
check "a block grown by Shift and the arrow keys is copied (xclip -o)" clipboard_is \
    "4${tab}0"$'\r\n'"2${tab}4"$'\r\n'"16${tab}6"$'\r\n'

# 1. Rows 1 to 3, from Topic to Template (shown columns 1 to 7), copied.
click 1 1
shift_click 7 3
shot 02-block-selected
key ctrl+c
expected_block="plant/boiler/temp${tab}N${tab}1${tab}Float${tab}4${tab}0${tab}\$VALUE\$"$'\r\n'
expected_block+="plant/boiler/pressure${tab}Y${tab}0${tab}Int${tab}2${tab}4${tab}{\"p\":\$VALUE\$}"$'\r\n'
expected_block+="plant/pump/state${tab}N${tab}2${tab}String${tab}16${tab}6${tab}Pumpe \$VALUE\$"$'\r\n'
xclip -o -selection clipboard >"$work/clipboard.txt"
printf '%s' "$expected_block" >"$work/expected-clipboard.txt"
check "the clipboard holds the block as tab-separated text (xclip -o)" cmp -s "$work/clipboard.txt" "$work/expected-clipboard.txt"
[[ $failed == 0 ]] || { echo "     xclip gave:"; od -c "$work/clipboard.txt" | head -20; }

# 2. Pasted at row 6, column Topic.
click 1 6
key ctrl+v
shot 03-block-pasted

# 3. Text from outside the program, pasted at row 10, column Dimension.
outside=$'8\t32\t\xC3\x9Cber $VALUE$\r\n16\t40\t$VALUE$ kWh'
printf '%s' "$outside" | xclip -i -selection clipboard >/dev/null 2>&1
sleep 0.3
click 5 10
key ctrl+v
shot 04-outside-text-pasted

# 4. The saved cells.
save
check "Ctrl+S saved the cells" test -s "$saved"
check_saved() {  # the saved cells against the topic file, the pasted block and the outside text
    python3 - "$saved" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
topics = [
    ["plant/boiler/temp", "N", "1", "Float", "4", "0", "$VALUE$"],
    ["plant/boiler/pressure", "Y", "0", "Int", "2", "4", '{"p":$VALUE$}'],
    ["plant/pump/state", "N", "2", "String", "16", "6", "Pumpe $VALUE$"],
    ["plant/pump/speed", "N", "1", "SInt", "2", "22", "$VALUE$"],
    ["plant/meter", "N", "0", "Int", "4", "24", "$VALUE$"],
]
want = {}
for i, t in enumerate(topics):           # rows 1-5: the file's rows
    for j, v in enumerate(t):
        want[(1 + i, 1 + j)] = v
for i, t in enumerate(topics[:3]):       # rows 6-8: the copied block
    for j, v in enumerate(t):
        want[(6 + i, 1 + j)] = v
for i, line in enumerate([["8", "32", "Über $VALUE$"], ["16", "40", "$VALUE$ kWh"]]):  # rows 10-11
    for j, v in enumerate(line):
        want[(10 + i, 5 + j)] = v
bad = []
for (r, c), v in sorted(want.items()):
    got = rows[r][c] if r < len(rows) and c < len(rows[r]) else None
    if got != v:
        bad.append(f"row {r} column {c}: {got!r}, wanted {v!r}")
# Everything else among the first shown columns stays as it was: empty text cells, unchecked boxes.
for r in list(range(9, 10)) + list(range(12, 20)):
    for c in (1, 4, 5, 6, 7):
        if (r, c) not in want and rows[r][c] != "":
            bad.append(f"row {r} column {c}: {rows[r][c]!r}, wanted it empty")
print(f"     saved: {len(rows)} rows; header {rows[0][:8]}")
for line in bad:
    print("     " + line)
sys.exit(1 if bad else 0)
PY
}
check "the saved cells hold the pasted block and the outside text exactly" check_saved

# 5. A ".CSV" file dragged from another program onto the table.
"$source" "$work/meters.CSV" >"$work/source.out" 2>&1 & pids+=($!)
src=
for _ in $(seq 100); do src=$(xdotool search --onlyvisible --name "Drag source" | head -1 || true); [[ -n $src ]] && break; sleep 0.1; done
[[ -n $src ]] || { echo "the drag source did not start" >&2; exit 2; }
xdotool windowmove "$src" 1050 100
sleep 0.5
shot 05-drag-source-shown
xdotool mousemove --window "$src" 100 60 mousedown 1
sleep 0.3
# Onto the QoS cell of row 1: a column the file does not reach, which keeps its text.
target=$(cell 3 1)
for step in 1 2 3 4 5 6; do
    xdotool mousemove --window "$win" $(( ${target% *} + (6 - step) * 150 )) ${target#* }
    sleep 0.2
done
shot 06-dragging-over-table
xdotool mouseup 1
for _ in $(seq 50); do grep -q dropped "$work/source.out" && break; sleep 0.1; done
echo "     drag source: $(cat "$work/source.out")"
check "the drop was taken as a copy" grep -q "dropped: copy" "$work/source.out"
shot 07-csv-dropped

check_dropped() {
    python3 - "$saved" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
want = [["Meter", "Value", "Unit"], ["Zähler; Halle 1", "42,5", "kWh"], ["Wasser", "17", "m3"]]
got = [r[:3] for r in rows[:3]]
print(f"     saved after the drop: {len(rows)} rows; {[r[:5] for r in rows[:4]]}")
# The reader overwrites only the file's cells: the cell the file landed on keeps its own text
# (QoS "1"), never the dropped file's name.
sys.exit(0 if got == want and len(rows) == 3 and rows[1][3] == "1" else 1)
PY
}
# Ctrl+Q ends the demo, which saves the cells on its way out. The drag source took the keyboard
# when it was shown: without a window manager the demo gets it back only when asked.
xdotool mousemove --window "$win" 300 300 windowfocus --sync "$win"
rm -f "$saved"
key ctrl+q
for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
status=0
if kill -0 "$demo_pid" 2>/dev/null; then
    echo "     the demo did not end on Ctrl+Q"; kill "$demo_pid"; status=timeout
fi
wait "$demo_pid" 2>/dev/null || [[ $status != 0 ]] || status=$?
check "the demo ended cleanly (status $status)" test "$status" = 0
check "the saved cells are the dropped file's" check_dropped
if [[ -s $work/demo.err ]]; then
    echo "     demo's error output:"; sed 's/^/     /' "$work/demo.err" | head -40
fi
[[ $failed == 0 ]] && echo "all checks held" || echo "a check failed"
exit "$failed"
