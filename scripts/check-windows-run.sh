#!/usr/bin/env bash
# The account of a Windows run (scripts/test-windows.sh): its GoogleTest
# figures, and two checks that fail it. Every test of the Linux build's
# programs of the same names must be in the run, passed or skipped, but
# those of *_posix_test.cpp files, which are by name not meant for Windows;
# and skipped tests must stay under a tenth of the tests run.
#   scripts/check-windows-run.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$1
windows=$2
log="$windows/Testing/Temporary/LastTest.log"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The Windows run: GoogleTest's own lines in CTest's log, without Wine's
# "\r". Each test program is one CTest test there; the Linux build's
# programs of those names are built as scripts/test.sh builds them (a step
# with nothing to do after it).
tr -d '\r' <"$log" >"$work/log"
programs=$(sed -n 's/^[0-9]*\/[0-9]* Testing: //p' "$work/log")
[ -f "$linux/CMakeCache.txt" ] || cmake -S . -B "$linux" -G Ninja >/dev/null
# shellcheck disable=SC2086 # one target a word
cmake --build "$linux" -j "$(nproc)" --target $programs >/dev/null
awk '
  /^\[==========\] [0-9]+ tests? from .* ran/ { ran += $2 }
  /^\[  PASSED  \] [0-9]+ tests?/ { passed += $4 }
  /^\[  SKIPPED \] [0-9]+ tests?, listed below/ { skipped += $4 }
  /^\[  SKIPPED \] [A-Za-z][^ ]*$/ { print "skipped: " $4 }
  END {
    printf "GoogleTest under Wine: %d run, %d passed, %d skipped\n", ran, passed, skipped
    if (skipped * 10 >= ran) {
      print "skipped tests are not under a tenth of the tests run"
      exit 1
    }
  }
' "$work/log" || status=1
sed -n 's/^\[       OK \] \([^ ]*\) (.*/\1/p; s/^\[  SKIPPED \] \([^ ]*\) (.*/\1/p' "$work/log" |
  sort -u >"$work/windows"

# The Linux tests of the same programs, with the file each is in.
for program in $programs; do
  "$linux/bin/$program" --gtest_list_tests --gtest_output="xml:$work/$program.xml" >/dev/null
  awk '
    /<testsuite / { match($0, /name="[^"]*"/); suite = substr($0, RSTART + 6, RLENGTH - 7) }
    /<testcase / {
      match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /file="[^"]*"/); file = substr($0, RSTART + 6, RLENGTH - 7)
      if (file !~ /_posix_test\.cpp$/) print suite "." name
    }
  ' "$work/$program.xml"
done | sort -u >"$work/linux"

comm -23 "$work/linux" "$work/windows" >"$work/missing"
if [ -s "$work/missing" ]; then
  echo "Linux tests that neither passed nor skipped under Wine (a test not meant for Windows"
  echo "belongs in a *_posix_test.cpp file, or skips with its reason):"
  sed 's/^/  /' "$work/missing"
  status=1
fi
exit "${status:-0}"
