#!/bin/sh
# Checks one file built from examples/ with a tool that knows its format.
# Usage: examples_test.sh FILE NAME
# Exits 77 (skipped) when the checking tool is not installed.
set -eu

out=$1
name=$2

fail() {
    echo "$name: $*" >&2
    exit 1
}

need() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$name: skipped, $tool is not installed" >&2
            exit 77
        fi
    done
}

# Checks that the output of a command holds the expected text.
expect() {
    what=$1
    shift
    got=$("$@") || fail "$* failed"
    case $got in
    *"$what"*) ;;
    *) fail "expected '$what' from $*, got: $got" ;;
    esac
}

[ -f "$out" ] || fail "$out was not built"

case $name in
image.bmp)
    need file
    expect 'PC bitmap, Windows 3.x format, 3 x 2 x 24' file -b "$out"
    ;;
tone.wav)
    need file soxi sox
    expect 'WAVE audio, Microsoft PCM, 16 bit, mono 8000 Hz' file -b "$out"
    expect 8000 soxi -r "$out"
    expect 400 soxi -s "$out"
    # A 1000 Hz tone: the rough frequency that sox measures lies near it.
    freq=$(sox "$out" -n stat 2>&1 | sed -n 's/^Rough *frequency: *//p')
    [ -n "$freq" ] && [ "$freq" -gt 900 ] && [ "$freq" -lt 1100 ] ||
        fail "rough frequency '$freq' is not near 1000 Hz"
    ;;
hello.gz)
    need gzip
    gzip -t "$out" || fail "gzip -t rejects the member"
    text=$(gzip -dc "$out")
    [ "$text" = "Hello from bytesmith!" ] || fail "decompresses to '$text'"
    expect /hello.txt gzip -lN "$out"
    ;;
exit42.elf)
    need file
    [ "$(uname -m)" = x86_64 ] && [ "$(uname -s)" = Linux ] || {
        echo "$name: skipped, this is not an x86-64 Linux machine" >&2
        exit 77
    }
    expect 'ELF 64-bit LSB executable, x86-64' file -b "$out"
    chmod +x "$out"
    status=0
    "$out" || status=$?
    [ "$status" -eq 42 ] || fail "exits with status $status, not 42"
    ;;
*)
    fail "no check for this example"
    ;;
esac
