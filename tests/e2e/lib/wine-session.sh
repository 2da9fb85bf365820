# Shared by the end-to-end scripts that run Windows programs under Wine: a
# fresh work folder, a virtual X display, a private Wine prefix and the
# cleanup at exit. Sourced, not run:
#
#   e2e_name=my-test
#   . "$(dirname "$0")/lib/wine-session.sh"
#   e2e_workdir <folder>        sets work, prog, art (all empty and fresh)
#   e2e_display [WxH]           Xvfb on a free display; exports DISPLAY
#   e2e_prefix [<path>]         exports WINEPREFIX: a fresh prefix
#   e2e_shell_desktop [WxH]     the prefix's programs open on a virtual desktop
#   e2e_desktop_session <folder>  all four, the desktop 1024x768
#   e2e_install <exe> <driver> [files]  the program's folder: miravel.exe,
#                               driver.exe, the sounds, the settlement list
#   e2e_istanbul_ini [lines]    İstanbul's INI file, the lines after [Seçenekler]
#   set_clock <date>            the clock of every Wine process from now on
#   step_clock <date>           the same clock moved while the program runs
#   run_wine, driver            Wine and the test driver on that clock
#
# A fresh prefix is a copy of a template that wineboot makes once in the
# folder above the work folder (scripts/wine-prefix.sh). A test that passes removes its prefixes (a failing one keeps
# them and says where). A script with cleanup of its own defines e2e_on_exit.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=$(command -v wine)

e2e_src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
work=""
art=""
prog=""
xvfb_pid=""
app_pid=""
e2e_prefixes=()

step() { echo "$e2e_name: $*"; }
fail() {
  if [ -n "${DISPLAY:-}" ] && [ -n "$art" ]; then
    import -window root "$art/failure.png" 2>/dev/null || true
  fi
  echo "$e2e_name: FAIL: $*" >&2
  exit 1
}

e2e_cleanup() {
  local rc=$?
  if declare -F e2e_on_exit >/dev/null; then e2e_on_exit || true; fi
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  # Only this test's prefix: wineserver -k acts on $WINEPREFIX.
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ $rc -ne 0 ] && [ -n "$work" ]; then
    echo "$e2e_name: logs and Wine prefix in $work, screenshots in $art" >&2
  elif [ -n "$work" ]; then
    # The prefixes and the copies of the programs go; the screenshots and
    # logs stay.
    [ ${#e2e_prefixes[@]} -eq 0 ] || rm -rf "${e2e_prefixes[@]}"
    find "$work" -name '*.exe' -type f -delete 2>/dev/null || true
  fi
  exit $rc
}
trap e2e_cleanup EXIT

# Runs a command until it succeeds, at most <tries> times <pause> seconds apart.
retry() {
  local tries=$1 pause=$2 i
  shift 2
  for ((i = 1; i <= tries; i++)); do
    "$@" && return 0
    [ $i -eq "$tries" ] || sleep "$pause"
  done
  return 1
}

e2e_workdir() {
  rm -rf "$1"
  mkdir -p "$1"
  work=$(realpath "$1")
  prog="$work/prog"
  art="$work/artifacts"
  mkdir -p "$prog" "$art"
}

# Xvfb picks a display number nobody uses and writes it to fd 3 once it
# accepts clients.
e2e_display() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp \
    3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  retry 100 0.1 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

e2e_prefix() {
  local prefix=${1:-$work/wineprefix}
  "$e2e_src/scripts/wine-prefix.sh" "$(dirname "$work")/wineprefix-template" "$prefix" \
    >"$work/wineboot.log" 2>&1 || fail "no Wine prefix: $(cat "$work/wineboot.log")"
  e2e_prefixes+=("$prefix")
  export WINEPREFIX="$prefix"
}

e2e_reg_add() { "$wine" reg add "$@" /f >/dev/null 2>&1; }

e2e_shell_desktop() {
  e2e_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell
  e2e_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "${1:-1024x768}"
}

# What the tray tests start from: a fresh work folder, a display, and a
# fresh prefix whose programs open on Wine's desktop with its taskbar.
e2e_desktop_session() {
  e2e_workdir "$1"
  e2e_display
  step "display $DISPLAY"
  e2e_prefix
  e2e_shell_desktop
  wineserver -w || true
}

# Windows' "Courier" is a fixed-pitch font; Wine brings none with Turkish
# letters, so the prefix takes the nearest fixed-pitch one.
e2e_fixed_pitch_courier() {
  e2e_reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v Courier /t REG_SZ /d 'DejaVu Sans Mono'
}

shot() { import -window root "$art/$1.png"; }

# An INI file as the program keeps it (Windows-1254, CR LF) from UTF-8 on stdin.
write_ini() { iconv -f UTF-8 -t CP1254 | sed 's/$/\r/' >"$1"; }
# An INI file's text in UTF-8 without the CRs.
ini_text() { iconv -f CP1254 -t UTF-8 "$1" | tr -d '\r'; }

# Waits for a top-level window whose title is exactly $1 (a regular
# expression, anchored here); prints its X id. With -v only a visible one.
wait_window() {
  local visible=() id=""
  if [ "$1" = -v ]; then
    visible=(--onlyvisible)
    shift
  fi
  for _ in $(seq 150); do
    id=$(xdotool search "${visible[@]}" --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "no window '$1'"
  echo "$id"
}

# Waits until the program started as app_pid has ended (at most $2 seconds,
# 15 unless told); fails on a time-out or a non-zero exit code. $1 names the
# way it was ended.
wait_app_exit() {
  local rc=0
  retry $((${2:-15} * 10)) 0.1 eval '! kill -0 "$app_pid" 2>/dev/null' ||
    fail "the program did not end ($1)"
  wait "$app_pid" || rc=$?
  app_pid=""
  [ $rc -eq 0 ] || fail "exit code $rc ($1)"
}

# The program's folder as a user's installation has it, without the manual:
# the program, the test driver, the sounds, the settlement list and any
# further files given.
e2e_install() {
  cp "$1" "$prog/miravel.exe"
  cp "$2" "$prog/driver.exe"
  shift 2
  cp "$e2e_src"/data/*.wav "$e2e_src/data/miravel.csv" "$prog/"
  [ $# -eq 0 ] || cp "$@" "$prog/"
}

# İstanbul on a fixed offset of 3 h, mode 4 (ÖĞLE at 13:13 on 21/06/2020);
# the arguments are the lines of [Seçenekler] and any sections after it.
e2e_istanbul_ini() {
  printf '%s\n' '[Hesap Paramatreleri]' 'Enlem=4101' 'Boylam=2897' 'Saat Farkı=180' \
    'Windows Saat Dilimi=0' 'Yaz Saati=0' 'Windows Yaz Saati=0' 'Şehir Adı=İstanbul' \
    'Ülke Adı=Türkiye' 'Hesap Modu=4' '[Seçenekler]' "$@" | write_ini "$prog/miravel.ini"
}

# The program's clock. After set_clock every Wine process of the test sees
# the same shifted clock, the wine server too (it starts under the shift and
# stays until the next set_clock); the monotonic clock stays real.
# libfaketime is preloaded directly: the faketime wrapper would wait for the
# wine server, which inherits its pipe. It takes the offset from a file, read
# again at most once a second, so step_clock moves the clock of a running
# program. File times stay real: Wine compares them to decide whether the
# prefix needs an update.
clock_env=()
offset=0
set_clock() {
  local lib
  lib=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime\.so\.1$' || true)
  [ -n "$lib" ] || fail "libfaketime is not installed"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  step_clock "$1"
  clock_env=(LD_PRELOAD="$lib" FAKETIME_TIMESTAMP_FILE="$work/faketime.rc"
    FAKETIME_CACHE_DURATION=1 FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1)
  env "${clock_env[@]}" wineserver -p </dev/null >/dev/null 2>&1
}
step_clock() {
  offset=$(($(date -d "$1" +%s) - $(date +%s)))
  [ $offset -lt 0 ] || offset="+$offset"
  echo "$offset" >"$work/faketime.rc"
  step "clock set to $1 (offset $offset s)"
}
run_env() { env "${clock_env[@]}" "$@"; }
run_wine() { run_env "$wine" "$@"; }
# The test driver in the program's folder, its errors kept, without the CRs.
driver() {
  (cd "$prog" && timeout 120 env "${clock_env[@]}" "$wine" driver.exe "$@" 2>>"$work/driver.err") |
    tr -d '\r'
}
# Starts the program in its folder; waits for its main window.
start_app() {
  (cd "$prog" && exec env "${clock_env[@]}" "$wine" miravel.exe) >"$work/miravel-${1:-run}.log" 2>&1 &
  app_pid=$!
  driver find 40000 >/dev/null || fail "no main window (${1:-run})"
}
# The main window's title: the scheduler's remaining-time text for the
# moment; with an argument, also that literal text.
expect_title() {
  local title
  title=$(driver expect-title "Z:$prog/miravel.ini" 20000) || fail "title: $title"
  [ $# -eq 0 ] || [ "$title" = "$1" ] || fail "title '$title', expected '$1'"
  step "title: $title"
}
# Waits for the program's INI file to hold the line (it is written once a
# dialog's loop has ended).
ini_has() {
  ini_line() { ini_text "$prog/miravel.ini" | grep -qxF "$1"; }
  retry 50 0.1 ini_line "$1" || {
    ini_text "$prog/miravel.ini" >&2
    fail "the INI file lacks '$1'"
  }
}
