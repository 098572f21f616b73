#!/bin/sh
# Stand-in for the external updater. Tests copy it into a program folder as Ethernet_Update.exe.
# It copies the job beside it and every file the job names into "received/", numbered in job
# order, then ends as the file "updater_mode" asks: "now" (default), "late" (after a pause) or
# "never" (runs until a file "stop" appears beside it or its folder is removed).
dir=$(dirname "$0")
mode=$(cat "$dir/updater_mode" 2>/dev/null || echo now)
out="$dir/received"
mkdir -p "$out" || exit 2
[ "$mode" = late ] && sleep 0.3
cp "$dir/Ethernet_Update.xml" "$out/Ethernet_Update.xml" || exit 3
n=0
for f in $(sed -n 's:.*<Ope_FileName>\(.*\)</Ope_FileName>.*:\1:p' "$dir/Ethernet_Update.xml"); do
    n=$((n + 1))
    cp "$f" "$out/$n-$(basename "$f")" || exit 4
done
[ $# -eq 0 ] || echo "$@" > "$out/arguments"
touch "$out/done"
if [ "$mode" = never ]; then
    while [ ! -e "$dir/stop" ] && [ -d "$dir" ]; do sleep 0.05; done
fi
exit 0
