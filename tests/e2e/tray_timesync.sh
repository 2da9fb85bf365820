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
for tool in ip xinetd xdotool import; do
  command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "needs root for the namespace"; exit 77; }
e2e_name="timesync e2e"
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib/wine-session.sh"
e2e_workdir "$3"

# Names and addresses of this run: another run at the same time picks others.
tag=$((RANDOM % 200 + 20))
ns="miravel-time-$tag-$$"
host_if="mvt${tag}a"
ns_if="mvt${tag}b"
host_ip="10.237.$tag.1"
server_ip="10.237.$tag.2"

e2e_on_exit() {
  if [ -s "$work/xinetd.pid" ]; then kill "$(cat "$work/xinetd.pid")" 2>/dev/null || true; fi
  ip link del "$host_if" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
}

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
xinetd_bound() { ip netns exec "$ns" ss -uln | grep -q "$server_ip:37 "; }
retry 50 0.1 xinetd_bound || fail "xinetd did not bind $server_ip:37"

e2e_display
e2e_prefix

cp "$exe" "$prog/miravel.exe"
cp "$driver_exe" "$prog/driver.exe"
write_ini "$prog/miravel.ini" <<INI
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
wait_window "Sunucu Adresi : $server_ip" >/dev/null
sleep 1
shot timesync-box
echo "timesync e2e: box 'Sunucu Adresi : $server_ip' shown; screenshot $art/timesync-box.png"
