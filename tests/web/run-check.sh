#!/usr/bin/env bash
# Exports crosswords as web pages and solves them in headless chromium through
# puppeteer-core from npm (which brings no browser of its own).
#   run-check.sh CLI APP_DIR SOURCE_DIR WORK_DIR
# Exits 77 (the test is skipped) only where chromium is not installed.
set -euo pipefail
cli=$1 app=$2 source=$3 work=$4

browser=${MZ_CHROMIUM:-$(command -v chromium || true)}
if [ -z "$browser" ]; then
  echo "POMINIĘTO: brak przeglądarki chromium (scripts/install-deps.sh ją instaluje)"
  exit 77
fi
bash "$source/../../scripts/npm-install-into.sh" "$source" "$work" puppeteer-core puppeteer-core
cp "$source/check-web.mjs" "$work/"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$cli" compose --template "$app/Szablony/Normal.sz" --db "$app/baza.hk" --out "$tmp/k.krz" --seed 7 >/dev/null
"$cli" phrase "$tmp/k.krz" --db "$app/baza.hk" --seed 7 --out "$tmp/k.krz" >/dev/null
"$cli" export-html "$tmp/k.krz" "$tmp/k.html"
"$cli" show --answers "$tmp/k.krz" >"$tmp/k.txt"
"$cli" export-html "$source/mini.ipuz" "$tmp/mini.html"
"$cli" show --answers "$source/mini.ipuz" >"$tmp/mini.txt"
"$cli" export-html "$app/Krzyżówki/K_0231.krz" "$tmp/sounds.html" --audio-dir "$app/Audio" >/dev/null
"$cli" show --answers "$app/Krzyżówki/K_0231.krz" >"$tmp/sounds.txt"
node "$work/check-web.mjs" "$browser" "$tmp"
