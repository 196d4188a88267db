#!/usr/bin/env bash
# How fast the real Open Watcom toolchain builds a Depmill -t3 makefile: a
# project of 100 C sources (like bench/depmill's: ten headers each, from the
# project folder and three include folders, twenty functions) and a main.c,
# built from clean with the Linux-hosted tools by make -j1 and make -j2, and
# inside DOSBox with the DOS-hosted tools by wmake through dosrun; then a
# make with nothing to do. Goals: the clean native build at least 20 times
# faster than the one inside DOSBox, nothing to do in under 0.1 s.
# Usage: bench/watcom/run.sh [native-runs] [dosbox-runs]   (default 5 and 2)
# The toolchain: WATCOM, else ../shared/toolchains/openwatcom beside the
# source tree; depmill and dosrun from build/bin.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
native_runs=${1:-5}
dosbox_runs=${2:-2}
watcom=
for candidate in "${WATCOM:-}" "$repo/../shared/toolchains/openwatcom"; do
    [[ -n $candidate && -x $candidate/binl/wcc ]] && watcom=$candidate && break
done
[[ -n $watcom ]] ||
    { echo "no Open Watcom toolchain: set WATCOM or put it at ../shared/toolchains/openwatcom" >&2; exit 1; }
watcom=$(cd "$watcom" && pwd)
depmill=$repo/build/bin/depmill
dosrun=$repo/build/bin/dosrun
for program in "$depmill" "$dosrun"; do
    [[ -x $program ]] || { echo "$program not found; build the tree first" >&2; exit 1; }
done
for tool in hyperfine dosbox make python3; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
export WATCOM=$watcom INCLUDE=$watcom/h PATH=$watcom/binl:$PATH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/vantor"
source "$repo/bench/sourcetree.sh"
write_source_tree "$work" 100
printf 'int main(void)\n{\n    return 0;\n}\n' >"$work/proj/main.c"

# The DOS-hosted tools as drive D:, drive C: the work folder, so that the
# include folders beside the project are found inside DOSBox too.
cat >"$work/config/vantor/dosrun.conf" <<EOF
root = $work
drive D = $watcom
path = D:\\BINW;Z:\\
set WATCOM = D:\\
set INCLUDE = D:\\H
timeout = 1200
EOF
export XDG_CONFIG_HOME=$work/config

cd "$work/proj"
"$depmill" -t3 -O obj -o bench.exe -I../inc1 -I../inc2 -I../inc3 >"$work/depmill.out" 2>&1 ||
    { cat "$work/depmill.out" >&2; exit 1; }
# DOSBox names what it creates in capitals: clean by removing the folder.
clean="rm -rf obj link.cc LINK.CC bench.exe BENCH.EXE && mkdir obj"
eval "$clean"
make -j2 >"$work/make.out" 2>&1 || { cat "$work/make.out" >&2; exit 1; }
eval "$clean"
"$dosrun" wmake -h -e >"$work/wmake.out" 2>&1 || { tail "$work/wmake.out" >&2; exit 1; }
[[ -s BENCH.EXE ]] || { echo "wmake inside DOSBox linked no program" >&2; exit 1; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
hyperfine --style basic --runs "$native_runs" --prepare "$clean" --export-json "$work/clean.json" \
    -n "make -j1" "make -j1" -n "make -j2" "make -j2"
hyperfine --style basic --runs "$dosbox_runs" --prepare "$clean" --export-json "$work/dosbox.json" \
    -n "dosrun wmake" "$dosrun wmake -h -e"
eval "$clean" && make -j2 >/dev/null 2>&1
hyperfine --style basic -N --warmup 3 --runs 20 --export-json "$work/nothing.json" \
    -n "make, nothing to do" "make"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$work/clean.json" "$work/dosbox.json" "$work/nothing.json" <<'EOF'
import json, sys
results = {}
for path in sys.argv[1:]:
    for r in json.load(open(path))["results"]:
        results[r["command"]] = r["median"]
j1, j2 = results["make -j1"], results["make -j2"]
dos, nothing = results["dosrun wmake"], results["make, nothing to do"]
print()
print(f"median clean build, make -j1        {j1:8.3f} s")
print(f"median clean build, make -j2        {j2:8.3f} s")
print(f"median clean build inside DOSBox    {dos:8.3f} s")
print(f"median make with nothing to do      {nothing * 1000:8.1f} ms   (target < 100 ms)")
print(f"DOSBox / make -j1                   {dos / j1:8.1f}     (target >= 20)")
EOF
