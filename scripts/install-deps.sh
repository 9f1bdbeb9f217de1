#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# but only those that are missing.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  mythes-pl espeak-ng libespeak-ng-dev espeak-ng-data
  python3 hunspell hunspell-pl
  xvfb xauth fonts-dejavu-core
  poppler-utils
  chromium
  qt6-translations-l10n
  dpkg-dev file desktop-file-utils appstream shared-mime-info
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# node and npm run the test that reads the ipuz export with a reader from npm;
# a machine may have them from elsewhere than Debian, so the commands count.
if ! command -v npm >/dev/null 2>&1 || ! command -v node >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Instaluję brakujące pakiety: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
