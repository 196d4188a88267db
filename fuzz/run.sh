#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz/ (clang, address and undefined-
# behaviour sanitizers) and runs each for SECONDS (default 20), two at a time:
#   fuzz/run.sh [SECONDS [TARGET...]]    e.g. fuzz/run.sh 3600 settingsfile
# Each target starts from its seeds in fuzz/corpus/<target>/ (the makefile
# readers share fuzz/corpus/makefile/) and from what earlier runs found in
# build-fuzz/corpus/<target>/, where new entries go; the repository's seeds
# are only read. A crash, leak, hang or broken promise fails the run; the
# input that caused it lands in build-fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DVANTOR_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

# Every target that fuzz/CMakeLists.txt builds, unless some are named.
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in "$build"/bin/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi

run_target() {
    local name=$1 seconds=$2 build=$3
    # Both makefile readers start from the same makefiles.
    local seeds=fuzz/corpus/$name
    case $name in projectreader | oldmakefile) seeds=fuzz/corpus/makefile ;; esac
    mkdir -p "$build/corpus/$name" "$build/artifacts/$name" "$build/logs" "$build/tmp"
    local log=$build/logs/$name.log
    # The makefile readers' scratch file, left behind only by a crash.
    if TMPDIR=$build/tmp "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$name/" \
        "$build/corpus/$name" "$seeds" >"$log" 2>&1; then
        local runs
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$name: ${runs:-?} runs in ${seconds}s, nothing found"
    else
        echo "fuzz_$name: FAILED (log $log)"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|broken promise|.*runtime error)' "$log" | head -5
        grep -E '^artifact_prefix|Test unit written' "$log" | head -2
        return 1
    fi
}
export -f run_target

printf '%s\n' "${targets[@]}" |
    xargs -P 2 -I '{}' bash -c 'run_target "$@"' _ '{}' "$seconds" "$build"
