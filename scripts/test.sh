#!/usr/bin/env bash
# The whole test run: install what is missing, build natively and run the unit
# tests and the fuzz corpus replays, run them again built with sanitizers,
# cross-build for Windows, then run the Windows tests under Wine. Prints the
# time of each phase at the end, whether the run passed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# The Wine tests mostly wait for windows and clocks: more of them than cores
# run side by side. Each has its own display, prefix, folder and addresses.
wine_jobs=${MIRAVEL_WINE_JOBS:-$((jobs + 1))}

phases=()
phase_start=0
phase() {
  local now
  now=$(date +%s)
  [ ${#phases[@]} -eq 0 ] || phases[-1]+=" $((now - phase_start)) s"
  phase_start=$now
  [ $# -eq 0 ] || phases+=("$1:")
}
report() {
  local rc=$?
  phase
  echo
  echo "== test run phases ($([ $rc -eq 0 ] && echo passed || echo "failed, exit $rc")) =="
  printf '  %s\n' "${phases[@]}"
  echo "  build tree: $(du -sh build 2>/dev/null | cut -f1)"
}
trap report EXIT

phase "install"
./scripts/bootstrap.sh

phase "native build"
cmake -S . -B build/native -G Ninja -DMIRAVEL_WERROR=ON >/dev/null
cmake --build build/native -j "$jobs"
phase "native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs"

# The unit tests and the fuzz corpora once more with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report fails the run. Warnings are
# the other builds' business: at -O1 GCC sees less and warns of more.
phase "sanitizer build"
cmake -S . -B build/asan -G Ninja -DMIRAVEL_WERROR=OFF -DMIRAVEL_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs" --target miravel_tests fuzz_targets
phase "sanitizer tests"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

phase "Windows build"
cmake -S . -B build/win64 -G Ninja -DMIRAVEL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j "$jobs"
phase "Wine tests"
ctest --test-dir build/win64 --output-on-failure -j "$wine_jobs"
