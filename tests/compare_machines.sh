#!/usr/bin/env bash
# Runs the same random description files through builds for different
# machines and fails unless every one gives the same bytes, messages and
# exit status; bytesmith-dump likewise on the same files.
#
# Usage: compare_machines.sh SEED BUILD_DIR[=EMULATOR...] ...
#   e.g. compare_machines.sh 42 build/test "build/s390x=qemu-s390x -L /usr/s390x-linux-gnu"
# The first build is the reference.
set -euo pipefail

seed=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/random_descriptions.py" "$work/in" 60 "$seed"

# Translates every file with one build into $work/out/N/.
run_build() { # N BUILD_DIR EMULATOR
    local out=$work/out/$1 dir=$2 emulator=$3 f name status
    mkdir -p "$out"
    for f in "$work"/in/*.txt; do
        name=$(basename "$f" .txt)
        status=0
        # shellcheck disable=SC2086 # the emulator's words are separate arguments
        $emulator "$dir/bytesmith" "$f" >"$out/$name.bin" 2>"$out/$name.err" || status=$?
        echo "$status" >"$out/$name.status"
        # Messages name the program by the path it was started with.
        sed -i "s|$dir/bytesmith|bytesmith|g" "$out/$name.err"
        $emulator "$dir/bytesmith-dump" "$f" >"$out/$name.dump"
    done
}

builds=("$@")
n=0
for build in "${builds[@]}"; do
    dir=${build%%=*}
    emulator=""
    [ "$dir" != "$build" ] && emulator=${build#*=}
    run_build "$n" "$dir" "$emulator"
    n=$((n + 1))
done

failed=0
for ((i = 1; i < n; i++)); do
    if ! diff -r -q "$work/out/0" "$work/out/$i" >"$work/diff"; then
        head -n 20 "$work/diff" >&2
        echo "build ${builds[i]} differs from ${builds[0]} (seed $seed)" >&2
        failed=1
    fi
done
files=$(ls "$work"/in | wc -l)
statuses=$(cat "$work"/out/0/*.status | sort | uniq -c | tr -s ' \n' ' ')
echo "compared $files random descriptions on $n builds (seed $seed): exit statuses$statuses"
exit "$failed"
