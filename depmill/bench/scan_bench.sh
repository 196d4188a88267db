#!/usr/bin/env bash
# Times depmill on a generated project: 500 sources, each including 10
# headers spread over the project folder and three include folders, against
# reading every source once with cat. Usage: scan_bench.sh [path/to/depmill]
set -euo pipefail
depmill=$(realpath "${1:-$(dirname "$0")/../../build-depmill/bin/depmill}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/proj" "$work/inc1" "$work/inc2" "$work/inc3"
folders=(proj inc1 inc2 inc3)
for h in $(seq 0 39); do
    echo "#define H$h $h" > "$work/${folders[h % 4]}/h$h.h"
done
for s in $(seq 0 499); do
    {
        for k in $(seq 0 9); do echo "#include \"h$(((s + k * 7) % 40)).h\""; done
        echo "#include <stdio.h>"
        for l in $(seq 1 60); do echo "int f${s}_$l(int x) { return x * $l + H$((s % 40)); }"; done
    } > "$work/proj/src$s.c"
done
cd "$work/proj"
run="$depmill -U -I../inc1 -I../inc2 -I../inc3 >/dev/null"
hyperfine --warmup 3 --runs 30 --style basic "cat src*.c >/dev/null" "$run"
