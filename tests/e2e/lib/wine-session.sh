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
#
# A fresh prefix is a copy of a pristine one that wineboot makes once in the
# folder above the work folder; making one takes many times longer than
# copying it. A script with cleanup of its own defines e2e_on_exit.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=$(command -v wine)

work=""
art=""
prog=""
xvfb_pid=""
app_pid=""

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
    echo "$e2e_name: logs in $work, screenshots in $art" >&2
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
  local template
  template="$(dirname "$work")/wineprefix-template"
  # One maker at a time; a template of another Wine is made anew.
  (
    flock 9
    local version
    version=$("$wine" --version 2>/dev/null)
    if [ "$(cat "$template/.e2e-wine-version" 2>/dev/null)" != "$version" ]; then
      rm -rf "$template"
      # Made the same whatever clock, zone or locale the caller has set.
      env -u TZ -u LC_ALL -u LD_PRELOAD -u FAKETIME WINEPREFIX="$template" \
        wineboot -i >"$work/wineboot.log" 2>&1 || true
      WINEPREFIX="$template" wineserver -w
      echo "$version" >"$template/.e2e-wine-version"
    fi
  ) 9>"$template.lock"
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
  export WINEPREFIX="$prefix"
}

e2e_reg_add() { "$wine" reg add "$@" /f >/dev/null 2>&1; }

e2e_shell_desktop() {
  e2e_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell
  e2e_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "${1:-1024x768}"
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
