# Real time servers for the end-to-end scripts. Sourced, not run:
#
#   . "$(dirname "$0")/lib/chrony-server.sh"
#   chrony_start <work folder> <address> <port> [<command prefix>...]
#       chronyd serving NTP from its own clock (local stratum 8) without ever
#       touching the system clock (-x), with no command socket; started
#       through the prefix ("ip netns exec NS", "faketime -f +90s") and
#       waited for until it listens; returns 1 when it does not.
#   chrony_stop <work folder>
#   xinetd_start <work folder> <address> [<command prefix>...]
#       xinetd's built-in Time Protocol service over UDP, on port 37 of the
#       address; returns 1 when it does not listen.
#   xinetd_stop <work folder>
#
# The caller stops them in its exit trap, so that a failing test leaves none.

# Waits until something listens on UDP address:port, through the prefix.
udp_bound() {
  local address=$1 port=$2 i
  shift 2
  for i in $(seq 50); do
    if "$@" ss -uln 2>/dev/null | grep -q " $address:$port "; then return 0; fi
    sleep 0.1
  done
  return 1
}

chrony_start() {
  local dir=$1 address=$2 port=$3
  shift 3
  faketime_leftovers_remove
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
  udp_bound "$address" "$port" "$@"
}

chrony_stop() {
  local dir=$1 launcher
  # chronyd first: a faketime wrapper in front of it then ends by itself and
  # removes its shared memory and semaphore, which a killed one leaves behind
  # for a later process of the same number to trip over ("sem_open: File
  # exists").
  if [ -s "$dir/chronyd.pid" ]; then kill "$(cat "$dir/chronyd.pid")" 2>/dev/null || true; fi
  if [ -s "$dir/chronyd.launcher" ]; then
    launcher=$(cat "$dir/chronyd.launcher")
    for _ in $(seq 30); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.1; done
    kill "$launcher" 2>/dev/null || true
  fi
  rm -f "$dir/chronyd.launcher"
  faketime_leftovers_remove
}

# What killed faketime wrappers of earlier runs left, whose process is gone.
faketime_leftovers_remove() {
  local f
  for f in /dev/shm/faketime_shm_* /dev/shm/sem.faketime_sem_*; do
    [ -e "$f" ] || continue
    kill -0 "${f##*_}" 2>/dev/null || rm -f "$f"
  done
}

xinetd_start() {
  local dir=$1 address=$2
  shift 2
  cat >"$dir/xinetd.conf" <<CONF
defaults
{
  log_type = FILE $dir/xinetd.log
}
service time
{
  type = INTERNAL
  id = time-dgram
  socket_type = dgram
  protocol = udp
  user = root
  wait = yes
  bind = $address
}
CONF
  "$@" xinetd -f "$dir/xinetd.conf" -pidfile "$dir/xinetd.pid"
  udp_bound "$address" 37 "$@"
}

xinetd_stop() {
  if [ -s "$1/xinetd.pid" ]; then kill "$(cat "$1/xinetd.pid")" 2>/dev/null || true; fi
}
