#!/usr/bin/env bash
# Installs the program into a temporary prefix, starts it under Xvfb with an
# empty settings store (a first start: splash, then the sample crossword), lets
# it take a picture of its window and close, and checks what it left behind.
# Usage: EndToEnd.sh BUILD_DIR [COPY_PICTURE_TO.png]
set -euo pipefail
build=$1
copy_to=${2:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/prog" >/dev/null
test -x "$tmp/prog/mirakolnik"
test -f "$tmp/prog/Pomoc/Mirakolnik Zodevidar - Pomoc.htm"

export XDG_CONFIG_HOME="$tmp/config"
export MZ_SCREENSHOT="$tmp/window.png"
timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24" "$tmp/prog/mirakolnik" >"$tmp/log" 2>&1 || {
  echo "the program did not end by itself"; cat "$tmp/log"; exit 1; }

test "$(stat -c %s "$tmp/window.png")" -gt 2000 || { echo "no picture of the window"; exit 1; }
conf="$tmp/config/Mirakolnik Zodevidar.conf"
grep -q '^\[1.01\]' "$conf"
grep -q "^CurrCrossWordFileName=$tmp/prog/Krzyżówki/K_0231.krz" "$conf"
grep -q '^PreViewChecked=1' "$conf"
grep -q '^MinLenPWord=3' "$conf"
if [ -n "$copy_to" ]; then
  cp "$tmp/window.png" "$copy_to"
fi
echo "ok: window picture $(stat -c %s "$tmp/window.png") bytes"
