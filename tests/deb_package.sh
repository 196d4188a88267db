#!/usr/bin/env bash
# The Debian package that `cpack -G DEB` makes from the build: its
# dependencies (the libraries found by dpkg-shlibdeps, and make), what it
# recommends for the DOS sample, and its files: the programs on the PATH,
# the desktop entry, icons, metadata and manual pages, nothing else.
#   deb_package.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(find "$out" -maxdepth 1 -name 'vantor_*.deb')
[[ -n $deb ]] || fail "no vantor_*.deb"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == vantor ]] || fail "package name"
# The package names of a relation field, one a line, versions dropped.
names() { field "$1" | tr ',' '\n' | sed -e 's/^ *//' -e 's/ .*//'; }
for needed in make libc6 libqt6widgets6 libqt6gui6 libqt6core6 libcanberra0 libstdc++6; do
    names Depends | grep -qxF "$needed" || fail "Depends lacks $needed: $(field Depends)"
done
for wanted in bcc dosbox; do
    names Recommends | grep -qxF "$wanted" || fail "Recommends lacks $wanted: $(field Recommends)"
done

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | LC_ALL=C sort)
expected="./usr/bin/depmill
./usr/bin/dosrun
./usr/bin/vantor
./usr/share/applications/vantor.desktop
./usr/share/icons/hicolor/48x48/apps/vantor.png
./usr/share/icons/hicolor/scalable/apps/vantor.svg
./usr/share/man/man1/depmill.1.gz
./usr/share/man/man1/dosrun.1.gz
./usr/share/man/man1/vantor.1.gz
./usr/share/metainfo/vantor.metainfo.xml"
[[ $files == "$expected" ]] || fail "package files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$files"))"

# The programs are stripped and run from the unpacked package.
dpkg-deb -x "$deb" "$out/root"
{ "$out/root/usr/bin/depmill" -? 2>&1 </dev/null || true; } | grep -q '^Depmill Ver\.' || fail "packaged depmill"
! file "$out/root/usr/bin/vantor" | grep -q 'with debug_info' || fail "vantor is not stripped"
"$out/root/usr/bin/dosrun" -v | grep -q '^dosrun ' || fail "packaged dosrun"
echo PASS
