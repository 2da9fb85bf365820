#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. Until the tray program
# exists it prints today's times through the command-line front end.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$(nproc)"
if [ -f build/win64/miravel.exe ]; then
  exec ./scripts/wine-run.sh build/win64/miravel.exe "$@"
fi
exec ./scripts/wine-run.sh build/win64/miravel-cli.exe times "$@"
