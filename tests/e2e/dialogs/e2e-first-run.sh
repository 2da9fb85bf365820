#!/usr/bin/env bash
# A first run of miravel.exe under Wine on a virtual X display: with no INI
# file, start-up opens "Hesap Parametreleri" and, once it is saved,
# "Seçenekler"; each "Kaydet" (the Enter key) writes its section.
#
#   e2e-first-run.sh <miravel.exe> <source folder> <work folder>
#
# Screenshots of both dialogs are kept in <work folder>/artifacts.
set -euo pipefail

exe=$(realpath "$1")
src=$(realpath "$2")
work=$3
rm -rf "$work"
mkdir -p "$work/prog" "$work/artifacts"
work=$(realpath "$work")
prog="$work/prog"
art="$work/artifacts"

export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=$(command -v wine)

step() { echo "e2e-first-run: $*"; }
fail() {
  echo "e2e-first-run: FAIL: $*" >&2
  exit 1
}

xvfb_pid=""
cleanup() {
  local rc=$?
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  exit $rc
}
trap cleanup EXIT

display=120
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
sleep 1
kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true

# The program's folder as installed, before its first run: no INI file.
cp "$exe" "$prog/miravel.exe"
cp "$src"/data/*.wav "$src/data/miravel.csv" "$prog/"
ini="$prog/miravel.ini"

# Waits for a top-level window with this title; prints its X id.
wait_window() {
  local id=""
  for _ in $(seq 1 150); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "no window \"$1\""
  echo "$id"
}
ini_section() {
  [ -f "$ini" ] && iconv -f CP1254 -t UTF-8 "$ini" | tr -d '\r' | grep -qxF "[$1]"
}

(cd "$prog" && exec "$wine" miravel.exe >/dev/null 2>&1) &

calc=$(wait_window "Hesap Parametreleri")
sleep 1
import -window root "$art/first-run-calc-params.png"
ini_section "Seçenekler" && fail "options saved before their dialog"
xdotool key --window "$calc" Return
step "\"Hesap Parametreleri\" opened first and was saved"

options=$(wait_window "Seçenekler")
ini_section "Hesap Paramatreleri" || fail "the calculation parameters were not saved"
sleep 1
import -window root "$art/first-run-options.png"
xdotool key --window "$options" Return
for _ in $(seq 1 50); do
  ini_section "Seçenekler" && iconv -f CP1254 -t UTF-8 "$ini" | grep -q '^Hatırlat=' && break
  sleep 0.2
done
iconv -f CP1254 -t UTF-8 "$ini" | grep -q '^Hatırlat=' || fail "the options were not saved"
step "\"Seçenekler\" opened next and was saved"
step "PASS"
