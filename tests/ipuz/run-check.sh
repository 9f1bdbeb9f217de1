#!/usr/bin/env bash
# Composes a crossword, exports it as ipuz and has two independent ipuz readers
# from npm read it back; then opens the ipuz file as a crossword again.
#   run-check.sh CLI APP_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
cli=$1 app=$2 source=$3 work=$4

# The reader is installed once per build tree, again when its lock file changes.
bash "$source/../../scripts/npm-install-into.sh" "$source" "$work" xd-crossword-tools "czytników ipuz"
cp "$source/check-ipuz.mjs" "$source/check-ipuz-xd.mjs" "$work/"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for seed in 7 8; do
  "$cli" compose --template "$app/Szablony/Normal.sz" --db "$app/baza.hk" --out "$tmp/k$seed.krz" --seed $seed >/dev/null
  "$cli" phrase "$tmp/k$seed.krz" --db "$app/baza.hk" --seed $seed --out "$tmp/k$seed.krz" >/dev/null
  "$cli" export-ipuz "$tmp/k$seed.krz" "$tmp/k$seed.ipuz"
  "$cli" show --answers "$tmp/k$seed.krz" >"$tmp/k$seed.txt"
  node "$work/check-ipuz.mjs" "$tmp/k$seed.ipuz" "$tmp/k$seed.txt"
  node "$work/check-ipuz-xd.mjs" "$tmp/k$seed.ipuz" "$tmp/k$seed.txt"
  # Round trip: the ipuz file opens as the same crossword, answers and sounds
  # included; the explanations come in the order of the standard numbers.
  "$cli" show --answers "$tmp/k$seed.ipuz" >"$tmp/back$seed.txt"
  diff -u <(sed 's/^[0-9]*\. //' "$tmp/k$seed.txt" | sort) <(sed 's/^[0-9]*\. //' "$tmp/back$seed.txt" | sort)
done
