#!/usr/bin/env bash
# How fast depmill writes the makefile of a large project, on two trees of
# 500 C sources with ten includes each, timed side by side in one hyperfine
# run per tree against makedepend (with and without -Y) on the same sources
# and include folders, and against cat of every file depmill reads (the
# sources: headers are only looked for, never read).
#   tree "bench": 40 headers in the project folder and in each of
#     inc1..inc3; each source 20 short functions (125 lines, 1.5 KB);
#   tree "wide": 600 headers in inc1..inc3 only (50, 100, 450); each source
#     includes one of inc1, two of inc2 and seven found only in the last
#     folder, so about 600 names are looked for in up to four places; each
#     source 100 functions and some preprocessor lines (630 lines, 11 KB).
# Usage: bench/depmill/run.sh [path-to-depmill] [runs]
# (default: build-depmilltest/bin/depmill, then build/bin/depmill; 30 runs)
# DEPMILL_BASELINE=path-to-another-depmill times that one in the same runs
# (a build of an earlier commit, say). With DEPMILL_BENCH_DIR set, the
# trees are made there and kept (for profiling).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
depmill=${1:-}
runs=${2:-30}
if [[ -z $depmill ]]; then
    for candidate in "$repo/build-depmilltest/bin/depmill" "$repo/build/bin/depmill"; do
        [[ -x $candidate ]] && depmill=$candidate && break
    done
fi
[[ -x ${depmill:-} ]] || { echo "depmill not found; build it or pass its path" >&2; exit 1; }
depmill=$(cd "$(dirname "$depmill")" && pwd)/$(basename "$depmill")
baseline=${DEPMILL_BASELINE:-}
if [[ -n $baseline ]]; then
    [[ -x $baseline ]] || { echo "DEPMILL_BASELINE is no program: $baseline" >&2; exit 1; }
    baseline=$(cd "$(dirname "$baseline")" && pwd)/$(basename "$baseline")
fi
for tool in hyperfine makedepend python3 uptime; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done

if [[ -n ${DEPMILL_BENCH_DIR:-} ]]; then
    work=$DEPMILL_BENCH_DIR
    rm -rf "$work" && mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi

source "$repo/bench/sourcetree.sh"
write_source_tree "$work" 500

cd "$work/proj"
touch deps.mk

# The wide tree: as many sources, most includes found only in the last
# folder, many more names, longer sources.
write_wide_tree() {
    local root=$1 h i n k
    mkdir -p "$root/proj" "$root/inc1" "$root/inc2" "$root/inc3"
    for h in $(seq 1 50); do printf 'int a%d(void);\n' "$h" >"$root/inc1/wide_a$h.h"; done
    for h in $(seq 1 100); do printf 'int b%d(void);\n' "$h" >"$root/inc2/wide_b$h.h"; done
    for h in $(seq 1 450); do printf 'int c%d(void);\n' "$h" >"$root/inc3/wide_c$h.h"; done
    for i in $(seq -w 1 500); do
        n=$((10#$i))
        {
            printf '/*\n * source %s of the wide tree\n */\n' "$i"
            printf '#include <stdio.h>\n#include <stdlib.h>\n'
            printf '#include "wide_a%d.h"\n' $(((n * 7) % 50 + 1))
            for k in 0 1; do printf '#include "wide_b%d.h"\n' $(((n * 11 + k * 37) % 100 + 1)); done
            for k in $(seq 0 6); do printf '#include "wide_c%d.h"\n' $(((n * 13 + k * 53) % 450 + 1)); done
            printf '\n#define LIMIT_%s 100\n#if LIMIT_%s > 10\n#define BIG 1\n#endif\n\n' "$i" "$i"
            printf '/* step %s */\nstatic int step%s(int x)\n{\n    return x * 3 + %s;\n}\n\n' \
                $(for k in $(seq 1 100); do echo "$k $k $k"; done)
        } >"$root/proj/src$i.c"
    done
    touch "$root/proj/deps.mk"
}
write_wide_tree "$work/wide"

includes="-I../inc1 -I../inc2 -I../inc3"

# Times the commands in the project folder of one tree, with the load
# before and after; the results go to $work/<name>.json.
time_tree() {
    local name=$1 proj=$2 sources
    cd "$proj"
    sources=$(echo *.c)
    # Check once that depmill runs cleanly on the tree before timing it.
    "$depmill" -U $includes >"$work/depmill.out" 2>&1 || { cat "$work/depmill.out" >&2; exit 1; }
    [[ ! -s $work/depmill.out ]] || { echo "depmill warned:" >&2; head "$work/depmill.out" >&2; }
    local commands=(-n depmill "$depmill -U $includes")
    [[ -z $baseline ]] || commands+=(-n baseline "$baseline -U $includes")
    commands+=(-n makedepend "makedepend -f deps.mk $includes -- -- $sources"
        -n makedepend-Y "makedepend -Y -f deps.mk $includes -- -- $sources"
        -n cat "cat $sources")
    echo "== tree $name, before: $(uptime)"
    hyperfine -N --style basic --warmup 5 --runs "$runs" --export-json "$work/$name.json" \
        "${commands[@]}"
    echo "== tree $name, after: $(uptime)"
}
time_tree bench "$work/proj"
time_tree wide "$work/wide/proj"

python3 - "$work/bench.json" "$work/wide.json" <<'EOF'
import json, sys
for path in sys.argv[1:]:
    runs = json.load(open(path))["results"]
    median = {r["command"]: r["median"] for r in runs}
    print(f"\ntree {path.rsplit('/', 1)[-1][:-5]}:")
    for r in runs:
        cpu = (r["user"] + r["system"]) * 1000
        print(f"  {r['command']:13s} median {r['median'] * 1000:7.2f} ms   mean CPU {cpu:6.2f} ms")
    for name in [n for n in ("depmill", "baseline") if n in median]:
        d = median[name]
        print(f"  {name}/makedepend   {d / median['makedepend']:5.2f}   (target <= 1.0)")
        print(f"  {name}/makedepend-Y {d / median['makedepend-Y']:5.2f}   (target <= 1.0)")
        print(f"  {name}/cat          {d / median['cat']:5.2f}   (target <= 1.5)")
EOF
