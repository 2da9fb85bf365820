# A real NTP server for the end-to-end scripts: chronyd serving its own
# clock (local stratum 8) without ever touching the system clock (-x), on
# the address and port given, with no command socket. Sourced, not run:
#
#   . "$(dirname "$0")/lib/chrony-server.sh"
#   chrony_start <work folder> <address> <port> [<command prefix>...]
#       starts it (through the prefix: "ip netns exec NS", "faketime -f +90s")
#       and waits until it listens; returns 1 when it does not.
#   chrony_stop <work folder>
#
# The caller stops it in its exit trap, so that a failing test leaves none.

chrony_start() {
  local dir=$1 address=$2 port=$3
  shift 3
  local user=(-u root)
  [ "$(id -u)" = 0 ] || user=(-U)
  cat >"$dir/chrony.conf" <<CONF
port $port
bindaddress $address
local stratum 8
allow 127.0.0.0/8
allow 10.0.0.0/8
cmdport 0
bindcmdaddress /
pidfile $dir/chronyd.pid
CONF
  "$@" chronyd -x -d -f "$dir/chrony.conf" "${user[@]}" >"$dir/chronyd.log" 2>&1 &
  echo $! >"$dir/chronyd.launcher"
  local i
  for i in $(seq 50); do
    if "$@" ss -uln 2>/dev/null | grep -q " $address:$port "; then return 0; fi
    sleep 0.1
  done
  return 1
}

chrony_stop() {
  local dir=$1 pid
  for f in "$dir/chronyd.pid" "$dir/chronyd.launcher"; do
    [ -s "$f" ] || continue
    pid=$(cat "$f")
    kill "$pid" 2>/dev/null || true
  done
  rm -f "$dir/chronyd.launcher"
}
