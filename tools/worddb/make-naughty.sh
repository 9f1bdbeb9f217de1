#!/usr/bin/env bash
# Regenerates tools/worddb/naughty-pl.tsv, the register list derived from the
# Polish list of the npm package naughty-words (db-build --register;
# docs/worddb.md). The build reads the file as it is in the repository and
# needs neither the network nor these tools.
#
# Every entry of the list is marked "wulgarne"; a word is listed with each base
# form hunspell -s finds for it (Debian packages hunspell and hunspell-pl,
# installed here when missing), so that an inflected entry ("kurwy") marks the
# database word ("KURWA"). Phrases are kept as they are: they mark clue terms.
# The reviewed list register-pl.tsv is read after this one and may take a word
# back ("jajko" is an egg).
set -euo pipefail
cd "$(dirname "$0")"

package=naughty-words
version=1.2.0
out=naughty-pl.tsv

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
node -e 'require(process.argv[1]).forEach((w) => console.log(w));' "$work/package/pl.json" > "$work/entries.txt"
total=$(wc -l < "$work/entries.txt")

# hunspell -s prints, for each input word, one line "form lemma" per base form
# it knows (none for an unknown word), then an empty line.
grep -v ' ' "$work/entries.txt" | LC_ALL=C.UTF-8 hunspell -i utf-8 -d pl_PL -s 2>/dev/null > "$work/stems.txt"

hunspell_version=$(dpkg-query -W -f='${Version}' hunspell)
dictionary_version=$(dpkg-query -W -f='${Version}' hunspell-pl)
{
  echo "# Polish words and phrases of the npm package $package $version (pl.json, $total"
  echo "# entries), tarball sha256 $sha, licence CC BY 4.0"
  echo "# (https://creativecommons.org/licenses/by/4.0/; naughty-pl.LICENSE), from the list"
  echo "# \"List of Dirty, Naughty, Obscene, and Otherwise Bad Words\" by Shutterstock and contributors."
  echo "# Changed: each word stands with its base forms found by hunspell $hunspell_version -s"
  echo "# with hunspell-pl $dictionary_version, all marked \"wulgarne\" for db-build --register."
  echo "# Made by tools/worddb/make-naughty.sh; reviewed overrides are in register-pl.tsv."
  echo "#"
  echo "# word or phrase<TAB>register<TAB>reason"
  grep ' ' "$work/entries.txt" | awk '{ print $0 "\twulgarne\tnaughty-words: \"" $0 "\"" }'
  awk -v stems="$work/stems.txt" '
    BEGIN {
      block = 1
      while ((getline line < stems) > 0) {
        if (line == "") { block++; continue }
        n = split(line, f, " ")
        if (n >= 2 && index("," lemmas[block] ",", "," f[2] ",") == 0)
          lemmas[block] = lemmas[block] (lemmas[block] == "" ? "" : ",") f[2]
      }
    }
    {
      print $0 "\twulgarne\tnaughty-words: \"" $0 "\""
      n = split(lemmas[NR], l, ",")
      for (i = 1; i <= n; i++)
        if (l[i] != $0)
          print l[i] "\twulgarne\tnaughty-words: \"" $0 "\", forma podstawowa"
    }' <(grep -v ' ' "$work/entries.txt")
} > "$out.new"
mv "$out.new" "$out"
cp "$work/package/LICENSE" naughty-pl.LICENSE
echo "$out: $(grep -vc '^#' "$out") lines from $package $version"
