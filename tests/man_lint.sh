#!/bin/sh
# Fails when groff warns about the manual page. Exits 77 (skipped) without groff.
set -eu
if ! command -v groff >/dev/null 2>&1; then
    echo "skipped: groff is not installed" >&2
    exit 77
fi
warnings=$(groff -man -ww -z "$1" 2>&1) || { echo "$warnings" >&2; exit 1; }
if [ -n "$warnings" ]; then
    echo "$warnings" >&2
    exit 1
fi
