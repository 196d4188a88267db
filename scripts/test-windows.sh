#!/usr/bin/env bash
# The Windows check: cross-builds common, depmill, ide/core and ide/platform
# with their tests for 64-bit Windows (MinGW-w64) into build-windows/ and
# runs every test under Wine. The Qt forms are not part of it: Debian has no
# Qt for MinGW. Every Linux test of the same programs must be in the run,
# passed or skipped, but those of *_posix_test.cpp files
# (scripts/check-windows-run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows

build=build-windows
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DVANTOR_BUILD_IDE=OFF >/dev/null
cmake --build "$build" -j "$jobs"

# A Wine installation of the build's own, so the user's is never touched,
# and one Wine server for the whole run instead of one per test program.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p
wineboot -i >/dev/null 2>&1
status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" || status=$?

# Held against the Linux build's tests (the reasons of the skipped tests
# are in LastTest.log).
scripts/check-windows-run.sh build "$build" || status=1
exit "$status"
