#!/usr/bin/env bash
# The overhead of one dosrun call: a DOS program that does nothing (the two
# bytes of "INT 20h"), run through dosrun, timed against DOSBox alone
# starting headless on the same program and leaving at once (the floor:
# what any way of running a DOS program in DOSBox pays).
# Usage: bench/dosrun/run.sh [path-to-dosrun] [runs]
# (default: build/bin/dosrun; 20 runs)
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
dosrun=${1:-$repo/build/bin/dosrun}
runs=${2:-20}
[[ -x $dosrun ]] || { echo "dosrun not found; build it or pass its path" >&2; exit 1; }
dosrun=$(cd "$(dirname "$dosrun")" && pwd)/$(basename "$dosrun")
for tool in hyperfine dosbox; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/proj" "$work/home" "$work/tmp"
printf '\xcd\x20' >"$work/proj/NOP.COM"
printf '[sdl]\noutput=surface\n[mixer]\nnosound=true\n[autoexec]\nmount c "%s"\nc:\nNOP.COM\nexit\n' \
    "$work/proj" >"$work/floor.conf"

cd "$work/proj"
export HOME=$work/home XDG_CONFIG_HOME=$work/home TMPDIR=$work/tmp
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy dosbox -conf "$work/floor.conf" >/dev/null 2>&1 ||
    { echo "DOSBox does not start headless" >&2; exit 1; }
"$dosrun" NOP.COM || { echo "dosrun NOP.COM failed" >&2; exit 1; }
hyperfine --warmup 2 --runs "$runs" -N \
    -n "dosrun NOP.COM" "$dosrun NOP.COM" \
    -n "DOSBox alone (floor)" "env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy dosbox -conf $work/floor.conf"
