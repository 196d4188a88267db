# Sourced by the benchmarks: a project of C sources the way a real one is.
#   write_source_tree WORK COUNT
# Headers: 40 in WORK/proj and in each of WORK/inc1..inc3. Source i of
# WORK/proj/src<i>.c (i = 1 to COUNT, zero-padded) includes ten of them,
# chosen by its number so the folders are all used, among a realistic
# amount of code: twenty functions.
write_source_tree() {
    local work=$1 count=$2 dir h i n k f
    local dirs=(proj inc1 inc2 inc3)
    mkdir -p "$work/proj" "$work/inc1" "$work/inc2" "$work/inc3"
    for dir in "${dirs[@]}"; do
        for h in $(seq 1 40); do
            printf '#ifndef %s_H%d\n#define %s_H%d\nint %s_f%d(int);\n#endif\n' \
                "$dir" "$h" "$dir" "$h" "$dir" "$h" >"$work/$dir/${dir}_h$h.h"
        done
    done
    for i in $(seq -w 1 "$count"); do
        n=$((10#$i))
        {
            printf '/* source %s */\n#include <stdio.h>\n' "$i"
            for k in $(seq 0 9); do
                dir=${dirs[$(((n + k) % 4))]}
                printf '#include "%s_h%d.h"\n' "$dir" $(((n * 7 + k * 3) % 40 + 1))
            done
            for f in $(seq 1 20); do
                printf 'int fn%s_%d(int x)\n{\n    int y = x * %d;\n    return y + 1;\n}\n\n' "$i" "$f" "$f"
            done
        } >"$work/proj/src$i.c"
    done
}
