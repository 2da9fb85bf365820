#!/bin/bash
# miravel-cli timesync against a real Time Protocol server: xinetd's
# built-in "time" service over UDP, bound to a loopback address of its own
# (the service always listens on port 37; the client uses any free port).
# Skips (exit 77) where xinetd is missing or cannot bind port 37.
set -u
cli=$1
work=$2
command -v xinetd >/dev/null || { echo "xinetd not found"; exit 77; }
[ "$(id -u)" = 0 ] || { echo "port 37 needs root"; exit 77; }
rm -rf "$work" && mkdir -p "$work" || exit 1
# An address no other run of this test is likely to hold.
address=127.37.$((RANDOM % 250 + 1)).$((RANDOM % 250 + 1))
. "$(dirname "$0")/lib/chrony-server.sh"
trap 'xinetd_stop "$work"' EXIT
xinetd_start "$work" "$address" || { echo "xinetd did not bind $address:37"; exit 77; }

fail=0
out=$("$cli" timesync "$address" --timeout 2000 2>&1)
rc=$?
echo "$out"
drift=$(printf '%s\n' "$out" | sed -n 's/^drift: \(-\{0,1\}[0-9]*\) s.*/\1/p')
if [ $rc -ne 0 ] || ! printf '%s\n' "$out" | grep -q "^Sunucu Adresi : $address\$" ||
    [ -z "$drift" ] || [ "${drift#-}" -gt 1 ]; then
    echo "FAIL: expected an answer from $address within a second of this clock"
    fail=1
fi
# A computer clock 90 s ahead (faketime) is reported as 90 s ahead.
if command -v faketime >/dev/null; then
    out=$(faketime -f "+90s" "$cli" timesync "$address" --timeout 2000 2>&1)
    drift=$(printf '%s\n' "$out" | sed -n 's/^drift: \(-\{0,1\}[0-9]*\) s.*/\1/p')
    if [ -z "$drift" ] || [ "$drift" -lt 89 ] || [ "$drift" -gt 91 ]; then
        echo "FAIL: with the clock 90 s ahead: $out"
        fail=1
    fi
fi
# The same server asked on a port where nothing answers: no answer, exit 1.
out=$("$cli" timesync "$address" --port 38 --timeout 300 2>&1)
rc=$?
if [ $rc -ne 1 ] || ! printf '%s\n' "$out" | grep -q "no answer from $address"; then
    echo "FAIL: port 38 gave rc=$rc: $out"
    fail=1
fi
exit $fail
