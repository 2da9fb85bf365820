#!/usr/bin/env bash
# The charts and the wallpaper of miravel.exe under Wine, in a fresh folder
# and Wine prefix on a virtual X display of 1024 x 768.
#
#   e2e-graphics.sh <miravel.exe> <miravel-graphics-driver.exe> <work folder>
#
# Every chart command must show the graph window over the whole screen and a
# real key press (or click) must hide it; the wallpaper must come up at
# start-up from "Duvar", change, go off with the user's desktop values back,
# and the desktop must be given back at exit. Screenshots are kept in
# <work folder>/artifacts for a look.
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
e2e_name=e2e-graphics
. "$(dirname "$0")/../lib/wine-session.sh"

e2e_workdir "$3"
e2e_display
step "new Wine prefix on $DISPLAY"
e2e_prefix
e2e_shell_desktop
# The user's own wallpaper values, which must survive.
e2e_reg_add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 1
e2e_reg_add 'HKCU\Control Panel\Desktop' /v WallPaperStyle /d 2
wineserver -w

e2e_install "$exe" "$driver_exe"
# Istanbul, no sounds, no boxes, the moon as wallpaper from the last run.
write_ini "$prog/miravel.ini" <<'INI'
[Hesap Paramatreleri]
Enlem=4101
Boylam=2897
Saat Farkı=180
Windows Saat Dilimi=0
Yaz Saati=0
Windows Yaz Saati=0
Liste Kullan=0
Hesap Modu=4

[Seçenekler]
Ezan/Salâ=Hayır
Hatırlat=Hayır
iletiler=0
Duvar=Ay
INI

cd "$prog"
# The colour of one screen pixel of a screenshot, as "r,g,b".
pixel() {
  convert "$art/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
duvar() { ini_text miravel.ini | sed -n 's/^Duvar=//p'; }

"$wine" explorer /desktop=shell,1024x768 >/dev/null 2>&1 &
sleep 2
step "start with Duvar=Ay"
"$wine" miravel.exe >"$work/miravel.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do
  driver ready && break
  sleep 0.2
done
driver ready || fail "the program did not start"
sleep 2
shot startup-moon-wallpaper
desktop_colour=$(pixel startup-moon-wallpaper 20 20)
[ "$(pixel startup-moon-wallpaper 512 300)" != "$desktop_colour" ] ||
  fail "no moon in the middle of the desktop at start-up"
values=$(driver desktop)
step "$values"
case "$values" in *'TileWallpaper="1" WallPaperStyle="2"'*) ;; *) fail "user's values not put back: $values" ;; esac

graph_shown() { driver graph >/dev/null; }
graph_hidden() { ! driver graph >/dev/null; }
# The window covers the whole screen: no desktop left at the corners.
chart_covers() {
  shot "chart-$1"
  [ "$(pixel "chart-$1" 1020 5)" != "$desktop_colour" ]
}
for c in 1031 1032 1033 1034 1035 1036 1037 1038 1039; do
  driver command "$c" >/dev/null || fail "command $c"
  retry 20 0.25 graph_shown || fail "chart $c: graph window not shown"
  retry 10 0.25 chart_covers "$c" || fail "chart $c does not cover the screen"
  if [ "$c" = 1039 ]; then xdotool mousemove 500 500 click 1; else xdotool key Escape; fi
  retry 20 0.25 graph_hidden || fail "chart $c: still shown after a key press or click"
  step "chart $c shown and hidden"
done

step "wallpaper: earth map, then off"
driver command 1047 >/dev/null
sleep 1
shot earth-wallpaper
[ "$(duvar)" = "Yeryüzü" ] || fail "Duvar is $(duvar)"
driver command 1047 >/dev/null
sleep 1
shot wallpaper-off
[ "$(duvar)" = "Yok" ] || fail "Duvar is $(duvar) after switching off"
[ "$(pixel wallpaper-off 512 384)" = "$desktop_colour" ] || fail "the picture stays after switching off"
values=$(driver desktop)
case "$values" in *'TileWallpaper="1" WallPaperStyle="2" Wallpaper=""'*) ;; *) fail "desktop not restored: $values" ;; esac

step "wallpaper: globe, left on at exit"
driver command 1048 >/dev/null
sleep 1
shot globe-wallpaper
[ "$(pixel globe-wallpaper 512 384)" != "$desktop_colour" ] || fail "no globe on the desktop"
driver quit >/dev/null || true
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
app_pid=""
# The desktop repaints when it gets to it: up to 10 s with other tests beside.
desktop_back() { shot after-exit && [ "$(pixel after-exit 512 384)" = "$desktop_colour" ]; }
retry 10 1 desktop_back || fail "the globe stays after exit"
[ "$(duvar)" = "Yerküre" ] || fail "the choice is not kept for the next start: $(duvar)"
step "PASS"
