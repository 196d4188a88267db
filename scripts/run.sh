#!/usr/bin/env bash
# Builds everything and starts Vantor on a scratch copy of a sample project,
# with a settings file of its own whose most recent project is that sample:
#   scripts/run.sh            the gcc sample (examples/sample)
#   scripts/run.sh dos-hello  the MS-DOS sample, built with bcc, run in DOSBox
#   scripts/run.sh watcom-hello  the Open Watcom sample, built with its
#                             Linux-hosted tools, run through dosrun
# Without a display it runs under a virtual X server, with no visible window.
set -euo pipefail
cd "$(dirname "$0")/.."
sample=${1:-sample}
if [[ $sample != sample && $sample != dos-hello && $sample != watcom-hello ]]; then
    echo "usage: scripts/run.sh [sample|dos-hello|watcom-hello]" >&2
    exit 2
fi
if [[ $sample == watcom-hello ]]; then
    # The toolchain: WATCOM, else the shared copy beside the source tree.
    watcom=
    for candidate in "${WATCOM:-}" "$(pwd)/../shared/toolchains/openwatcom"; do
        [[ -n $candidate && -x $candidate/binl/wcc ]] && watcom=$candidate && break
    done
    if [[ -z $watcom ]]; then
        cat >&2 <<'EOF'
No Open Watcom toolchain: WATCOM names none, nor is there one at
../shared/toolchains/openwatcom. Get Open Watcom v2 from the Open Watcom v2
project's releases (github.com/open-watcom/open-watcom-v2/releases), unpack
it and set WATCOM to its folder (the one holding binl/, binw/, h/ and
lib286/); see "Open Watcom on Linux" in README.md.
EOF
        exit 1
    fi
    watcom=$(cd "$watcom" && pwd)
    # What the tools need: wlink finds its libraries through WATCOM.
    export WATCOM=$watcom INCLUDE=$watcom/h PATH=$watcom/binl:$PATH
fi
scripts/install-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

root=$(pwd)/build
work=$root/sample-run
rm -rf "$work"
mkdir -p "$work"
cp -r "examples/$sample" examples/include "$work"/
makefile=$work/$sample/makefile

# The settings store is a registry export text under $XDG_CONFIG_HOME; a
# fresh one here keeps the user's own settings untouched.
export XDG_CONFIG_HOME=$root/sample-config
rm -rf "$XDG_CONFIG_HOME"
mkdir -p "$XDG_CONFIG_HOME/vantor"
source scripts/sample-settings.sh
write_sample_settings "$sample" "$makefile" "$XDG_CONFIG_HOME/vantor/settings.reg"
# Commands run through the shell ("cmd /c...") find depmill here.
export PATH=$root/bin:$PATH

echo "Vantor on $makefile (settings in $XDG_CONFIG_HOME)"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec build/bin/vantor
fi
echo "No display: running under xvfb-run, without a visible window (Ctrl+C ends it)."
exec xvfb-run -a build/bin/vantor
