#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine: on
# the current X display, or on a virtual one when there is none.
set -euo pipefail
source "$(dirname "$0")/common.sh"

tav_install_deps
tav_build_win

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  tav_start_xvfb
  echo "No display: the program runs on the virtual display $DISPLAY."
  echo "Look at it with:  DISPLAY=$DISPLAY import -window root screen.png"
  trap 'kill $TAV_XVFB_PID 2>/dev/null' EXIT
fi
tav_wine_prefix "$TAV_BUILD/wineprefix"
cd "$TAV_ROOT"
wine "$TAV_BUILD/win/tavkit.exe" "$@"
