#!/usr/bin/env bash
# The report commands of miravel.exe under Wine: "Aylık İmsakiye" (1028),
# "Yıllık İmsakiye" (1029) and "Dini Günler" (1030) write miravel.txt beside
# the program, byte for byte what miravel-cli report writes for the same INI
# file and date; "Ramazan İmsakiyesi" (1051) writes miravel-imsakiye.html, the
# page of miravel-cli report ramadan --html, and hands it to the shell, which
# opens it in a stand-in browser registered for .html that records the call.
#
#   tray_reports.sh <miravel.exe> <tray-driver.exe> <miravel-cli.exe> <page-viewer.exe> <work folder>
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
cli_exe=$(realpath "$3")
viewer_exe=$(realpath "$4")
e2e_name="report e2e"
# No viewer for the report: the shell call fails quietly, as the program allows.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;notepad.exe=d"
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"

e2e_workdir "$5"
e2e_display
e2e_prefix

e2e_install "$exe" "$driver_exe" "$cli_exe" "$viewer_exe"
# A place south and west with summer time "Avrupa": the signs, the
# hemisphere words and the summer switch all show in the reports.
write_ini "$prog/miravel.ini" <<'INI'
[Hesap Paramatreleri]
Enlem=-3387
Boylam=-7063
Saat Farkı=-240
Windows Saat Dilimi=0
Yaz Saati=0
Windows Yaz Saati=1
Şehir Adı=Santiago
Ülke Adı=Şili
Hesap Modu=4
[Seçenekler]
Ezan/Salâ=Hayır
Uyandır=Hayır
iletiler=0
INI

start_app

declare -A kinds=([1028]=monthly [1029]=yearly [1030]=religious)
for command in 1028 1029 1030; do
  rm -f "$prog/miravel.txt"
  driver command $command >/dev/null || fail "command $command"
  [ -s "$prog/miravel.txt" ] || fail "command $command wrote no miravel.txt"
  # The working date is today for both; a run across midnight is retried.
  day=$(date +%d/%m/%Y)
  (cd "$prog" && "$wine" miravel-cli.exe report "${kinds[$command]}" --ini miravel.ini \
    --date "$day" --out cli.txt) || fail "miravel-cli report ${kinds[$command]}"
  cmp "$prog/miravel.txt" "$prog/cli.txt" || fail "command $command differs from the CLI"
  echo "report e2e: $command (${kinds[$command]}) $(stat -c %s "$prog/miravel.txt") bytes, same as miravel-cli"
done
kill -0 "$app_pid" 2>/dev/null || fail "the program ended"

e2e_reg_add 'HKCR\.html' /ve /d MiravelTestPage
e2e_reg_add 'HKCR\MiravelTestPage\shell\open\command' /ve \
  /d "\"Z:$(echo "$prog/$(basename "$viewer_exe")" | tr / '\\')\" \"%1\""
driver command 1051 >/dev/null || fail "command 1051"
(cd "$prog" && "$wine" miravel-cli.exe report ramadan --html --ini miravel.ini \
  --date "$(date +%d/%m/%Y)" --out cli.html) || fail "miravel-cli report ramadan --html"
cmp "$prog/miravel-imsakiye.html" "$prog/cli.html" || fail "the Ramazan page differs from the CLI's"
retry 50 0.2 test -s "$prog/viewer.log" || fail "the shell opened no page"
opened=$(tr -d '\r' <"$prog/viewer.log")
[[ $opened == "3 "*'\miravel-imsakiye.html' ]] || fail "the shell opened '$opened'"
echo "report e2e: 1051 (ramadan) $(stat -c %s "$prog/cli.html") bytes, same as miravel-cli, opened maximised"

# A page that cannot be written is told, with "iletiler" 0 too.
rm "$prog/miravel-imsakiye.html"
mkdir "$prog/miravel-imsakiye.html"
driver command 1051 >/dev/null &
box=$(driver answer-yes Hata) || fail "no box for a page that cannot be written"
[[ $box == *"İmsakiye sayfası yazılamadı"* ]] || fail "the box says '$box'"
wait $! || fail "command 1051 with a folder in the way"
echo "report e2e: 1051 with a folder in the way: $box"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
