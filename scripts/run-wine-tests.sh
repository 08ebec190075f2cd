#!/usr/bin/env bash
# Runs the cross-compiled GoogleTest binary under Wine; CRLF output is made plain.
set -uo pipefail
wine "$1" "${@:2}" 2>&1 | tr -d '\r'
exit "${PIPESTATUS[0]}"
