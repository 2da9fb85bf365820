#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine from a folder that holds
# what a user's installation holds beside the program: the settlement list,
# the sounds, the icon and the manual. The INI file it writes stays there
# between runs (build/run/miravel.ini).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$(nproc)"

run=build/run
mkdir -p "$run"
cp build/win64/miravel.exe build/win64/miravel-cli.exe "$run/"
cp data/miravel.csv data/*.wav resources/miravel.ico "$run/"
python3 docs/make_manual.py docs/kilavuz.txt "$run/miravel.rtf"

export WINEPREFIX="${WINEPREFIX:-$PWD/build/run-wineprefix}"
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no X display (DISPLAY is unset); start one, e.g. Xvfb :99 & DISPLAY=:99 make run" >&2
  exit 1
fi
exec ./scripts/wine-run.sh "$run/miravel.exe" "$@"
