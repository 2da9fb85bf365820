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
# The place picker opens from "Listeyi Aç": typing a name the Turkish way
# narrows the list, the keyboard alone picks a row, which is then saved; a
# latitude typed with a decimal comma is saved exactly.
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
e2e_install "$exe" "$driver_exe"
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

open_dialog() {
  driver command "$1" || fail "command $1"
  driver wait "$2" 15000 || fail "command $1 opened no \"$2\""
  sleep 0.5
}
close_dialog() {
  driver click "$1" "$2" || fail "no button $2 in \"$1\""
  driver gone "$1" 10000 || fail "\"$1\" stays open"
}

# Calculation parameters: mode 5 with a YATSI temkin of 2 is refused.
open_dialog 1040 "Hesap Parametreleri"
driver set "Hesap Parametreleri" 1097 5
driver set "Hesap Parametreleri" 1084 2
before=$(sha256sum <"$ini")
driver refused "Hesap Parametreleri" 1 || fail "Kaydet was not refused, or did not come back"
driver wait "Hesap Parametreleri" 0 || fail "a refused Kaydet closed the dialog"
[ "$(sha256sum <"$ini")" = "$before" ] || fail "a refused Kaydet changed the INI file"
shot calc-params-refused
driver set "Hesap Parametreleri" 1084 90
close_dialog "Hesap Parametreleri" 1
ini_has "Hesap Modu=5"
ini_has "AKŞAM temkini=90"
step "mode 5 with YATSI 2 refused, the INI file unchanged; with 90 saved"

open_dialog 1027 " / "
shot times
driver click " / " 1131
sleep 0.5
shot times-wide
close_dialog " / " 1
step "the times dialog opened, widened and closed"

open_dialog 1062 "Hakkında"
shot about
close_dialog "Hakkında" 1
step "the about box opened and closed"

open_dialog 1063 "Çetele"
driver set "Çetele" 1118 "Tesbih"
driver set "Çetele" 1119 10
driver set "Çetele" 1120 -3
driver click "Çetele" 6
driver click "Çetele" 6
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

# The place picker: "Listeyi Aç" opens it with the focus in the search box;
# "cankaya" narrows the list to Çankaya (Ankara); Down goes into the list
# and Enter picks the row.
picker="Yerleşim Seç"
shown() { driver text "$1" "$2" | sed 's/^ *//'; }
expect_shown() {
  local got
  got=$(shown "Hesap Parametreleri" "$1")
  [ "$got" = "$2" ] || fail "control $1 shows '$got', not '$2'"
}
row=$(iconv -f CP1254 -t UTF-8 "$prog/miravel.csv" | grep -n '^Çankaya;Ankara;' | cut -d: -f1)
[ -n "$row" ] || fail "no Çankaya in the list"
open_dialog 1040 "Hesap Parametreleri"
calc_x=$(wait_window -v "Hesap Parametreleri")
# Escape leaves the picker without touching the dialog.
city_before=$(shown "Hesap Parametreleri" 1089)
driver click "Hesap Parametreleri" 1086
picker_x=$(wait_window -v "$picker")
xdotool key --window "$picker_x" Escape 2>/dev/null
driver gone "$picker" 5000 || fail "Escape did not close the picker"
expect_shown 1088 34
expect_shown 1089 "$city_before"
[ "$(driver checked "Hesap Parametreleri" 1087)" = 0 ] || fail "Escape ticked \"Liste\""
step "Escape closed the picker and changed nothing"

opened_ms=$(driver timeclick "Hesap Parametreleri" 1086 "$picker") ||
  fail "\"Listeyi Aç\" opened no picker"
# Well under a second with the 8000 rows, even under Wine.
[ "$opened_ms" -lt 1000 ] || fail "the picker took $opened_ms ms to open"
step "the picker was on screen $opened_ms ms after the click"
picker_x=$(wait_window -v "$picker")
[ "$(driver focus "$picker")" = 1160 ] || fail "the focus is not in the search box"
total=$(driver count "$picker" 1161)
[ "$total" -gt 7000 ] || fail "the picker lists $total rows"
xdotool type --window "$picker_x" --delay 40 cankaya 2>/dev/null
narrowed() { [ "$(driver count "$picker" 1161)" = 1 ]; }
retry 20 0.2 narrowed || fail "\"cankaya\" left $(driver count "$picker" 1161) rows"
[ "$(shown "$picker" 1160)" = cankaya ] || fail "the search box holds '$(shown "$picker" 1160)'"
[ "$(shown "$picker" 1162)" = "1 / $total yerleşim" ] || fail "status '$(shown "$picker" 1162)'"
shot picker-cankaya
xdotool key --window "$picker_x" Down 2>/dev/null
in_list() { [ "$(driver focus "$picker")" = 1161 ]; }
retry 20 0.1 in_list || fail "Down did not move into the list"
xdotool key --window "$picker_x" Return 2>/dev/null
driver gone "$picker" 5000 || fail "Enter did not pick"
[ "$(driver checked "Hesap Parametreleri" 1087)" = 1 ] || fail "\"Liste\" is not ticked"
expect_shown 1088 "$row"
expect_shown 1089 "Çankaya"
expect_shown 1090 "Ankara"
expect_shown 1091 "39.91"
expect_shown 1092 "32.86"
expect_shown 1093 "3.00"
shot calc-params-picked
step "\"cankaya\" found Çankaya (Ankara), row $row; Down and Enter filled the dialog"

# The focus is on "Kaydet" now: Enter saves.
[ "$(driver focus "Hesap Parametreleri")" = 1 ] || fail "the focus is not on Kaydet after the pick"
xdotool key --window "$calc_x" Return 2>/dev/null
driver gone "Hesap Parametreleri" 10000 || fail "Enter did not save"
ini_has "Liste Kullan=1"
ini_has "Şehir No.=$row"
ini_has "Şehir Adı=Çankaya"
ini_has "Ülke Adı=Ankara"
ini_has "Enlem=3991"
ini_has "Boylam=3286"
ini_has "Saat Farkı=180"
step "Enter after the pick saved the row"

# A decimal comma, as the Turkish numeric pad types it.
open_dialog 1040 "Hesap Parametreleri"
driver click "Hesap Parametreleri" 1087
driver set "Hesap Parametreleri" 1091 "41,01"
driver set "Hesap Parametreleri" 1092 "28,97"
driver set "Hesap Parametreleri" 1093 "3,5"
shot calc-params-comma
close_dialog "Hesap Parametreleri" 1
ini_has "Liste Kullan=0"
ini_has "Enlem=4101"
ini_has "Boylam=2897"
ini_has "Saat Farkı=210"
step "41,01 / 28,97 / 3,5 saved as 4101 / 2897 / 210"

# No download address is configured: a missing sala.wav is not offered for
# download but for choosing; the chosen WAV becomes sala.wav.
rm "$prog/sala.wav"
open_dialog 1058 "Seçenekler"
driver click "Seçenekler" 1111
driver click "Seçenekler" 1
driver wait "Miravel" 10000 || fail "no question about the missing sala.wav"
question=$(driver text "Miravel" 65535)
case "$question" in
  *"seçmek ister misiniz"*) ;;
  *) fail "the question is '$question'" ;;
esac
shot sala-choose-question
driver click "Miravel" 6
driver wait "Salâ Dosyası Seç" 10000 || fail "Yes opened no file dialog"
sleep 0.5
shot sala-choose-file
# The program's folder seen from Windows, on Wine's driver Z:.
chosen="Z:${prog//\//\\}\\ezan.wav"
driver set "Salâ Dosyası Seç" 1152 "$chosen" ||
  driver set "Salâ Dosyası Seç" 1148 "$chosen" || fail "no file name box"
driver click "Salâ Dosyası Seç" 1
driver gone "Seçenekler" 10000 || fail "the options stayed open"
cmp -s "$prog/ezan.wav" "$prog/sala.wav" || fail "sala.wav is not the chosen file"
ini_has "Cuma Salâsı=Evet"
step "a missing sala.wav: choosing a WAV file offered, not a download; the file copied"
step "PASS"
