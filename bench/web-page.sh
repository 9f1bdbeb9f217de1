#!/usr/bin/env bash
# The web page of a 20 × 15 crossword (Duży.sz) in headless chromium: its size
# and how long it takes to load and show, the median of 20 loads into a fresh
# tab (see web-page.mjs). With --pictures DIR also the pictures of the page in
# docs/: a desktop window and a 375 px wide phone.
#
#   bench/web-page.sh [BUILD_DIR] [--pictures DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
app=$build/app
work=$build/bench/web
cmake --build "$build" --target mirakolnik-cli mz_worddb mz_templates >/dev/null
bash scripts/npm-install-into.sh tests/web "$work" puppeteer-core puppeteer-core
cp bench/web-page.mjs "$work/"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$app/mirakolnik-cli" compose --template "$app/Szablony/Duży.sz" --db "$app/baza.hk" --out "$tmp/Duża.krz" --seed 5 >/dev/null
"$app/mirakolnik-cli" phrase "$tmp/Duża.krz" --db "$app/baza.hk" --seed 5 --out "$tmp/Duża.krz" >/dev/null
"$app/mirakolnik-cli" export-html "$tmp/Duża.krz" "$tmp/Duża.html"
node "$work/web-page.mjs" "$(command -v chromium)" "$tmp/Duża.html" "$@"
