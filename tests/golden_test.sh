#!/bin/sh
# Translates a committed description and compares the SHA-256 of its bytes
# with the committed digest, made on x86-64: the bytes must be the same on
# every machine. In a cross build BYTESMITH_EMULATOR holds the command that
# runs BYTESMITH.
# Usage: golden_test.sh BYTESMITH DESCRIPTION DIGEST_FILE WORK_DIR
# Exits 77 (skipped) when sha256sum is not installed.
set -eu

program=$1
description=$2
digest=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
work=$4

if ! command -v sha256sum >/dev/null 2>&1; then
    echo "skipped: sha256sum is not installed" >&2
    exit 77
fi
mkdir -p "$work"
bytes=$work/$(basename "$digest" .sha256).bin
# shellcheck disable=SC2086 # the emulator's words are separate arguments
${BYTESMITH_EMULATOR:-} "$program" "$description" >"$bytes" 2>"$bytes.err" || {
    echo "bytesmith failed on $description" >&2
    cat "$bytes.err" >&2
    exit 1
}
if [ -s "$bytes.err" ]; then
    echo "unexpected messages:" >&2
    cat "$bytes.err" >&2
    exit 1
fi
(cd "$work" && sha256sum -c "$digest")
