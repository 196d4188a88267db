#!/usr/bin/env bash
# Builds everything and runs every test: the layout of the C++ sources
# (scripts/check-format.sh), the normal build (with the IDE), a sanitizer
# build (address, undefined behaviour) of the Qt-free code, then a short run
# of each fuzz target (clang's libFuzzer, same sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DVANTOR_SANITIZE=ON -DVANTOR_BUILD_IDE=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# About 20 seconds per parser, two at a time; a finding fails the test.
fuzz/run.sh 20
