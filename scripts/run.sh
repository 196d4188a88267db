#!/usr/bin/env bash
# Builds the programs and runs depmill on a copy of the bundled sample project,
# then shows the makefile it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target depmill

work=build/sample-run
rm -rf "$work"
mkdir -p "$work"
cp -r examples/sample examples/include "$work"/
cd "$work/sample"
../../bin/depmill -t0 -I../include
echo "--- $(pwd)/makefile ---"
cat makefile
