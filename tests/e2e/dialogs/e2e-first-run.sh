#!/usr/bin/env bash
# A first run of miravel.exe under Wine on a virtual X display: with no INI
# file, start-up opens "Hesap Parametreleri" and, once it is saved,
# "Seçenekler"; each "Kaydet" (the Enter key) writes its section.
#
#   e2e-first-run.sh <miravel.exe> <source folder> <work folder> <dialog driver.exe>
#
# Then every dialog opens through its menu command: a refused "Kaydet"
# leaves the INI file alone, a passing one saves; the times dialog, the
# about box and the options open and close; a tally counted down is saved.
# Screenshots are kept in <work folder>/artifacts.
set -euo pipefail

exe=$(realpath "$1")
src=$(realpath "$2")
driver_exe=$(realpath "$4")
e2e_name=e2e-first-run
. "$(dirname "$0")/../lib/wine-session.sh"

e2e_workdir "$3"
e2e_display 1280x1024
e2e_prefix
e2e_fixed_pitch_courier
wineserver -w || true

# The program's folder as installed, before its first run: no INI file.
cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
cp "$src"/data/*.wav "$src/data/miravel.csv" "$prog/"
ini="$prog/miravel.ini"

ini_section() {
  [ -f "$ini" ] && ini_text "$ini" | grep -qxF "[$1]"
}

(cd "$prog" && exec "$wine" miravel.exe >/dev/null 2>&1) &

calc=$(wait_window "Hesap Parametreleri")
sleep 1
shot first-run-calc-params
ini_section "Seçenekler" && fail "options saved before their dialog"
xdotool key --window "$calc" Return
step "\"Hesap Parametreleri\" opened first and was saved"

options=$(wait_window "Seçenekler")
ini_section "Hesap Paramatreleri" || fail "the calculation parameters were not saved"
sleep 1
shot first-run-options
xdotool key --window "$options" Return
options_saved() { ini_section "Seçenekler" && ini_text "$ini" | grep -q '^Hatırlat='; }
retry 50 0.2 options_saved || true
ini_text "$ini" | grep -q '^Hatırlat=' || fail "the options were not saved"
step "\"Seçenekler\" opened next and was saved"

drive() { (cd "$prog" && "$wine" driver.exe "$@" 2>/dev/null | tr -d '\r'); }
# The INI file is written once the dialog's loop has ended: wait for it.
ini_line() { ini_text "$ini" | grep -qxF "$1"; }
ini_has() { retry 50 0.1 ini_line "$1" || fail "the INI file lacks '$1'"; }
open_dialog() {
  drive command "$1" || fail "command $1"
  drive wait "$2" 15000 || fail "command $1 opened no \"$2\""
  sleep 0.5
}
close_dialog() {
  drive click "$1" "$2" || fail "no button $2 in \"$1\""
  drive gone "$1" 10000 || fail "\"$1\" stays open"
}

# Calculation parameters: mode 5 with a YATSI temkin of 2 is refused.
open_dialog 1040 "Hesap Parametreleri"
drive set "Hesap Parametreleri" 1097 5
drive set "Hesap Parametreleri" 1084 2
before=$(sha256sum <"$ini")
drive refused "Hesap Parametreleri" 1 || fail "Kaydet was not refused, or did not come back"
drive wait "Hesap Parametreleri" 0 || fail "a refused Kaydet closed the dialog"
[ "$(sha256sum <"$ini")" = "$before" ] || fail "a refused Kaydet changed the INI file"
shot calc-params-refused
drive set "Hesap Parametreleri" 1084 90
close_dialog "Hesap Parametreleri" 1
ini_has "Hesap Modu=5"
ini_has "AKŞAM temkini=90"
step "mode 5 with YATSI 2 refused, the INI file unchanged; with 90 saved"

open_dialog 1027 " / "
shot times
drive click " / " 1131
sleep 0.5
shot times-wide
close_dialog " / " 1
step "the times dialog opened, widened and closed"

open_dialog 1062 "Hakkında"
shot about
close_dialog "Hakkında" 1
step "the about box opened and closed"

open_dialog 1063 "Çetele"
drive set "Çetele" 1118 "Tesbih"
drive set "Çetele" 1119 10
drive set "Çetele" 1120 -3
drive click "Çetele" 6
drive click "Çetele" 6
sleep 0.3
shot tally
close_dialog "Çetele" 1
ini_has "Çetele-1 Adı=Tesbih"
ini_has "Çetele-1 Değeri=4"
ini_has "Çetele-1 Eklenecek=-3"
step "tally 10 - 3 - 3 = 4 saved with its name"

open_dialog 1058 "Seçenekler"
close_dialog "Seçenekler" 2
step "the options opened and were cancelled"
step "PASS"
