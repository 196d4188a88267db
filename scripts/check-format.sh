#!/usr/bin/env bash
# The C++ sources of the tree as .clang-format writes them; fails naming
# every line that differs. The DOS programs of the samples and the fuzz
# corpus are files of the projects, not of the tree, and keep their own
# layout. With --fix the files are formatted in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
[ "${1:-}" = "--fix" ] && mode=(-i)
git ls-files -z '*.cpp' '*.h' ':!:examples/' ':!:fuzz/corpus/' | xargs -0 clang-format "${mode[@]}"
