#!/usr/bin/env bash
# How fast depmill writes the makefile of a large project: 500 C sources,
# each including ten headers spread over the project folder and three
# include folders, timed against cat of the same files (the floor) and
# makedepend on the same sources with the same include folders.
# Usage: bench/depmill/run.sh [path-to-depmill] [runs]
# (default: build-depmilltest/bin/depmill, then build/bin/depmill; 30 runs)
# With DEPMILL_BENCH_DIR set, the tree is made there and kept (for profiling).
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
for tool in hyperfine makedepend python3; do
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
files="*.c *.h ../inc1/*.h ../inc2/*.h ../inc3/*.h"
includes="-I../inc1 -I../inc2 -I../inc3"

# Check once that depmill runs cleanly on the tree before timing it.
"$depmill" -U $includes >"$work/depmill.out" 2>&1 || { cat "$work/depmill.out" >&2; exit 1; }
[[ ! -s $work/depmill.out ]] || { echo "depmill warned:" >&2; head "$work/depmill.out" >&2; }

hyperfine --style basic --warmup 3 --runs "$runs" --export-json "$work/times.json" \
    -n depmill "$depmill -U $includes" \
    -n floor "cat $files >/dev/null" \
    -n makedepend "makedepend -f deps.mk $includes -- -- *.c"

python3 - "$work/times.json" <<'EOF'
import json, sys
runs = json.load(open(sys.argv[1]))["results"]
results = {r["command"]: r["median"] for r in runs}
d, f, m = results["depmill"], results["floor"], results["makedepend"]
print()
for r in runs:
    print(f"mean CPU (user + system) {r['command']:10s} {(r['user'] + r['system']) * 1000:8.2f} ms")
print(f"median depmill    {d * 1000:8.2f} ms")
print(f"median floor      {f * 1000:8.2f} ms   (cat of every source and header)")
print(f"median makedepend {m * 1000:8.2f} ms")
print(f"depmill/makedepend {d / m:6.2f}   (target <= 1.0)")
print(f"depmill/floor      {d / f:6.2f}   (target <= 2.0)")
EOF
