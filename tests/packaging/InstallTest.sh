#!/usr/bin/env bash
# Makes the Debian package, unpacks it with dpkg -x into a scratch root, makes
# the program directory read-only and starts the installed program from there
# under Xvfb, as a user with an empty home, with a crossword named on the
# command line; then composes a crossword in the window on that tree. Checks
# that the program ran, opened the named file, put the user's files into the
# user's directories and wrote nothing into the installed tree.
# Usage: InstallTest.sh BUILD_DIR INSTALLED_COMPOSE_TEST
set -euo pipefail
build=$1
compose_test=$2
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
debs=("$tmp"/pkg/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

id=pl.mirakolnik.Mirakolnik
prog_rel=usr/lib/mirakolnik
dpkg-deb -c "$deb" >"$tmp/contents"
for f in "usr/bin/mirakolnik -> ../lib/mirakolnik/mirakolnik" "usr/bin/mirakolnik-cli -> ../lib/mirakolnik/mirakolnik-cli" \
         $prog_rel/mirakolnik $prog_rel/mirakolnik-cli $prog_rel/baza.hk $prog_rel/tekst.bmp $prog_rel/logo.bmp \
         $prog_rel/zainstalowany.txt "$prog_rel/Pomoc/Mirakolnik Zodevidar - Pomoc.htm" $prog_rel/Szablony/Normal.sz \
         $prog_rel/Krzyżówki/K_0231.krz $prog_rel/Krzyżówki/Nowe/ \
         usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml \
         usr/share/icons/hicolor/48x48/apps/$id.png usr/share/icons/hicolor/256x256/apps/$id.png; do
  grep -qF -- " ./$f" "$tmp/contents" || fail "missing from the package: $f"
done
grep -q "^-rwxr-xr-x .* ./$prog_rel/mirakolnik$" "$tmp/contents" || fail "the program is not executable"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 qt6-qpa-plugins; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

root=$tmp/root
dpkg -x "$deb" "$root"
prog=$root/$prog_rel
desktop-file-validate "$root/usr/share/applications/$id.desktop" >"$tmp/df.log" 2>&1 && [ ! -s "$tmp/df.log" ] ||
  { cat "$tmp/df.log"; fail "desktop entry"; }
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >"$tmp/as.log" 2>&1 ||
  { cat "$tmp/as.log"; fail "metainfo"; }
mkdir -p "$tmp/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/$id.xml" "$tmp/mime/packages/"
XDG_DATA_HOME=$tmp XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>"$tmp/mime.log"
[ ! -s "$tmp/mime.log" ] || { cat "$tmp/mime.log"; fail "file types"; }
grep -q "application/x-mirakolnik-crossword:\*\.krz" "$tmp/mime/globs2" || fail "no .krz glob"
grep -q "application/x-ipuz:\*\.ipuz" "$tmp/mime/globs2" || fail "no .ipuz glob"
grep -q "application/x-ipuz" "$root/usr/share/applications/$id.desktop" || fail "the program does not open .ipuz"

# The user's crossword, named on the command line (a double click does the same).
home=$tmp/home
mkdir -p "$home"
mine="$home/Moja krzyżówka.krz"
"$root/usr/bin/mirakolnik-cli" new-template --cols 6 --rows 5 --block 3,3 "$tmp/mine.sz" >/dev/null
"$root/usr/bin/mirakolnik-cli" convert "$tmp/mine.sz" "$mine" >/dev/null

chmod -R a-w "$prog"
snapshot() { (cd "$prog" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$tmp/before"

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache
unset XDG_DOCUMENTS_DIR
export MZ_SCREENSHOT=$tmp/window.png
start=$(date +%s)
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$root/usr/bin/mirakolnik" "$mine" >"$tmp/log" 2>&1 ||
  { cat "$tmp/log"; fail "the installed program did not run and end by itself"; }
unset MZ_SCREENSHOT
echo "installed program ran for $(( $(date +%s) - start )) s"
test "$(stat -c %s "$tmp/window.png")" -gt 2000 || fail "no picture of the window"

conf="$home/.config/Mirakolnik Zodevidar.conf"
grep -qxF "CurrCrossWordFileName=$mine" "$conf" || { cat "$conf"; fail "the file named on the command line was not opened"; }
grep -qxF "NewCrossDir=$home/Documents/Krzyżówki/Nowe/" "$conf" || { cat "$conf"; fail "new crosswords do not go to the documents"; }
grep -qxF "PatternFileName=$home/.local/share/Mirakolnik Zodevidar/Szablony/Normal.sz" "$conf" ||
  { cat "$conf"; fail "the template is not the user's copy"; }
cmp -s "$prog/Krzyżówki/K_0231.krz" "$home/Documents/Krzyżówki/K_0231.krz" || fail "the sample was not copied"
cmp -s "$prog/Szablony/Normal.sz" "$home/.local/share/Mirakolnik Zodevidar/Szablony/Normal.sz" ||
  fail "the templates were not copied"
[ -w "$home/Documents/Krzyżówki/K_0231.krz" ] || fail "the sample's copy cannot be written"

# Composing in the window on the installed tree.
QT_QPA_PLATFORM=offscreen timeout 180 "$compose_test" "$prog" >"$tmp/compose.log" 2>&1 ||
  { cat "$tmp/compose.log"; fail "composing on the installed tree"; }
ls "$home/Documents/Krzyżówki/Nowe/"K_0000.krz >/dev/null || fail "no new crossword in the documents"

snapshot >"$tmp/after"
diff "$tmp/before" "$tmp/after" || fail "the installed tree changed"
echo "ok: package $(basename "$deb"), installed tree unchanged"
