#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native unit
# tests (AddressSanitizer + UBSan), the Wine test binary and the end-to-end
# tests, on a private X server and a fresh Wine prefix.
set -euo pipefail
source "$(dirname "$0")/common.sh"

tav_install_deps
tav_build_win
tav_build_native

tav_start_xvfb
trap '[ -n "${TAV_XVFB_PID:-}" ] && kill $TAV_XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
tav_wine_prefix "$TAV_BUILD/wineprefix-test"
# Keep one server alive, so each program starts in a fraction of a second, and
# start Wine's services now with no pipes open: a service inherits the files
# of the program that started it and would keep a test's output pipe open.
wineserver -p >/dev/null 2>&1 </dev/null
wine "$TAV_BUILD/win/tavprobe.exe" list >/dev/null 2>&1 </dev/null || true

cd "$TAV_BUILD/native"
ctest --output-on-failure -j2 "$@"
