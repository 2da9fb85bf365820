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
for tool in xdotool import; do
  command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done
e2e_name="mp3wav e2e"
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"

e2e_workdir "$5"
e2e_display
e2e_prefix

# No sounds beside the program: the converter writes ezan.wav.
cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
cp "$cli_exe" "$prog/miravel-cli.exe"
cp "$mp3" "$prog/ezan.mp3"
e2e_istanbul_ini 'Ezan/Salâ=Hayır' 'iletiler=0'

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

start_app
driver command 1068 >/dev/null &

open=$(wait_window -v "Dönüştürülecek MP3 dosyasını seçiniz")
shot open-dialog
answer "$open" 'Z:'"${prog//\//\\}"'\ezan.mp3'

save=$(wait_window -v "WAV dosyası")
shot save-dialog
answer "$save" ""   # the proposed name: ezan.wav beside the source

retry 50 0.2 test -s "$prog/ezan.wav" || fail "no ezan.wav"
sleep 1
(cd "$prog" && "$wine" miravel-cli.exe mp3wav ezan.mp3 cli.wav) || fail "miravel-cli mp3wav"
cmp "$prog/ezan.wav" "$prog/cli.wav" || fail "the command's WAV differs from the CLI's"
cmp "$prog/ezan.mp3" "$mp3" || fail "the source changed"
echo "mp3wav e2e: ezan.wav written ($(stat -c %s "$prog/ezan.wav") bytes), same as miravel-cli"
