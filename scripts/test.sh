#!/usr/bin/env bash
# The whole test run: install what is missing, build natively and run the unit
# tests and the fuzz corpus replays, run them again built with sanitizers,
# cross-build for Windows, then run the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
jobs=$(nproc)

cmake -S . -B build/native -G Ninja -DMIRAVEL_WERROR=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

# The unit tests and the fuzz corpora once more with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report fails the run. Warnings are
# the other builds' business: at -O1 GCC sees less and warns of more.
cmake -S . -B build/asan -G Ninja -DMIRAVEL_WERROR=OFF -DMIRAVEL_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs" --target miravel_tests fuzz_targets
ctest --test-dir build/asan --output-on-failure -j "$jobs"

cmake -S . -B build/win64 -G Ninja -DMIRAVEL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$jobs"
ctest --test-dir build/win64 --output-on-failure
