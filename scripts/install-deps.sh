#!/usr/bin/env bash
# Installs every Debian package that building and testing Vantor, Depmill and
# dosrun needs (nasm assembles dosrun's own DOS program). Idempotent: packages
# already present are not fetched again.
# With --windows also what the Windows check (scripts/test-windows.sh) needs:
# the MinGW-w64 cross compilers, GoogleTest's sources and Wine.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  make gcc g++ bcc nasm
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-qpa-plugins libqt6test6 fonts-dejavu-core fonts-ipafont-gothic
  libcanberra-dev
  xvfb xauth openbox libxcb1-dev
  xutils-dev hyperfine
  locales
  clang clang-14 libclang-rt-14-dev clang-format
  qt6-translations-l10n
  elks-libc dosbox
  librsvg2-bin desktop-file-utils appstream man-db groff-base dpkg-dev file
)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
