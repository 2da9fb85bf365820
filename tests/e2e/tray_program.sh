#!/usr/bin/env bash
# End-to-end run of miravel.exe under Wine on a virtual X display, in a fresh
# folder and Wine prefix, on a clock set to Sunday 21/06/2020 in İstanbul
# (ÖĞLE at 13:13). A console driver finds the window of class "Miravel" and
# talks to it the way the shell and the user do.
#
#   tray_program.sh <miravel.exe> <miravel-tray-driver.exe> <work folder>
#
# Screenshots are kept in <work folder>/artifacts.
set -euo pipefail

e2e_name=e2e
export TZ=Europe/Istanbul
# Wine takes file names and arguments in the locale's encoding.
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"

e2e_desktop_session "$3"
e2e_install "$1" "$2"
e2e_istanbul_ini 'Ezan/Salâ=Evet' 'Uyandır=Hayır' 'iletiler=2' 'AKŞAM=yok.mp3'
ini="$prog/miravel.ini"

# The tray menu as the right button opens it; closed again by a click beside it.
open_menu() {
  xdotool mousemove 1000 740
  driver tray-mouse 0x204 >/dev/null
  driver popup-menu open 5000 >/dev/null || fail "the tray menu did not open"
  sleep 0.5
}
# Hover "Ayarlar", then "İletiler": the check marks of the switches.
open_settings_submenus() {
  xdotool mousemove 930 693
  sleep 1
  xdotool mousemove 860 693 mousemove 800 616
  sleep 1
}
close_menu() {
  xdotool mousemove 400 300 click 1
  driver popup-menu closed 5000 >/dev/null || fail "the tray menu did not close"
}

# --- Run 1: one minute before ÖĞLE, messages as boxes ----------------------
set_clock "2020-06-21 13:12:20 +0300"
start_app run1
expect_title "ÖĞLE vaktine kalan süre =  0:01"
driver tray present >/dev/null || fail "no tray icon"
step "tray icon present"

before=$(sha256sum <"$ini")
second_rc=0
timeout 60 env "${clock_env[@]}" "$wine" "$prog/miravel.exe" >"$work/miravel-second.log" 2>&1 ||
  second_rc=$?
[ $second_rc -eq 0 ] || fail "second start exited with $second_rc"
[ "$(sha256sum <"$ini")" = "$before" ] || fail "second start changed the INI file"
kill -0 "$app_pid" 2>/dev/null || fail "the first instance ended"
step "second start: exit code 0, INI file unchanged"

open_menu
shot tray-menu
open_settings_submenus
shot tray-menu-settings
# "Yardım": "Kullanım Kılavuzu" is grayed, the folder has no manual.
xdotool mousemove 930 710
sleep 1
shot tray-menu-help
close_menu
xdotool mousemove 1013 757
sleep 1.5
shot tray-tooltip

step "waiting for the ÖĞLE adhan"
out=$(driver wait-adhan-box 1 90000) || fail "adhan box: $out"
shot adhan-box
step "adhan box titled Miravel with the dua text, owned by the main window, topmost"
driver tray present >/dev/null || fail "the tray icon went away during the adhan"
driver close-boxes >/dev/null || fail "the adhan box did not close"
expect_title "ÖĞLE vaktine kalan süre =  0:00"

driver command 1042 >/dev/null || fail "command 1042"
driver command 1149 >/dev/null || fail "command 1149"
driver command 1044 >/dev/null || fail "command 1044"
ini_has "iletiler=1"
state=$(driver menu-state 1042) && [ "$state" != "unchecked" ] &&
  [ "$state" != "unchecked grayed" ] && fail "1042 still checked: $state"
driver command 1069 >/dev/null || fail "command 1069"
wait_app_exit "Çıkış"
ini_has "Ezan/Salâ=Hayır"
ini_has "Uyandır=Evet"
step "Çıkış: ended with 0, wrote Ezan/Salâ=Hayır, Uyandır=Evet; iletiler=1 at once"

# --- Run 2: the switches come back; Windows ends the session ---------------
set_clock "2020-06-21 14:30:00 +0300"
start_app run2
expect_title "İKİNDİ vaktine kalan süre =  2:42"
driver tray present >/dev/null || fail "no tray icon in run 2"
# The shell restarts: the icon is gone, "TaskbarCreated" brings it back with
# the tooltip it last had.
driver tray-delete >/dev/null || fail "could not remove the tray icon"
driver tray absent >/dev/null || fail "the tray icon is still there"
driver taskbar-created >/dev/null || fail "TaskbarCreated"
driver tray present >/dev/null || fail "no tray icon after TaskbarCreated"
xdotool mousemove 1013 757
sleep 1.5
shot tray-readded-tooltip
step "TaskbarCreated: the icon is back"
# A single click shows the time bar once the double-click time has passed;
# a double click does not touch it; the hot key hides it again.
driver tray-mouse 0x201 >/dev/null
out=$(driver time-bar shown 5000) || fail "time bar after a single click: $out"
shot time-bar
step "time bar $out"
driver tray-mouse 0x201 0x202 0x203 0x202 >/dev/null
sleep 1.5
out=$(driver time-bar shown 100) || fail "a double click toggled the time bar: $out"
driver hot-key >/dev/null
out=$(driver time-bar hidden 5000) || fail "time bar after the hot key: $out"
step "double click leaves the bar, the hot key hides it"
open_menu
open_settings_submenus
shot tray-menu-restored
close_menu
driver command 1042 >/dev/null || fail "command 1042"
# "Ezan / Salâ" and "Bilgisayarı Uyandır" both on: the pass that a display
# change forces arms the waitable timer; where the system cannot wake the
# computer the entry is grayed (the screenshot shows which).
driver display-change >/dev/null || fail "WM_DISPLAYCHANGE"
sleep 2
expect_title "İKİNDİ vaktine kalan süre =  2:42"
open_menu
xdotool mousemove 930 693
sleep 1
shot wake-up-menu
close_menu
# "Ezan Dinle" → "AKŞAM" with a file the shell cannot open: an error balloon
# (style Baloncuk) and the five-second pause.
t0=$(date +%s%N)
driver command 1073 >/dev/null || fail "command 1073"
elapsed_ms=$((($(date +%s%N) - t0) / 1000000))
[ $elapsed_ms -ge 4500 ] || fail "no pause after the playback error ($elapsed_ms ms)"
shot error-balloon
step "Ezan Dinle AKŞAM with yok.mp3: error balloon, paused $elapsed_ms ms"
driver command 1149 >/dev/null || fail "command 1149"
driver command 1043 >/dev/null || fail "command 1043"
ini_has "iletiler=0"
# "Ezan Dosyası Seç" → "ÖĞLE": a file in another folder, with Turkish letters.
mkdir -p "$prog/sesler"
cp "$prog/ezan.wav" "$prog/sesler/Öğle ezanı.wav"
out=$(driver choose-adhan-file 1 -) || fail "file dialog: $out"
sleep 0.5
shot adhan-file-dialog
chosen_win="Z:$(echo "$prog/sesler/Öğle ezanı.wav" | tr / '\\')"
out=$(driver choose-adhan-file 1 "$chosen_win") || fail "file dialog: $out"
ini_has "ÖĞLE=$chosen_win"
step "Ezan Dosyası Seç: ÖĞLE=$chosen_win written"
out=$(driver query-end) || fail "WM_QUERYENDSESSION: $out"
wait_app_exit "WM_QUERYENDSESSION"
ini_has "Ezan/Salâ=Evet"
ini_has "Uyandır=Hayır"
step "WM_QUERYENDSESSION: answered 1, ended with 0, wrote Ezan/Salâ=Evet, Uyandır=Hayır"

# --- Run 3: the first pass itself falls on ÖĞLE -----------------------------
# The main window is still titled "Miravel" when the adhan box closes the
# previous window of that title; it must survive.
ini_text "$ini" | sed 's/^iletiler=.*/iletiler=2/' | write_ini "$ini.new"
mv "$ini.new" "$ini"
set_clock "2020-06-21 13:13:05 +0300"
start_app run3
out=$(driver wait-adhan-box 1 30000) || fail "adhan box at start: $out"
title=$(driver title)
[ "$title" = "Miravel" ] || fail "main window title during the first pass: '$title'"
step "adhan box at start-up; the main window, still titled Miravel, stays"
driver close-boxes >/dev/null || fail "the adhan box did not close"
expect_title "ÖĞLE vaktine kalan süre =  0:00"
driver tray present >/dev/null || fail "no tray icon in run 3"
driver close >/dev/null || fail "WM_CLOSE"
wait_app_exit "WM_CLOSE"

# --- Run 4: the same minute with "Hiçbiri": no box, not even in the first pass
ini_text "$ini" | sed 's/^iletiler=.*/iletiler=0/' | write_ini "$ini.new"
mv "$ini.new" "$ini"
set_clock "2020-06-21 13:13:05 +0300"
start_app run4
expect_title "ÖĞLE vaktine kalan süre =  0:00"
[ "$(driver count-boxes)" = "0" ] || fail "a box in the style Hiçbiri"
step "style Hiçbiri at start-up in the adhan minute: no box"
driver command 1069 >/dev/null || fail "command 1069"
wait_app_exit "run 4"
ini_has "iletiler=0"
shot after-exit

step "PASS"
