#!/usr/bin/env bash
# Fails, with what is missing, when the faces the tests draw with are not the ones installed: the
# golden images were made with the DejaVu Sans faces of fonts-dejavu-core and fonts-dejavu-extra.
set -euo pipefail
cd "$(dirname "$0")/.."
export FONTCONFIG_FILE=$PWD/tests/support/fonts.conf
wrong=0
while read -r pattern file; do
  got=$(fc-match -f '%{file}' "$pattern" 2>/dev/null || true)
  if [ "$(basename "$got")" != "$file" ]; then
    echo "Font check: \"$pattern\" should be drawn with $file, but this machine gives '${got:-nothing}'." >&2
    wrong=1
  fi
done <<'LIST'
sans-serif DejaVuSans.ttf
sans-serif:bold DejaVuSans-Bold.ttf
sans-serif:italic DejaVuSans-Oblique.ttf
sans-serif:bold:italic DejaVuSans-BoldOblique.ttf
serif DejaVuSerif.ttf
serif:italic DejaVuSerif-Italic.ttf
monospace DejaVuSansMono.ttf
LIST
if [ "$wrong" -ne 0 ]; then
  echo "Install the packages fonts-dejavu-core and fonts-dejavu-extra (scripts/setup.sh does)." >&2
  exit 1
fi
