# Shared pieces of the build, run and test scripts (sourced, not run).
TAV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TAV_BUILD=${TAV_BUILD:-$TAV_ROOT/build}

TAV_PACKAGES="cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 wine xvfb xdotool x11-utils xauth xclip
  imagemagick fonts-wine fonts-liberation fonts-ipafont python3-xlib python3-pil python3-numpy"

# Installs whatever Debian package of the list is missing.
tav_install_deps() {
  local missing=""
  for p in $TAV_PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
}

# Cross build (the .exe files) and the native build (window-free code, tests).
tav_build_win() {
  cmake -S "$TAV_ROOT" -B "$TAV_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$TAV_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$TAV_BUILD/win"
}

tav_build_native() {
  cmake -S "$TAV_ROOT" -B "$TAV_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTAV_WIN_BUILD_DIR="$TAV_BUILD/win" -DTAV_BENCH=ON >/dev/null
  cmake --build "$TAV_BUILD/native"
}

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# A Wine prefix set up for the program: windows framed by Wine itself (hides
# do not wait for a window manager) and the Wine fonts installed. Tests give
# keyboard focus by clicking a caption: the take-focus setting that would let
# xdotool set it directly makes two windows of one thread activate each other
# for ever.
tav_wine_prefix() {
  local prefix=$1
  export WINEPREFIX=$prefix
  if [ ! -f "$prefix/.tav-ready-2" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "ＭＳ ゴシック" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
    cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$prefix/.tav-ready-2"
  fi
}

# Starts a private X server unless one is reachable; sets DISPLAY.
tav_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    TAV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.05
    done
    kill "$TAV_XVFB_PID" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}
