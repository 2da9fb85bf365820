#!/usr/bin/env bash
# The six dialogs under Wine on a virtual X display, at 96 and 144 DPI.
#
#   e2e-dialogs.sh <miravel_tests.exe> <work folder>
#
# At each DPI the dialog tests of the unit-test program must pass (every
# template loads, no control overlaps another or sticks out, no text is cut
# off, the procedures work), then each dialog is shown as the program shows
# it and photographed: <work folder>/artifacts/<dialog>-<dpi>.png.
set -euo pipefail

tests_exe=$(realpath "$1")
work=$2
rm -rf "$work"
mkdir -p "$work/artifacts"
work=$(realpath "$work")
art="$work/artifacts"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=$(command -v wine)

step() { echo "e2e-dialogs: $*"; }
fail() {
  echo "e2e-dialogs: FAIL: $*" >&2
  exit 1
}

xvfb_pid=""
cleanup() {
  local rc=$?
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  exit $rc
}
trap cleanup EXIT

display=99
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
sleep 1
kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"

dialogs=(AstroDlg SettingsDlg VakitDlg VakitDlgWide RemindDlg TallyDlg AboutDlg)

for dpi in 96 144; do
  export WINEPREFIX="$work/wineprefix-$dpi"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
  # Windows' "Courier" is a fixed-pitch font; Wine brings none with Turkish
  # letters, so the prefix takes the nearest fixed-pitch one.
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Courier /t REG_SZ \
    /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w || true

  "$wine" "$tests_exe" --gtest_filter='DialogTemplates.*:*DialogWin32.*' \
    >"$work/tests-$dpi.log" 2>&1 || {
    cat "$work/tests-$dpi.log" >&2
    fail "dialog tests at $dpi DPI"
  }
  grep -q 'SKIPPED' "$work/tests-$dpi.log" && fail "dialog tests skipped at $dpi DPI"
  step "$dpi DPI: templates, layout and procedures pass"

  for d in "${dialogs[@]}"; do
    log="$art/$d-$dpi.txt"
    MIRAVEL_SHOW_DIALOG=$d MIRAVEL_SHOW_SECONDS=8 "$wine" explorer /desktop=dialogs,1600x1200 \
      "$tests_exe" --gtest_also_run_disabled_tests --gtest_filter='DialogShow.*' \
      >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 1 50); do
      grep -q '^window' "$log" && break
      sleep 0.2
    done
    grep -q '^window' "$log" || fail "$d did not open at $dpi DPI"
    sleep 2
    import -window root "$work/screen.png"
    read -r _ x y w h < <(grep '^window' "$log" | tr -d '\r')
    convert "$work/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$art/$d-$dpi.png"
    wait "$pid" || fail "$d at $dpi DPI"
  done
  wineserver -k 2>/dev/null || true
  step "$dpi DPI: screenshots in $art"
done
step "PASS"
