#!/bin/sh
# Builds the project in tests/downstream, which makes a fixture with
# bytesmith_generate(), and checks the fixture: made by the first build and
# by none after it that changes nothing, made again when its description or
# the program changes, and left as it was by a description that fails,
# which fails the build.
#
# Usage: downstream_test.sh CMAKE WORK_DIR package BUILD_DIR
#          installs bytesmith's build in BUILD_DIR under WORK_DIR/prefix and
#          finds it there with find_package()
#        downstream_test.sh CMAKE WORK_DIR source SOURCE_DIR
#          adds bytesmith's sources with add_subdirectory()
set -eu

cmake=$1
work=$2
mode=$3
from=$4

fail() {
    echo "downstream ($mode): $*" >&2
    for log in "$work"/*.log; do
        [ -f "$log" ] && sed 's/^/  /' "$log" >&2
    done
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
cp -R "$(dirname "$0")/downstream" "$work/src"

case $mode in
package)
    "$cmake" --install "$from" --prefix "$work/prefix" >"$work/install.log" ||
        fail "cmake --install failed"
    set -- "-DCMAKE_PREFIX_PATH=$work/prefix"
    program=$work/prefix/bin/bytesmith
    ;;
source)
    set -- "-DBYTESMITH_SOURCE_DIR=$from" -DCMAKE_BUILD_TYPE=Release
    program=$work/build/bytesmith/bytesmith
    ;;
*)
    fail "no such mode"
    ;;
esac
"$cmake" -S "$work/src" -B "$work/build" "$@" >"$work/configure.log" 2>&1 ||
    fail "configuring failed"

fixture=$work/build/fixtures/greeting.bin
description=$work/src/greeting.txt

build() {
    "$cmake" --build "$work/build" -j2 >"$work/build.log" 2>&1
}

# Checks the fixture's bytes (printf notation) and that nothing lies beside it.
expect() {
    printf "$1" | cmp -s - "$fixture" ||
        fail "the fixture holds $(od -An -tx1 "$fixture" 2>&1), not $1"
    [ "$(ls -A "$(dirname "$fixture")")" = greeting.bin ] ||
        fail "beside the fixture: $(ls -A "$(dirname "$fixture")")"
}

generated() {
    grep -q 'Generating fixtures/greeting.bin' "$work/build.log"
}

build || fail "the first build failed"
generated || fail "the first build made no fixture"
expect 'Hello\n\001\002\001'
build || fail "the second build failed"
! generated || fail "a build that changes nothing made the fixture again"

printf 'text\tHello again\n' >"$description"
build || fail "the build after a new description failed"
expect 'Hello again'

printf 'text\tBroken\n\\#C 1 ?\n' >"$description"
! build || fail "a failing description did not fail the build"
grep -q 'Invalid input on line 2' "$work/build.log" || fail "no message from bytesmith"
expect 'Hello again'

printf 'text\tHello\n' >"$description"
build || fail "the build after a mended description failed"
expect 'Hello'

touch "$program"
build || fail "the build after a new program failed"
generated || fail "a new program did not make the fixture again"

echo "downstream ($mode): fixture made, remade on changes, kept on failure"
