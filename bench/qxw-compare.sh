#!/usr/bin/env bash
# Our composer against Qxw, an unrelated crossword filler packaged by Debian:
# installs Qxw when it is missing, builds bench/QxwCompare and runs it on the
# blocks of 20 Normal.sz crosswords with the shipped words, both sides filling
# each pattern exactly (see QxwCompare.cpp).
#
#   bench/qxw-compare.sh [BUILD_DIR] [QxwCompare options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
if ! dpkg-query -W -f='${Status}' qxw 2>/dev/null | grep -q "install ok installed"; then
  echo "Instaluję pakiet qxw"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends qxw
fi
cmake --build "$build" --target QxwCompare >/dev/null
"$build/bench/QxwCompare" --qxw /usr/games/qxw "$@"
