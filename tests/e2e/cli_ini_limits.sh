#!/bin/bash
# Latitude, longitude and zone of the int32 extremes read as the limits the
# calculation parameters dialog enforces: the place title shows the pole and
# the date line, and the times are those of the same place given by flags.
set -u
cli=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
# Windows-1254 bytes: "Saat Farkı" ends in 0xFD.
printf '[Hesap Paramatreleri]\r\nEnlem=-2147483648\r\nBoylam=2147483647\r\nSaat Fark\xfd=-2147483648\r\nHesap Modu=-7\r\n' \
    >"$work/limits.ini"
"$cli" times --ini "$work/limits.ini" --date 21/12/2024 >"$work/ini.txt" 2>&1 || {
    echo "FAIL: miravel-cli times exited with $?"; cat "$work/ini.txt"; exit 1; }
"$cli" times --lat -90 --lon 180 --zone -12 --mode 0 --date 21/12/2024 >"$work/flags.txt" 2>&1 || {
    echo "FAIL: miravel-cli times with flags exited with $?"; cat "$work/flags.txt"; exit 1; }
title=$(head -1 "$work/ini.txt")
case "$title" in
    *"(90.00°G 180.00°D)"*) echo "ok   title: $title" ;;
    *) echo "FAIL title: $title"; exit 1 ;;
esac
if ! diff <(tail -n +2 "$work/ini.txt") <(tail -n +2 "$work/flags.txt"); then
    echo "FAIL: the times differ from those of the limits given as flags"; exit 1
fi
echo "ok   times as at -90, 180, zone -12, mode 0"
