#!/bin/sh
# Fails when a checker warns about a manual page.
# Usage: man_lint.sh groff|mandoc PAGE
# Exits 77 (skipped) when the checker is not installed.
set -eu
tool=$1
page=$2
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed" >&2
    exit 77
fi
case $tool in
groff) warnings=$(groff -man -ww -z "$page" 2>&1) || { echo "$warnings" >&2; exit 1; } ;;
mandoc) warnings=$(mandoc -Tlint "$page" 2>&1) || { echo "$warnings" >&2; exit 1; } ;;
*) echo "no such checker: $tool" >&2; exit 1 ;;
esac
if [ -n "$warnings" ]; then
    echo "$warnings" >&2
    exit 1
fi
