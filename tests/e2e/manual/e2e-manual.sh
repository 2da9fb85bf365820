#!/usr/bin/env bash
# The manual under Wine on a virtual display, on Wine's desktop with taskbar:
#
#   e2e-manual.sh <miravel.exe> <dialog driver.exe> <page viewer.exe> <source folder> <work folder>
#
# A stand-in viewer is registered for .html (and, in one step, for .rtf) in
# the test's own prefix; every .rtf association the prefix may bring is
# removed first, so the result does not depend on how Wine was set up.
#   - no program for RTF: "Kullanım Kılavuzu" (1060) opens miravel.html, maximised;
#   - a program for RTF: it opens miravel.rtf, and the HTML is left alone;
#   - no program for RTF: the about box's "WEB sayfası" opens miravel.html.
# Screenshots are kept in <work folder>/artifacts.
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
viewer_exe=$(realpath "$3")
src=$(realpath "$4")
e2e_name=e2e-manual
export LC_ALL=C.UTF-8
. "$(dirname "$0")/../lib/wine-session.sh"

e2e_desktop_session "$5"

e2e_install "$exe" "$driver_exe"
cp "$viewer_exe" "$prog/viewer.exe"
python3 "$src/docs/make_manual.py" "$src/docs/kilavuz.txt" "$prog/miravel.rtf" "$prog/miravel.html"
e2e_istanbul_ini 'Ezan/Salâ=Hayır' 'Uyandır=Hayır' 'iletiler=0'
log="$prog/viewer.log"
viewer_win="Z:$(echo "$prog/viewer.exe" | tr / '\\')"

# What the fresh prefix brings for the two types, kept for the record.
{
  echo "HKCR\\.rtf:"
  "$wine" reg query 'HKCR\.rtf' 2>&1 | tr -d '\r' || true
  echo "HKCR\\.html:"
  "$wine" reg query 'HKCR\.html' 2>&1 | tr -d '\r' || true
} >"$art/associations-of-the-fresh-prefix.txt"

no_rtf_program() {
  "$wine" reg delete 'HKCR\.rtf' /f >/dev/null 2>&1 || true
  "$wine" reg delete 'HKCU\Software\Classes\.rtf' /f >/dev/null 2>&1 || true
  "$wine" reg query 'HKCR\.rtf' >/dev/null 2>&1 && fail "cannot remove the .rtf association"
  return 0
}
register_viewer() {  # extension, class name
  e2e_reg_add "HKCR\\$1" /ve /d "$2"
  e2e_reg_add "HKCR\\$2\\shell\\open\\command" /ve /d "\"$viewer_win\" \"%1\""
}
no_rtf_program
register_viewer .html MiravelTestPage

log_lines() { [ -f "$log" ] && tr -d '\r' <"$log" | wc -l || echo 0; }
# Waits for the viewer's next line after line $1; prints it.
next_opened() {
  local before=$1 line=""
  for _ in $(seq 100); do
    if [ "$(log_lines)" -gt "$before" ]; then
      line=$(tr -d '\r' <"$log" | sed -n "$((before + 1))p")
      break
    fi
    sleep 0.2
  done
  echo "$line"
}

(cd "$prog" && exec "$wine" miravel.exe >"$work/miravel.log" 2>&1) &
app_pid=$!
retry 100 0.2 driver command 0 || fail "the program's window did not appear"
sleep 1

# 1. No program for RTF: the menu entry opens the HTML page, maximised.
n=$(log_lines)
driver command 1060 || fail "command 1060"
line=$(next_opened "$n")
case "$line" in
  "3 "*'\miravel.html') ;;
  *) fail "the manual entry opened '$line', not miravel.html maximised" ;;
esac
sleep 1.5
shot manual-html-without-rtf-program
step "no program for RTF: the manual entry opened miravel.html, maximised"

# 2. A program for RTF: the RTF file, as before, and nothing else.
register_viewer .rtf MiravelTestRtf
n=$(log_lines)
driver command 1060 || fail "command 1060"
line=$(next_opened "$n")
case "$line" in
  "3 "*'\miravel.rtf') ;;
  *) fail "with a program for RTF the manual entry opened '$line'" ;;
esac
sleep 1.5
[ "$(log_lines)" -eq $((n + 1)) ] || fail "the HTML was opened as well"
shot manual-rtf-with-rtf-program
step "a program for RTF: the manual entry opened miravel.rtf alone"

# 3. No program for RTF again: the about box's web button.
no_rtf_program
driver command 1062 || fail "command 1062"
driver wait "Hakkında" 15000 || fail "no about box"
sleep 0.5
shot about-box
n=$(log_lines)
driver click "Hakkında" 1103 || fail "no button 1103 in the about box"
driver gone "Hakkında" 10000 || fail "the about box stays open"
line=$(next_opened "$n")
case "$line" in
  "3 "*'\miravel.html') ;;
  *) fail "the about box's web button opened '$line', not miravel.html" ;;
esac
sleep 1.5
shot about-web-button-html
step "no program for RTF: the about box's web button opened miravel.html"

driver command 1069 || true
wait_app_exit "Çıkış" 20
step "PASS"
