#!/usr/bin/env bash
# Makes a fresh Wine prefix as a copy of a template, which wineboot makes
# once (again when Wine's version changes); making one takes many times
# longer than copying it. Wine's own program files, nearly all of the
# template's 700 MB, are hard links: nothing writes into them once it is
# made. Everything else, the registry and the INI files among them, is a copy
# of the prefix's own.
#
#   wine-prefix.sh <template folder> <new prefix>
set -euo pipefail
template=$1
prefix=$2
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=$(command -v wine)
mkdir -p "$(dirname "$template")"
(
  flock 9
  version=$("$wine" --version 2>/dev/null)
  if [ "$(cat "$template/.e2e-wine-version" 2>/dev/null)" != "$version" ]; then
    rm -rf "$template"
    # Made the same whatever clock, zone or locale the caller has set.
    env -u TZ -u LC_ALL -u LD_PRELOAD -u FAKETIME WINEPREFIX="$template" WINEDEBUG=-all \
      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$template" wineserver -w
    echo "$version" >"$template/.e2e-wine-version"
  fi
) 9>"$template.lock"
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
cp -al "$template" "$prefix"
find "$prefix" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
  -o -iname '*.acm' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' \
  -o -iname '*.nls' \) -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' _ {} +
