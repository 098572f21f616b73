#!/usr/bin/env bash
# Checks, on a private X server, that the keys stay with the MQTT topic table after a list cell is
# picked with Enter following the template editor: the next Right moves to the next cell and does
# not switch the window to its subscribe tab. The offscreen platform of the tests hands the focus
# back at once and cannot show this; X11 delivers it later. Exits 0 when the keys stayed with the
# table, 1 when they went to the tab bar, 2 when the check could not run.
#
#   scripts/check-focus-after-list-pick.sh [build folder]     (default build/release)
# Needs xvfb, xdotool, x11-apps and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-build/release}/src/app/Configurator"
[[ -x $program ]] || { echo "missing $program: build the Configurator target" >&2; exit 2; }
for tool in Xvfb xdotool xwd convert; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

# A program folder whose last configuration, reopened at start, holds one publish topic.
cp "$program" "$work/"
mkdir -p "$work/PROJECTS/Plant"
cat >"$work/Bricolator.xml" <<'XML'
<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj><lastlang><language>English</language></lastlang></Conf_Settings>
XML
cat >"$work/PROJECTS/Plant/MQTT_Set_Topic.xml" <<'XML'
<MQTT_Set_Topic><MQTT_Publish><row Topic="plant/temp" Retained="N" QoS="1" DataType="Float" Dimension="4" Position="0" IPAddress="" FormatHex="N" InputTemplate="" Template="$VALUE$" OnChange="Y" OnCMD="N" OnTimer="Y" Time="1000" Mnemonic=""/></MQTT_Publish><MQTT_Subscribe><row Topic="plant/set" Retained="N" QoS="0" DataType="Int" Dimension="2" Position="4" IPAddress="" Port="" EthType="" InputTemplate="" FormatHex="N" Template="$VALUE$" Mnemonic=""/></MQTT_Subscribe></MQTT_Set_Topic>
XML

display=
for n in $(seq 160 220); do [[ -e /tmp/.X11-unix/X$n ]] || { display=:$n; break; }; done
[[ -n $display ]] || { echo "no free display" >&2; exit 2; }
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$work" && CONFIGURATOR_STEP=Btn_MQTT_Set_Topic exec ./Configurator) >"$work/app.log" 2>&1 & pids+=($!)

window() {  # TITLE: waits up to 10 s for a shown window whose title holds the text
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window \"$1\"" >&2; exit 2
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }

topics=$(window "Set MQTT Topics")
sleep 0.5
# The template editor from row 1's Template cell, closed with OK.
click "$topics" 785 126
xdotool mousemove --window "$topics" 785 126 click --repeat 2 --delay 80 1
editor=$(window "Set Template")
click "$editor" 453 375
sleep 0.7
# QoS of row 1: F2, Down, Enter, then Right.
click "$topics" 440 126
for k in F2 Down Return Right; do xdotool key "$k"; sleep 0.3; done
sleep 0.5

# The shown tab is drawn lighter than the other.
xwd -silent -id "$topics" | convert xwd:- "$work/after.png"
publish=$(convert "$work/after.png" -format '%[fx:int(255*p{30,76}.r)]' info:)
subscribe=$(convert "$work/after.png" -format '%[fx:int(255*p{130,76}.r)]' info:)
if ((publish > subscribe)); then
    echo "keys stayed with the table (publish tab shown)"
else
    echo "the keys went to the tab bar: Right switched to the subscribe tab"
    exit 1
fi
