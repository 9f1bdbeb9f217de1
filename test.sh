#!/usr/bin/env bash
# Builds everything and runs every test: the normal build first, then the core
# once more with AddressSanitizer and UndefinedBehaviorSanitizer. A compiler
# warning fails the build.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMZ_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

if [ "${MZ_SKIP_SANITIZERS:-0}" != "1" ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMZ_SANITIZE=ON \
        -DMZ_BUILD_GUI=OFF -DMZ_BUILD_BENCH=OFF -DMZ_WERROR=ON >/dev/null
  cmake --build build-asan -j "$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j "$jobs" -LE slow)
fi
