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
e2e_name=e2e-dialogs
. "$(dirname "$0")/../lib/wine-session.sh"

e2e_workdir "$2"
e2e_display 1600x1200

dialogs=(AstroDlg SettingsDlg VakitDlg VakitDlgWide RemindDlg TallyDlg AboutDlg PlaceDlg)

for dpi in 96 144; do
  e2e_prefix "$work/wineprefix-$dpi"
  e2e_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
  e2e_fixed_pitch_courier
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
    # Shown long enough for the pause and the screenshot below.
    MIRAVEL_SHOW_DIALOG=$d MIRAVEL_SHOW_SECONDS=5 "$wine" explorer /desktop=dialogs,1600x1200 \
      "$tests_exe" --gtest_also_run_disabled_tests --gtest_filter='DialogShow.*' \
      >"$log" 2>&1 &
    pid=$!
    # Up to 30 s: the Wine tests run side by side.
    retry 150 0.2 grep -q "^window" "$log" || fail "$d did not open at $dpi DPI"
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
