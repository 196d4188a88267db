#!/usr/bin/env bash
# The MS-DOS sample the whole way, with the settings that scripts/run.sh
# stores for it: Depmill rewrites its makefile with the stored generator
# command, make builds hello.com with bcc, DOSBox runs it without a window
# and the program's output comes back; the stored DOSBox tool starts and
# ends on the built program.
#   dos_hello.sh SOURCE_DIR BIN_DIR
set -euo pipefail
source_dir=$1
bin_dir=$2

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
project=$work/dos-hello
cp -r "$source_dir/examples/dos-hello" "$project"
rm -f "$project"/*.o "$project"/*.com

source "$source_dir/scripts/sample-settings.sh"
write_sample_settings dos-hello "$project/makefile" "$work/settings.reg"
# One stored text value, unescaped.
stored() {
    sed -n -e "s/^\"$1\"=\"\\(.*\\)\"\$/\\1/p" "$work/settings.reg" | sed -e 's/\\\(.\)/\1/g'
}

# The IDE's dependency check: the stored command, then " -m" and the model
# letter of the makefile's MODEL; "cmd /c" runs the rest through sh, which
# finds depmill on PATH.
command=$(stored DepmillCommand)
[[ $command == "cmd /c"* ]] || fail "unexpected generator command: $command"
model=$(sed -n -e 's/^MODEL\t= \(.\)$/\1/p' "$project/makefile")
[[ $model == s ]] || fail "the sample's makefile has no MODEL s"
(cd "$project" && PATH=$bin_dir:$PATH sh -c "${command#cmd /c} -m$model") ||
    fail "depmill failed"
[[ -f $project/makefile.old ]] || fail "no makefile.old: depmill did not write the makefile"
grep -qx $'CC\t= bcc' "$project/makefile" || fail "the head block lost CC"
grep -qx $'CFLAGS\t= -ansi -Md -O' "$project/makefile" || fail "the head block lost CFLAGS"
grep -qx $'OF1\t= dosinfo.o main.o' "$project/makefile" || fail "objects are not *.o"
grep -qx $'\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) $(OFILES) $(LIBS)' "$project/makefile" ||
    fail "the link rule is not direct"
! grep -q 'link\.cc' "$project/makefile" || fail "the makefile uses a response file"

make -C "$project" >"$work/make.log" 2>&1 || { cat "$work/make.log"; fail "make failed"; }
[[ -s $project/hello.com ]] || fail "make built no hello.com"
# A .com program is a memory image that fits one 64 KiB segment.
(( $(stat -c %s "$project/hello.com") < 65280 )) || fail "hello.com is too large for a .com"

# DOSBox without window or sound, its own home for the config it creates.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME=$work
timeout 30 dosbox -noconsole -c "mount c \"$project\"" -c "c:" -c "hello.com > out.txt" \
    -c exit >"$work/dosbox.log" 2>&1 || { cat "$work/dosbox.log"; fail "dosbox failed"; }
output=$(find "$project" -maxdepth 1 -iname out.txt)
[[ -n $output ]] || fail "the program wrote no output"
expected=$'Hello from Vantor!\r\nMS-DOS 5.00\r'
[[ $(cat "$output") == "$expected" ]] || fail "unexpected output: $(od -c "$output")"

# The stored tool, as the IDE starts it: its command, one blank and the
# arguments with $(Target) replaced by the project folder and the target.
# -exit ends DOSBox once the program has run.
[[ $(stored Name0) == "DOSBoxで実行" ]] || fail "the DOSBox tool is not stored"
target=$project/$(sed -n -e 's/^PROGRAM\t= //p' "$project/makefile")
arguments=$(stored Arguments0)
[[ $arguments == '"$(Target)"' ]] || fail "unexpected tool arguments: $arguments"
timeout 30 "$(stored Command0)" "$target" -exit >"$work/tool.log" 2>&1 ||
    { cat "$work/tool.log"; fail "the DOSBox tool failed"; }
echo "PASS"
