#!/usr/bin/env bash
# "Internet Saati" (command 1041) of miravel.exe under Wine against a real
# Time Protocol server: xinetd's built-in time service in a network
# namespace of this test's own (the program binds local port 37, which a
# server on the same host would hold too), reached over a veth pair with
# small private addresses. The comparison box "Sunucu Adresi : <server>"
# must appear; a screenshot of it is kept.
#
#   tray_timesync.sh <miravel.exe> <tray-driver.exe> <work folder>
# Exit 77 (skipped) without root, ip, xinetd, xdotool or import.
set -euo pipefail

exe=$(realpath "$1")
driver_exe=$(realpath "$2")
work=$3
for tool in ip xinetd xdotool import; do
  command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "needs root for the namespace"; exit 77; }

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
prog="$work/prog"
art="$work/artifacts"
mkdir -p "$prog" "$art"

export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
wine=$(command -v wine)

# Names and addresses of this run: another run at the same time picks others.
tag=$((RANDOM % 200 + 20))
ns="miravel-time-$tag-$$"
host_if="mvt${tag}a"
ns_if="mvt${tag}b"
host_ip="10.237.$tag.1"
server_ip="10.237.$tag.2"

fail() {
  echo "timesync e2e: FAIL: $*" >&2
  exit 1
}
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ -s "$work/xinetd.pid" ]; then kill "$(cat "$work/xinetd.pid")" 2>/dev/null || true; fi
  ip link del "$host_if" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
}
trap cleanup EXIT

ip netns add "$ns" || { echo "cannot create a network namespace"; exit 77; }
ip link add "$host_if" type veth peer name "$ns_if" || { echo "no veth"; exit 77; }
ip link set "$ns_if" netns "$ns"
ip addr add "$host_ip/30" dev "$host_if"
ip link set "$host_if" up
ip netns exec "$ns" ip addr add "$server_ip/30" dev "$ns_if"
ip netns exec "$ns" ip link set "$ns_if" up
ip netns exec "$ns" ip link set lo up
cat >"$work/xinetd.conf" <<CONF
defaults
{
  log_type = FILE $work/xinetd.log
}
service time
{
  type = INTERNAL
  id = time-dgram
  socket_type = dgram
  protocol = udp
  user = root
  wait = yes
  bind = $server_ip
}
CONF
ip netns exec "$ns" xinetd -f "$work/xinetd.conf" -pidfile "$work/xinetd.pid"
for _ in $(seq 50); do
  ip netns exec "$ns" ss -uln | grep -q "$server_ip:37 " && break
  sleep 0.1
done
ip netns exec "$ns" ss -uln | grep -q "$server_ip:37 " || fail "xinetd did not bind $server_ip:37"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
wineboot -i >"$work/wineboot.log" 2>&1 || true
wineserver -w

cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
iconv -f UTF-8 -t CP1254 <<INI | sed 's/$/\r/' >"$prog/miravel.ini"
[Hesap Paramatreleri]
Enlem=4101
Boylam=2897
Saat Farkı=180
Şehir Adı=İstanbul
Ülke Adı=Türkiye
[Seçenekler]
Ezan/Salâ=Hayır
iletiler=0
[Time Servers]
MaxHost=3
HostTimeout=3000
Host0=
Host1=$server_ip
INI

"$wine" "$prog/miravel.exe" >"$work/miravel.log" 2>&1 &
app_pid=$!
timeout 120 "$wine" "$prog/driver.exe" find 40000 >/dev/null 2>>"$work/driver.err" ||
  fail "no main window"
# The command runs the query and then waits in the box: the driver's send
# times out, which is expected.
timeout 60 "$wine" "$prog/driver.exe" command 1041 >/dev/null 2>>"$work/driver.err" &
box=""
for _ in $(seq 100); do
  box=$(xdotool search --name "^Sunucu Adresi : $server_ip\$" 2>/dev/null | head -n1 || true)
  [ -n "$box" ] && break
  sleep 0.2
done
[ -n "$box" ] || {
  import -window root "$art/no-box.png" || true
  fail "no box 'Sunucu Adresi : $server_ip'"
}
sleep 1
import -window root "$art/timesync-box.png"
echo "timesync e2e: box 'Sunucu Adresi : $server_ip' shown; screenshot $art/timesync-box.png"
