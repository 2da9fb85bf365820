#!/usr/bin/env bash
# "MP3 » WAV Çevirici" (command 1068) of miravel.exe under Wine, driven
# through its file dialogs with xdotool: the open dialog takes an MP3 file,
# the save dialog proposes its name with "wav" in its folder; the WAV written
# there is byte for byte what miravel-cli mp3wav writes.
#
#   tray_wrapper.sh <miravel.exe> <tray-driver.exe> <miravel-cli.exe> <mp3 file> <work folder>
# Exit 77 (skipped) without xdotool or import.
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
cli_exe=$(realpath "$3")
mp3=$(realpath "$4")
work=$5
for tool in xdotool import; do
  command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
prog="$work/prog"
art="$work/artifacts"
mkdir -p "$prog" "$art"

export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
wine=$(command -v wine)

fail() {
  import -window root "$art/failure.png" 2>/dev/null || true
  echo "mp3wav e2e: FAIL: $*" >&2
  exit 1
}
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
wineboot -i >"$work/wineboot.log" 2>&1 || true
wineserver -w

cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
cp "$cli_exe" "$prog/miravel-cli.exe"
cp "$mp3" "$prog/ezan.mp3"
iconv -f UTF-8 -t CP1254 <<'INI' | sed 's/$/\r/' >"$prog/miravel.ini"
[Hesap Paramatreleri]
Enlem=4101
Boylam=2897
Saat Farkı=180
[Seçenekler]
Ezan/Salâ=Hayır
iletiler=0
INI

# A visible window whose title is exactly $1.
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "no window '$1'"
  echo "$id"
}
# Types into the dialog's file-name field (which has the focus) and confirms.
answer() {
  local id=$1 text=$2
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.5
  if [ -n "$text" ]; then
    xdotool key ctrl+a
    xdotool type --delay 20 "$text"
  fi
  sleep 0.3
  xdotool key Return
}

"$wine" "$prog/miravel.exe" >"$work/miravel.log" 2>&1 &
app_pid=$!
timeout 120 "$wine" "$prog/driver.exe" find 40000 >/dev/null 2>>"$work/driver.err" ||
  fail "no main window"
timeout 120 "$wine" "$prog/driver.exe" command 1068 >/dev/null 2>>"$work/driver.err" &

open=$(wait_window "Dönüştürülecek MP3 dosyasını seçiniz")
import -window root "$art/open-dialog.png"
answer "$open" 'Z:'"${prog//\//\\}"'\ezan.mp3'

save=$(wait_window "WAV dosyası")
import -window root "$art/save-dialog.png"
answer "$save" ""   # the proposed name: ezan.wav beside the source

for _ in $(seq 50); do
  [ -s "$prog/ezan.wav" ] && break
  sleep 0.2
done
[ -s "$prog/ezan.wav" ] || fail "no ezan.wav"
sleep 1
(cd "$prog" && "$wine" miravel-cli.exe mp3wav ezan.mp3 cli.wav) || fail "miravel-cli mp3wav"
cmp "$prog/ezan.wav" "$prog/cli.wav" || fail "the command's WAV differs from the CLI's"
cmp "$prog/ezan.mp3" "$mp3" || fail "the source changed"
echo "mp3wav e2e: ezan.wav written ($(stat -c %s "$prog/ezan.wav") bytes), same as miravel-cli"
