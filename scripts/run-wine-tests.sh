#!/usr/bin/env bash
# Runs the cross-compiled GoogleTest binary under Wine. Output goes through a
# file, not a pipe: a Wine service started meanwhile would inherit a pipe and
# hold it open after the test ended. CRLF output is made plain.
set -uo pipefail
out=$(mktemp)
wine "$1" "${@:2}" >"$out" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $rc
