#!/usr/bin/env bash
# The install tree file by file: `cmake --install` into a temporary prefix
# gives exactly the three programs, the desktop entry, the icons, the AppStream
# metadata and the three manual pages; the real validators accept the desktop
# entry and the metadata, and man renders both pages without a warning.
#   install_tree.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/depmill
bin/dosrun
bin/vantor
share/applications/vantor.desktop
share/icons/hicolor/48x48/apps/vantor.png
share/icons/hicolor/scalable/apps/vantor.svg
share/man/man1/depmill.1.gz
share/man/man1/dosrun.1.gz
share/man/man1/vantor.1.gz
share/metainfo/vantor.metainfo.xml"
actual=$(cd "$prefix" && find . -type f -o -type l | sed -e 's|^\./||' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

[[ -x $prefix/bin/vantor && -x $prefix/bin/depmill && -x $prefix/bin/dosrun ]] ||
    fail "the programs are not executable"
"$prefix/bin/dosrun" -v | grep -q '^dosrun ' || fail "installed dosrun does not run"
{ "$prefix/bin/depmill" -? 2>&1 </dev/null || true; } | grep -q '^Depmill Ver\.' || fail "installed depmill does not run"

desktop-file-validate "$prefix/share/applications/vantor.desktop" || fail "desktop entry"
grep -qx 'Exec=vantor' "$prefix/share/applications/vantor.desktop" || fail "desktop entry's Exec"
grep -qx 'Icon=vantor' "$prefix/share/applications/vantor.desktop" || fail "desktop entry's Icon"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/vantor.metainfo.xml" >/dev/null ||
    fail "AppStream metadata"

[[ $(file -b "$prefix/share/icons/hicolor/48x48/apps/vantor.png") == "PNG image data, 48 x 48,"* ]] ||
    fail "the 48-pixel icon is not a 48x48 PNG"

for page in depmill dosrun vantor; do
    file=$prefix/share/man/man1/$page.1.gz
    warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page.1: $warnings"
    text=$(MANWIDTH=80 man -l "$file" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT FILES; do
        grep -q "^$section" <<<"$text" || fail "$page.1 has no $section section"
    done
done

# Every option of depmill's own help, and its option variable and exit
# statuses, are in its manual page.
depmill_page=$(MANWIDTH=200 man -l "$prefix/share/man/man1/depmill.1.gz" 2>/dev/null)
options=$("$prefix/bin/depmill" -? 2>/dev/null | sed -n -e 's/^    -\(.\).*/\1/p' || true)
[[ $(wc -l <<<"$options") -ge 10 ]] || fail "depmill's help lists too few options"
for letter in $options v; do
    grep -qE "^ {7}-$letter( |\[|\{|,|$)" <<<"$depmill_page" || fail "depmill.1 lacks -$letter"
done
grep -q '^ \{7\}DEPMILLOPT' <<<"$depmill_page" || fail "depmill.1 lacks DEPMILLOPT"
for status in 0 1 2; do
    grep -q "^ \{7\}$status " <<<"$depmill_page" || fail "depmill.1 lacks exit status $status"
done
# Every option and exit status of dosrun's own usage is in its page.
dosrun_page=$(MANWIDTH=200 man -l "$prefix/share/man/man1/dosrun.1.gz" 2>/dev/null)
for option in $("$prefix/bin/dosrun" --help | grep -oE '(^| |\[)-[a-z-]+' | tr -d ' [' | sort -u); do
    grep -qE "^ {7}$option( |$)" <<<"$dosrun_page" || fail "dosrun.1 lacks $option"
done
for status in 124 125 127; do
    grep -q "^ \{7\}$status" <<<"$dosrun_page" || fail "dosrun.1 lacks exit status $status"
done
grep -q 'settings.reg' < <(MANWIDTH=200 man -l "$prefix/share/man/man1/vantor.1.gz" 2>/dev/null) ||
    fail "vantor.1 does not name the settings file"
echo PASS
