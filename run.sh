#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
app=build/app
if [ -x "$app/mirakolnik" ]; then
  exec "$app/mirakolnik" "$@"
fi
# Without the window the command-line tool shows the sample crossword.
exec "$app/mirakolnik-cli" show "$app/Krzyżówki/K_0231.krz"
