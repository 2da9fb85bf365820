#!/bin/bash
# miravel-cli timesync against a real NTP server: chronyd on a loopback
# address and a free port of this test's own (see lib/chrony-server.sh). The
# offset it reports must agree with a clock shifted by faketime to within
# 50 ms, for both signs; --set never sets this machine's clock.
#
#   timesync_chrony.sh <miravel-cli> <work folder>
# Skips (exit 77) where chronyd or faketime is missing.
set -u
cli=$1
work=$2
for tool in chronyd faketime ss; do
    command -v $tool >/dev/null || { echo "$tool not found"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work" || exit 1
. "$(dirname "$0")/lib/chrony-server.sh"
trap 'chrony_stop "$work"' EXIT

address=127.123.$((RANDOM % 250 + 1)).$((RANDOM % 250 + 1))
started=0
for _ in 1 2 3 4 5; do
    port=$((RANDOM % 30000 + 20000))
    ss -uln | grep -q ":$port " && continue
    if chrony_start "$work" "$address" "$port"; then started=1; break; fi
    chrony_stop "$work"
done
[ $started = 1 ] || { cat "$work/chronyd.log"; echo "chronyd did not start"; exit 1; }

fail=0
# offsetMs of the JSON answer, in whole milliseconds.
offset_of() { sed -n 's/.*"offsetMs":\(-\{0,1\}[0-9]*\)\.[0-9]*.*/\1/p'; }
check_offset() {  # <what> <expected ms> <json>
    local got
    got=$(printf '%s\n' "$3" | offset_of)
    if [ -z "$got" ] || [ $((got - $2)) -gt 50 ] || [ $((got - $2)) -lt -50 ]; then
        echo "FAIL: $1: expected offsetMs $2 ± 50, got: $3"
        fail=1
    else
        echo "$1: offsetMs $got (expected $2)"
    fi
}

out=$("$cli" timesync "ntp:$address:$port" --json 2>&1)
echo "$out"
check_offset "same clock" 0 "$out"
if ! printf '%s\n' "$out" | grep -q '"protocol":"ntp".*"delayMs":[0-9]*\.[0-9]\{3\},"stratum":8}'; then
    echo "FAIL: protocol, delay and stratum: $out"
    fail=1
fi
# This computer 90 s ahead: the server is 90 s behind it.
out=$(faketime -f "+90s" "$cli" timesync "ntp:$address:$port" --json 2>&1)
check_offset "computer 90 s ahead" -90000 "$out"
# 3723.5 s behind, given by protocol and port rather than by the entry.
out=$(faketime -f "-3723.5s" "$cli" timesync "$address" --protocol ntp --port "$port" --json 2>&1)
check_offset "computer 3723.5 s behind" 3723500 "$out"

# The text form: the comparison lines, the offset with milliseconds, the stratum.
out=$(faketime -f "+2.25s" "$cli" timesync "ntp:$address:$port" 2>&1)
echo "$out"
if ! printf '%s\n' "$out" | grep -q "^Sunucu Adresi : $address\$" ||
    ! printf '%s\n' "$out" | grep -Eq '^offset: -2\.(2[0-9]|30)[0-9] s ' ||
    ! printf '%s\n' "$out" | grep -q '^stratum: 8$'; then
    echo "FAIL: text form"
    fail=1
fi

# --set: here the system's own time service keeps the clock; the command
# says so and sets nothing (under faketime all the same).
before=$(date +%s)
out=$(faketime -f "+600s" "$cli" timesync "ntp:$address:$port" --set 2>&1)
rc=$?
after=$(date +%s)
if [ $rc -ne 3 ] || ! printf '%s\n' "$out" | grep -q "no right to set the clock" ||
    [ $((after - before)) -gt 5 ]; then
    echo "FAIL: --set gave rc=$rc: $out"
    fail=1
fi

# Nothing listens on the next port: no answer, exit 1.
out=$("$cli" timesync "ntp:$address:$((port + 1))" --timeout 300 2>&1)
rc=$?
if [ $rc -ne 1 ] || ! printf '%s\n' "$out" | grep -q "no answer from $address:$((port + 1))"; then
    echo "FAIL: a silent port gave rc=$rc: $out"
    fail=1
fi
# A Time Protocol request to the NTP server is not answered.
out=$("$cli" timesync "$address" --port "$port" --timeout 300 2>&1)
rc=$?
[ $rc -eq 1 ] || { echo "FAIL: Time Protocol to an NTP port gave rc=$rc: $out"; fail=1; }
exit $fail
