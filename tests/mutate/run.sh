#!/usr/bin/env bash
# run.sh TREE [WORDS]: plants each fault of faults.py in TREE (a clone with build/native and build/win64
# built), one at a time (only those whose area or description holds WORDS, if given), and prints what
# caught it: the native tests first; a fault they miss goes on to the Windows tests under Wine. Faults
# nothing catches are listed as MISSED and stay in faults.py. Never run it in a working tree you edit:
# the files are changed while it runs.
set -u
tree=$(cd "$1" && pwd)
only=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
cd "$tree"

# The names of the tests CTest reports failed, comma-separated (at most five, then a count).
failed_tests() {   # failed_tests TREE
    ctest --test-dir "$1" -j2 --timeout 300 -E '^sanitized\.' 2>&1 |
        sed -n '/The following tests FAILED/,$p' | grep -E '^\s+[0-9]+ - ' |
        sed -E 's/^\s+[0-9]+ - //; s/ \(.*//' | grep -v '^wine_environment' | sort -u |
        awk '{ if (n < 5) list = list (n ? ", " : "") $0; n++ } END { if (n > 5) list = list " and " n - 5 " more"; print list }'
}

count=$(python3 -c "exec(open('$here/faults.py').read()); print(len(FAULTS))")
caught=0
missed=0
tmp=$(mktemp)
for ((k = 0; k < count; k++)); do
    file=$(python3 - "$k" "$only" "$here/faults.py" 2>"$tmp" <<'PY'
import sys
exec(open(sys.argv[3]).read())
area, what, path, text, replacement = FAULTS[int(sys.argv[1])]
source = open(path).read()
print(path)
if sys.argv[2] not in area + ' ' + what:
    pass
elif text in source:
    open(path + '.orig', 'w').write(source)
    open(path, 'w').write(source.replace(text, replacement, 1))
    print(area + ': ' + what, file=sys.stderr)
else:
    print('NOT FOUND ' + area + ': ' + what, file=sys.stderr)
PY
    )
    what=$(cat "$tmp")
    [ -f "$file.orig" ] || { case "$what" in NOT*) echo "$what";; esac; continue; }
    by=""
    if cmake --build build/native >/dev/null 2>&1; then
        by=$(failed_tests build/native)
        [ -n "$by" ] && by="native: $by"
    fi
    if [ -z "$by" ]; then
        if cmake --build build/win64 >/dev/null 2>&1; then
            by=$(failed_tests build/win64)
            [ -n "$by" ] && by="wine: $by"
        else
            by="the build (it no longer compiles)"
        fi
    fi
    if [ -n "$by" ]; then
        caught=$((caught + 1))
        echo "CAUGHT $what -- by $by"
    else
        missed=$((missed + 1))
        echo "MISSED $what"
    fi
    # Put back and touch: the original's older time would leave the mutated object built.
    mv "$file.orig" "$file" && touch "$file"
done
rm -f "$tmp"
cmake --build build/native >/dev/null 2>&1; cmake --build build/win64 >/dev/null 2>&1
echo "$caught caught, $missed missed"
