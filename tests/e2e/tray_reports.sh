#!/usr/bin/env bash
# The report commands of miravel.exe under Wine: "Aylık İmsakiye" (1028),
# "Yıllık İmsakiye" (1029) and "Dini Günler" (1030) write miravel.txt beside
# the program, byte for byte what miravel-cli report writes for the same INI
# file and date.
#
#   tray_reports.sh <miravel.exe> <tray-driver.exe> <miravel-cli.exe> <work folder>
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
cli_exe=$(realpath "$3")
e2e_name="report e2e"
# No viewer for the report: the shell call fails quietly, as the program allows.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;notepad.exe=d"
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"

e2e_workdir "$4"
e2e_display
e2e_prefix

e2e_install "$exe" "$driver_exe" "$cli_exe"
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
