#!/usr/bin/env bash
# miravel.exe under Wine, İstanbul on Sunday 21/06/2020 (ÖĞLE at 13:13):
#
# 1. Started at logon before the taskbar: a stand-in notification area (the
#    driver's fake-shell, above Wine's own) refuses every icon for its first
#    seconds. The program keeps running and scheduling, and shows its icon
#    once the shell takes it, without being told. A "TaskbarCreated" while
#    the icon exists leaves one icon; the end of the program deletes it.
# 2. Woken by its timer into the adhan minute: the process is stopped just
#    after the pass of 13:12 (its countdown then runs past 13:14) and
#    continued 4 s into 13:13, with only the automatic resume (18). The adhan
#    box appears at once and stays the one box while the resume events 18 and
#    7 follow.
# 3. With the box still open the clock is set back 30 s, announced as a time
#    service does, and "Aylık İmsakiye" is written: ÖĞLE does not play again,
#    neither at once nor when 13:13 comes round a second time.
# 4. A slow wake: the clock moves on to 22/06 13:12:02, the pass arms the
#    wake for ÖĞLE 13:13, the process is stopped and continued 80 s into
#    that minute with the automatic resume: the adhan plays once.
#
#   tray_logon_resume.sh <miravel.exe> <miravel-tray-driver.exe> <work folder>
set -euo pipefail

e2e_name=e2e-logon-resume
export TZ=Europe/Istanbul
export LC_ALL=C.UTF-8
# No viewer for the report: the shell call fails quietly, as the program allows.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;notepad.exe=d"
. "$(dirname "$0")/lib/wine-session.sh"

shell_pid=""
stopped_pid=""
e2e_on_exit() {
  if [ -n "$stopped_pid" ]; then kill -CONT "$stopped_pid" 2>/dev/null || true; fi
  if [ -n "$shell_pid" ]; then kill "$shell_pid" 2>/dev/null || true; fi
}

e2e_desktop_session "$3"
e2e_install "$1" "$2"
e2e_istanbul_ini 'Ezan/Salâ=Evet' 'Uyandır=Evet' 'iletiler=2'

# Seconds until the program's clock shows the given time of 21/06/2020 (or
# of the day given second).
seconds_until() {
  echo $(($(date -d "${2:-2020-06-21} $1 +0300" +%s) - $(date +%s) - offset))
}
# The process of the running miravel.exe.
miravel_pid() {
  pgrep -f "$prog/miravel.exe" | while read -r p; do
    [ "$(cut -c1-4 </proc/$p/comm)" = "bash" ] || echo "$p"
  done | head -n1
}
shell_log="$work/shell.log"
# The stand-in shell's requests from line $1 on, without the CRs.
shell_since() { tail -n +"$1" "$shell_log" | tr -d '\r'; }

set_clock "2020-06-21 13:11:35 +0300"

# --- 1. Before the taskbar ----------------------------------------------------
refuse_ms=12000
run_wine "$prog/driver.exe" fake-shell "Z:$shell_log" $refuse_ms 500000 \
  >"$work/shell.out" 2>&1 &
shell_pid=$!
retry 100 0.2 grep -qs '^started' "$shell_log" || fail "the stand-in shell did not start"
grep -q '^started, first' "$shell_log" || fail "the stand-in shell is not the one found: $(cat "$shell_log")"
shell_up=$(date +%s)
step "stand-in notification area up, refusing icons for $((refuse_ms / 1000)) s"

run_wine "$prog/miravel.exe" >"$work/miravel.log" 2>&1 &
app_pid=$!
driver find 40000 >/dev/null || fail "no main window: the program did not keep running"
expect_title
step "running and scheduling without an icon"
grep -q '^add refused (not ready)' "$shell_log" || fail "the icon was not asked for at start"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended when the shell refused its icon"

# Once the shell takes icons the retry adds it, without any announcement.
retry 60 0.5 grep -q '^add ok icons=1' "$shell_log" ||
  fail "the icon never came: $(tr '\n' ';' <"$shell_log")"
shown_after=$(($(date +%s) - shell_up))
driver tray present >/dev/null || fail "the icon is not there"
step "icon added by the retry, ${shown_after} s after the shell came up (refusing for $((refuse_ms / 1000)) s)"

# "TaskbarCreated" while the icon exists (a DPI or remote-desktop change).
from=$(($(wc -l <"$shell_log") + 1))
driver taskbar-created >/dev/null || fail "TaskbarCreated"
sleep 0.5
after=$(shell_since "$from" | tr '\n' ';')
case "$after" in
  "add refused icons=1;modify ok icons=1;"*) ;;
  *) fail "after TaskbarCreated: $after" ;;
esac
shell_since "$from" | grep -v 'icons=1$' && fail "not one icon after TaskbarCreated: $after"
step "TaskbarCreated with the icon there: one icon, refreshed"

# --- 2. Woken into the adhan minute -------------------------------------------
# The pass of 13:12:01 sets the countdown to 59; stopped right after it.
wait_s=$(seconds_until 13:12:02)
[ "$wait_s" -gt 0 ] || fail "start-up took too long (13:12:02 already passed)"
sleep "$wait_s"
expect_title "ÖĞLE vaktine kalan süre =  0:01"
unix_pid=$(miravel_pid)
[ -n "$unix_pid" ] || fail "no process of miravel.exe"
kill -STOP "$unix_pid"
stopped_pid=$unix_pid
step "asleep at $(TZ=Europe/Istanbul date -d "@$(($(date +%s) + offset))" +%T) (process $unix_pid stopped)"
sleep "$(seconds_until 13:13:04)"
kill -CONT "$unix_pid"
stopped_pid=""
woke=$(date +%s%N)
step "woken at $(TZ=Europe/Istanbul date -d "@$(($(date +%s) + offset))" +%T), automatic resume only"
driver resume 18 >/dev/null || fail "WM_POWERBROADCAST 18"
out=$(driver adhan-box-once 1 10000 6000 18 7) || fail "adhan box: $out"
box_ms=$((($(date +%s%N) - woke) / 1000000))
shot adhan-box-after-wake
step "$out; resume 18 and 7 after it changed nothing"

# --- 3. Set back 30 s and a report in the adhan minute -------------------------
step_clock "$(date -d "@$(($(date +%s) + offset - 30))" '+%F %T %z')"
sleep 1.2
driver time-change >/dev/null || fail "WM_TIMECHANGE"
driver command 1028 >/dev/null || fail "command 1028"
out=$(driver adhan-box-once 1 2000 40000) || fail "after the step back and the report: $out"
step "30 s back and Aylık İmsakiye in the ÖĞLE minute, 13:13 once more: $out"
driver close-boxes >/dev/null || fail "the adhan box did not close"

# --- 4. A slow wake for the next day's ÖĞLE -------------------------------------
step_clock "2020-06-22 13:12:02 +0300"
sleep 1.2
driver time-change >/dev/null || fail "WM_TIMECHANGE"
sleep 1
expect_title "ÖĞLE vaktine kalan süre =  0:01"
unix_pid=$(miravel_pid)
[ -n "$unix_pid" ] || fail "no process of miravel.exe"
kill -STOP "$unix_pid"
stopped_pid=$unix_pid
sleep "$(seconds_until 13:14:20 2020-06-22)"
kill -CONT "$unix_pid"
stopped_pid=""
step "woken 80 s into the ÖĞLE minute of 22/06, automatic resume only"
driver resume 18 >/dev/null || fail "WM_POWERBROADCAST 18"
out=$(driver adhan-box-once 1 10000 6000 7) || fail "adhan box after a slow wake: $out"
shot adhan-box-after-slow-wake
step "$out"
driver close-boxes >/dev/null || fail "the adhan box did not close"

# --- The end ------------------------------------------------------------------
driver command 1069 >/dev/null || fail "command 1069"
wait_app_exit "Çıkış"
retry 20 0.2 grep -q '^delete ok icons=0' "$shell_log" || fail "the icon was not deleted at the end"
step "Çıkış: the icon deleted, none left"
kill "$shell_pid" 2>/dev/null || true
wait "$shell_pid" 2>/dev/null || true
shell_pid=""
step "shell requests: $(tr '\n' ';' <"$shell_log")"
step "PASS"
