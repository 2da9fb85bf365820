#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix (one per build tree,
# WINEPREFIX may override it), with Wine's debug output off.
set -euo pipefail
exe=$1; shift
if [ -z "${WINEPREFIX:-}" ]; then
  build_dir=$(cd "$(dirname "$exe")" && pwd)
  while [ "$build_dir" != / ] && [ ! -f "$build_dir/CMakeCache.txt" ]; do build_dir=$(dirname "$build_dir"); done
  [ "$build_dir" = / ] && build_dir=$(cd "$(dirname "$exe")" && pwd)
  export WINEPREFIX="$build_dir/wineprefix"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # From the template the end-to-end tests copy their prefixes from.
  template=${MIRAVEL_WINE_TEMPLATE:-${build_dir:-$(dirname "$WINEPREFIX")}/e2e/wineprefix-template}
  "$(dirname "$0")/wine-prefix.sh" "$template" "$WINEPREFIX"
fi
wine=$(command -v wine64 || command -v wine)
exec "$wine" "$exe" "$@"
