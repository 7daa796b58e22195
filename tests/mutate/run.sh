#!/usr/bin/env bash
# run.sh TREE [WORDS]: plants each fault of faults.py in TREE (a clone with build/native and build/win64 built),
# one at a time (only those whose description holds WORDS, if given), runs the module's window tests and lists the tests that fail. Never run it in a
# working tree you edit: the files are changed while it runs.
set -u
tree=$(cd "$1" && pwd)
only=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
cd "$tree"
programs="artwork_playback_test dialogs_test paint_window_test panel_first_calls_test panel_tool_test"
count=$(python3 -c "exec(open('$here/faults.py').read()); print(len(FAULTS))")
for ((k = 0; k < count; k++)); do
    file=$(python3 - "$k" <<PY
import sys
exec(open('$here/faults.py').read())
what, path, text, replacement = FAULTS[int(sys.argv[1])]
source = open(path).read()
print(path)
if '$only' not in what:
    pass
elif text in source:
    open(path + '.orig', 'w').write(source)
    open(path, 'w').write(source.replace(text, replacement, 1))
    print(what, file=sys.stderr)
else:
    print('NOT FOUND: ' + what, file=sys.stderr)
PY
)
    [ -f "$file.orig" ] || continue
    (cmake --build build/native >/dev/null 2>&1 && cmake --build build/win64 >/dev/null 2>&1) || echo "   build failed"
    for p in $programs; do
        log=$(timeout 300 tests/wine/wine-run build/win64 "build/win64/$p.exe" 2>&1)
        status=$?
        failed=$(echo "$log" | grep -E '^\[  FAILED  \] [A-Za-z]' | sed 's/ (.*//; s/[[:space:]]*$//' | sort -u)
        [ -n "$failed" ] && echo "$failed" | sed "s/^\[  FAILED  \]/   $p:/"
        [ -z "$failed" ] && [ $status -ne 0 ] && echo "   $p: ended with status $status (a crash or a hang)"
    done
    # Put back and touch: the original's older time would leave the mutated object built.
    [ -f "$file.orig" ] && mv "$file.orig" "$file" && touch "$file"
done
cmake --build build/native >/dev/null 2>&1; cmake --build build/win64 >/dev/null 2>&1
