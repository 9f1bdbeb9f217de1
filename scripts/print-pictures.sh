#!/usr/bin/env bash
# Draws the pictures of printed pages in docs/ from the real PDF export: a
# crossword composed on each shipped template (Normal.sz, Duży.sz) goes
# through the PDF writer on A4 with the print dialog's choices, and every
# page of the PDF becomes a PNG (pdftoppm, poppler-utils).
#   scripts/print-pictures.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$1 out=$2
app=$build/app
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
for pair in Normal:normal Duży:duzy; do
  template=${pair%%:*} name=${pair##*:}
  "$app/mirakolnik-cli" compose --template "$app/Szablony/$template.sz" --db "$app/baza.hk" \
      --out "$tmp/$name.krz" --seed 11 >/dev/null
  "$app/mirakolnik-cli" phrase "$tmp/$name.krz" --db "$app/baza.hk" --seed 11 --out "$tmp/$name.krz" >/dev/null
  QT_QPA_PLATFORM=offscreen "$build/tests/dialogs/PrintSample" --title="Krzyżówka na piątek" \
      --subtitle="Klasa 5b – przyroda" --name-line "$tmp/$name.krz" "$tmp/$name.pdf" "$tmp/$name-first.png"
  pdftoppm -r 60 -png "$tmp/$name.pdf" "$out/print-$name"
  echo "$template: $(pdfinfo "$tmp/$name.pdf" | awk '/^Pages/ {print $2}') str."
  # The larger grid needs the option to fit on one page.
  [ "$name" = duzy ] || continue
  QT_QPA_PLATFORM=offscreen "$build/tests/dialogs/PrintSample" --title="Krzyżówka na piątek" --one-page \
      "$tmp/$name.krz" "$tmp/$name-one.pdf" "$tmp/$name-one.png"
  pdftoppm -r 60 -png "$tmp/$name-one.pdf" "$out/print-$name-one-page"
  echo "$template z opcją jednej strony: $(pdfinfo "$tmp/$name-one.pdf" | awk '/^Pages/ {print $2}') str."
done
