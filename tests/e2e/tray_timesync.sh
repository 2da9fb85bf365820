#!/usr/bin/env bash
# "Internet Saati" (command 1041) of miravel.exe under Wine against real
# time servers in a network namespace of this test's own, reached
# over a veth pair with small private addresses: xinetd's built-in Time
# Protocol service, then chronyd serving NTP with its clock 90 s ahead
# (faketime; chronyd never touches the system clock). Each time the
# comparison box "Sunucu Adresi : <server>" must appear, with the drift the
# server's clock gives; screenshots are kept. Every box of the program run
# as root is answered "Hayır": Wine running as root may set this machine's
# clock on "Evet".
#
# Then, alone in a private network and mount namespace (loopback only; Wine's
# server starts in there): with UDP port 37 held by another program, a Time
# Protocol entry on port 3737 must report the drift; with three names that
# a DNS server of the test's own never answers before "ntp:localhost",
# the main window must answer every WM_NULL within 500 ms, and the drift come.
#
# Last, the program runs as the unprivileged user "nobody" (inside the
# server's namespace), who cannot change the clock whatever Wine does: there
# "Evet" is answered, the program must say that the clock may not be set and
# offer administrator rights, answered "Hayır" (Wine has no PowerShell).
#
#   tray_timesync.sh <miravel.exe> <tray-driver.exe> <work folder> [<miravel-cli.exe>]
# Exit 77 (skipped) without root, ip, xinetd, chronyd, faketime, xdotool or import.
set -euo pipefail

outer=${1#--isolated}
[ -z "$outer" ] && shift
exe=$(realpath "$1")
driver_exe=$(realpath "$2")
for tool in ip unshare python3 xinetd chronyd faketime xdotool import; do
  command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "needs root for the namespace"; exit 77; }
e2e_name="timesync e2e"
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"
. "$(dirname "$0")/lib/chrony-server.sh"
e2e_workdir "$3"

ini_with_servers() {  # <HostTimeout> <Host0> [<Host1>…]
  local timeout=$1 i=0
  shift
  printf '%s\n' "[Hesap Paramatreleri]" Enlem=4101 Boylam=2897 "Saat Farkı=180" \
    "[Seçenekler]" "Ezan/Salâ=Hayır" iletiler=0 "[Time Servers]" "MaxHost=$#" "HostTimeout=$timeout" |
    write_ini "$prog/miravel.ini"
  for host in "$@"; do printf 'Host%d=%s\r\n' $((i++)) "$host" >>"$prog/miravel.ini"; done
}

if [ -z "$outer" ]; then
  e2e_on_exit() { kill "$(cat "$work/network.pid")" 2>/dev/null || true; chrony_stop "$work"; }
  ip link set lo up
  # A DNS server that never answers, a program holding port 37 and a Time
  # Protocol server on 3737 whose clock is 90 s ahead.
  python3 -c 'import select, socket, struct, time
def udp(a, p): s = socket.socket(2, 2); s.bind((a, p)); return s
dns, server = udp("127.0.0.53", 53), udp("127.0.0.1", 3737); held = udp("0.0.0.0", 37)
print("ready", flush=True)
while True:
    for s in select.select([dns, server], [], [])[0]:
        data, peer = s.recvfrom(512)
        if s is server: s.sendto(struct.pack("!I", int(time.time()) + 2208988800 + 90), peer)
' >"$work/network.out" 2>&1 &
  echo $! >"$work/network.pid"
  retry 50 0.1 grep -q ready "$work/network.out" || fail "no network: $(cat "$work/network.out")"
  printf 'nameserver 127.0.0.53\noptions timeout:5 attempts:2\n' >"$work/resolv.conf"
  mount --bind "$work/resolv.conf" /etc/resolv.conf
  chrony_start "$work" 127.0.0.1 123 faketime -f "+90s" || fail "chronyd: $(cat "$work/chronyd.log")"
  e2e_prefix
  # Without a window manager Wine waits 2 s for one at each hidden window.
  e2e_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  cp "$exe" "$prog/miravel.exe"
  cp "$driver_exe" "$prog/driver.exe"
  clock_before=$(date +%s)
  ini_with_servers 3000 time:127.0.0.1:3737
  start_app
  ask() {  # <what>: command 1041, the box answered "Hayır", its drift checked
    timeout 60 "$wine" "$prog/driver.exe" command 1041 >/dev/null 2>>"$work/driver.err" &
    box=$(timeout 60 "$wine" "$prog/driver.exe" answer-no "Sunucu Adresi : 127.0.0.1" 30000 |
      tr -d '\r') || fail "no box ($1): $box"
    echo "$box" | grep -Eq "saati  -(89|90|91)(,[0-9]{3})? saniye kaym" || fail "$1: $box"
  }
  ask "port 37 held, Time Protocol on 3737"
  step "port 37 held by another program: the Time Protocol entry on port 3737 reports -90 s"
  ini_with_servers 1500 zaman1.miravel-e2e.net ntp:zaman2.miravel-e2e.net \
    time:zaman3.miravel-e2e.net:3737 ntp:localhost
  timeout 60 "$wine" "$prog/driver.exe" responsive 12000 500 >"$work/responsive.out" &
  responsive_pid=$!
  sleep 2
  started=$(date +%s%N)
  ask "three unanswered names before NTP"
  took_ms=$((($(date +%s%N) - started) / 1000000))
  wait "$responsive_pid" || fail "the main window did not answer within 500 ms: $(cat "$work/responsive.out")"
  step "three unanswered names, -90 s after $took_ms ms; WM_NULL: $(cat "$work/responsive.out")"
  # Each name cost its 1.5 s, not the resolver's 10 s.
  [ "$took_ms" -ge 4500 ] && [ "$took_ms" -lt 12000 ] || fail "the check took $took_ms ms"
  [ $(($(date +%s) - clock_before)) -lt 200 ] || fail "this machine's clock moved"
  exit 0
fi

# Names and addresses of this run: another run at the same time picks others.
tag=$((RANDOM % 200 + 20))
ns="miravel-time-$tag-$$"
host_if="mvt${tag}a"
ns_if="mvt${tag}b"
host_ip="10.237.$tag.1"
server_ip="10.237.$tag.2"

e2e_on_exit() {
  xinetd_stop "$work"
  chrony_stop "$work"
  if [ -n "${nobody_pid:-}" ]; then kill "$nobody_pid" 2>/dev/null || true; fi
  if [ -d "$work/nobody/prefix" ]; then as_nobody wineserver -k 2>/dev/null || true; fi
  ip link del "$host_if" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
}

nobody_pid=""
# A command as "nobody" in the server's namespace, with a Wine prefix and
# home of that user's own.
as_nobody() {
  ip netns exec "$ns" runuser -u nobody -- env HOME="$work/nobody" TMPDIR="$work/nobody/tmp" \
    WINEPREFIX="$work/nobody/prefix" WINEDEBUG=-all DISPLAY="$DISPLAY" "$@"
}

ip netns add "$ns" || { echo "cannot create a network namespace"; exit 77; }
ip link add "$host_if" type veth peer name "$ns_if" || { echo "no veth"; exit 77; }
ip link set "$ns_if" netns "$ns"
ip addr add "$host_ip/30" dev "$host_if"
ip link set "$host_if" up
ip netns exec "$ns" ip addr add "$server_ip/30" dev "$ns_if"
ip netns exec "$ns" ip link set "$ns_if" up
ip netns exec "$ns" ip link set lo up
xinetd_start "$work" "$server_ip" ip netns exec "$ns" || fail "xinetd did not bind $server_ip:37"
chrony_start "$work" "$server_ip" 123 ip netns exec "$ns" faketime -f "+90s" ||
  fail "chronyd did not bind $server_ip:123: $(cat "$work/chronyd.log")"

e2e_display
e2e_prefix

cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
ini_with_servers 3000 "" "$server_ip"

start_app
clock_before=$(date +%s)
# The command runs the query and then waits in the box: the driver's send
# times out, which is expected.
timeout 60 "$wine" "$prog/driver.exe" command 1041 >/dev/null 2>>"$work/driver.err" &
wait_window "Sunucu Adresi : $server_ip" >/dev/null
sleep 1
shot timesync-box
box=$(timeout 60 "$wine" "$prog/driver.exe" answer-no "Sunucu Adresi : $server_ip" | tr -d '\r') ||
  fail "the Time Protocol box: $box"
echo "$box"
# Whole seconds: the same second, or the one before or after.
printf '%s\n' "$box" | grep -Eq "PC'nizin saati  (d.zeltme gerektirmiyor|-?1 saniye kaym)" ||
  fail "the Time Protocol box shows another drift"
echo "timesync e2e: box 'Sunucu Adresi : $server_ip' shown; screenshot $art/timesync-box.png"
box_gone() { ! xdotool search --onlyvisible --name "^Sunucu Adresi : $server_ip\$" >/dev/null 2>&1; }
retry 50 0.1 box_gone || fail "the Time Protocol box stayed on the screen"

# NTP first in the list now (read at every check): the server is 90 s
# ahead, so this computer is -90 s off, to the millisecond.
ini_with_servers 3000 "ntp:$server_ip" "$server_ip"
timeout 60 "$wine" "$prog/driver.exe" command 1041 >/dev/null 2>>"$work/driver.err" &
wait_window -v "Sunucu Adresi : $server_ip" >/dev/null
sleep 1
shot timesync-ntp-box
box=$(timeout 60 "$wine" "$prog/driver.exe" answer-no "Sunucu Adresi : $server_ip" | tr -d '\r') ||
  fail "the NTP box: $box"
echo "$box"
printf '%s\n' "$box" | grep -Eq "PC'nizin saati  -(89,9[0-9]{2}|90,0[0-9]{2}) saniye kaym" ||
  fail "the NTP box does not show a drift of -90 s"
# The command-line program under Wine reads the same server to the millisecond.
if [ -n "${4:-}" ]; then
  cli_out=$("$wine" "$(realpath "$4")" timesync "ntp:$server_ip" --json 2>&1 | tr -d '\r')
  echo "$cli_out"
  cli_offset=$(printf '%s\n' "$cli_out" | sed -n 's/.*"offsetMs":\(-\{0,1\}[0-9]*\)\.[0-9]*.*/\1/p')
  [ -n "$cli_offset" ] && [ "$cli_offset" -gt 89950 ] && [ "$cli_offset" -lt 90050 ] ||
    fail "miravel-cli.exe timesync: $cli_out"
fi
# Answered "Hayır": this machine's clock went on as it was.
clock_after=$(date +%s)
[ $((clock_after - clock_before)) -ge 0 ] && [ $((clock_after - clock_before)) -lt 120 ] ||
  fail "this machine's clock moved"
echo "timesync e2e: NTP box with a drift of -90 s shown; screenshot $art/timesync-ntp-box.png"
kill "$app_pid" 2>/dev/null || true
unshare -n -m "$BASH" "$0" --isolated "$exe" "$driver_exe" "$work-private" || fail "in a private network"

# --- The same program as a user who may not change the clock. ---
command -v runuser >/dev/null || { echo "timesync e2e: runuser not found, unprivileged part skipped"; exit 0; }
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""
wineserver -k 2>/dev/null || true
mkdir -p "$work/nobody/tmp" "$work/nobody/prog"
cp -a --reflink=auto "$(dirname "$work")/wineprefix-template" "$work/nobody/prefix"
e2e_prefixes+=("$work/nobody/prefix")
cp "$prog/miravel.exe" "$prog/driver.exe" "$prog/miravel.ini" "$work/nobody/prog/"
[ -n "${4:-}" ] && cp "$(realpath "$4")" "$work/nobody/prog/miravel-cli.exe"
chown -R nobody:nogroup "$work/nobody"
for d in "$work" "$(dirname "$work")"; do chmod o+x "$d"; done
as_nobody "$wine" "$work/nobody/prog/miravel.exe" >"$work/nobody.log" 2>&1 &
nobody_pid=$!
as_nobody timeout 120 "$wine" "$work/nobody/prog/driver.exe" find 40000 >/dev/null 2>>"$work/driver.err" ||
  fail "no main window of the program run as nobody"
# Only a program that cannot set the clock may be answered "Evet": every
# Windows process of that prefix runs as nobody.
prefix_owners() {
  local pid
  for pid in $(pgrep -x 'miravel.exe'; pgrep -x 'wineserver'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$work/nobody/prefix" &&
      stat -c %u "/proc/$pid" 2>/dev/null || true
  done | sort -u
}
owners=$(prefix_owners)
[ "$owners" = "$(id -u nobody)" ] || fail "the program's prefix runs as user(s) '${owners//$'\n'/ }', not nobody"

clock_before=$(date +%s)
as_nobody timeout 60 "$wine" "$work/nobody/prog/driver.exe" command 1041 >/dev/null 2>>"$work/driver.err" &
box=$(as_nobody timeout 60 "$wine" "$work/nobody/prog/driver.exe" answer-yes "Sunucu Adresi : $server_ip" |
  tr -d '\r') || fail "no comparison box for nobody: $box"
echo "$box"
printf '%s\n' "$box" | grep -Eq "PC'nizin saati  -(89,9[0-9]{2}|90,0[0-9]{2}) saniye kaym" ||
  fail "the comparison box for nobody shows another drift"
wait_window -v "Internet Saati" >/dev/null
sleep 1
shot timesync-needs-administrator
box=$(as_nobody timeout 60 "$wine" "$work/nobody/prog/driver.exe" answer-no "Internet Saati" |
  tr -d '\r') || fail "no administrator question: $box"
echo "$box"
printf '%s\n' "$box" | grep -q "yönetici izni istiyor.*Saat yönetici izniyle ayarlansın mı ?" ||
  fail "the question does not offer administrator rights"
clock_after=$(date +%s)
[ $((clock_after - clock_before)) -ge 0 ] && [ $((clock_after - clock_before)) -lt 150 ] ||
  fail "this machine's clock moved"
echo "timesync e2e: as nobody the clock is not set and administrator rights are offered; screenshot $art/timesync-needs-administrator.png"
