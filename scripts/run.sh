#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine from a folder that holds
# what a user's installation holds beside the program: the settlement list,
# the sounds, the icon and the manual (RTF and HTML). The INI file it writes
# stays there between runs (build/run/miravel.ini).
#
# With an X display (DISPLAY set) the program runs on it. Without one, it
# runs on Wine's own desktop window, with a taskbar and the tray, on a
# virtual display (Xvfb) started here; the script says how to look at it
# (x11vnc when installed, or a screenshot) and stops the display when the
# program ends. MIRAVEL_RUN_SIZE sets that desktop's size (1024x768).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$(nproc)" --target miravel miravel-cli

run=build/run
mkdir -p "$run"
cp build/win64/miravel.exe build/win64/miravel-cli.exe "$run/"
cp data/miravel.csv data/*.wav resources/miravel.ico "$run/"
python3 docs/make_manual.py docs/kilavuz.txt "$run/miravel.rtf" "$run/miravel.html"

export WINEPREFIX="${WINEPREFIX:-$PWD/build/run-wineprefix}"
export MIRAVEL_WINE_TEMPLATE="$PWD/build/win64/e2e/wineprefix-template"
if [ -n "${DISPLAY:-}" ]; then
  exec ./scripts/wine-run.sh "$run/miravel.exe" "$@"
fi

# No desktop: a virtual display of our own, Wine's desktop window on it.
size=${MIRAVEL_RUN_SIZE:-1024x768}
mkdir -p build/run-display
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
  3>build/run-display/display 2>build/run-display/xvfb.log &
xvfb_pid=$!
vnc_pid=""
stop_display() {
  [ -z "$vnc_pid" ] || kill "$vnc_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap stop_display EXIT
trap 'exit 130' INT TERM
for _ in $(seq 100); do
  [ -s build/run-display/display ] && break
  sleep 0.1
done
[ -s build/run-display/display ] || { echo "run: Xvfb did not start (build/run-display/xvfb.log)" >&2; exit 1; }
export DISPLAY=":$(head -n1 build/run-display/display)"

echo "run: no desktop here; Miravel runs on Wine's desktop ($size, with taskbar and tray) on the virtual display $DISPLAY"
if command -v x11vnc >/dev/null; then
  x11vnc -display "$DISPLAY" -localhost -nopw -forever -quiet -rfbport 5900 \
    >build/run-display/x11vnc.log 2>&1 &
  vnc_pid=$!
  echo "run: to watch and use it: a VNC viewer on localhost:5900 (e.g. ssh -L 5900:localhost:5900 this machine, then vncviewer localhost:5900)"
else
  echo "run: to watch and use it: apt-get install x11vnc, then x11vnc -display $DISPLAY -localhost -nopw"
fi
echo "run: a screenshot: DISPLAY=$DISPLAY import -window root miravel.png"
echo "run: the program ends with its menu entry \"Çıkış\" (tray icon, right click) or Ctrl+C here"
# Not exec: the display is stopped once the program has ended.
rc=0
exe_win="Z:$(realpath "$run/miravel.exe" | tr / '\\')"
./scripts/wine-run.sh explorer "/desktop=shell,$size" "$exe_win" "$@" || rc=$?
wineserver -w 2>/dev/null || true
exit $rc
