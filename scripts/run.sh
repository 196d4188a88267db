#!/usr/bin/env bash
# Builds everything and starts Vantor on a scratch copy of the sample project,
# with a settings file of its own whose most recent project is that sample.
# Without a display it runs under a virtual X server, with no visible window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

root=$(pwd)/build
work=$root/sample-run
rm -rf "$work"
mkdir -p "$work"
cp -r examples/sample examples/include "$work"/
makefile=$work/sample/makefile

# The settings store is a registry export text under $XDG_CONFIG_HOME; a
# fresh one here keeps the user's own settings untouched.
export XDG_CONFIG_HOME=$root/sample-config
rm -rf "$XDG_CONFIG_HOME"
mkdir -p "$XDG_CONFIG_HOME/vantor"
escaped=$(printf '%s' "$makefile" | sed -e 's/[\\"]/\\&/g')
cat >"$XDG_CONFIG_HOME/vantor/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\history]
"ProjectFile0"="$escaped"
"Project0"="sample"
EOF

echo "Vantor on $makefile (settings in $XDG_CONFIG_HOME)"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec build/bin/vantor
fi
echo "No display: running under xvfb-run, without a visible window (Ctrl+C ends it)."
exec xvfb-run -a build/bin/vantor
