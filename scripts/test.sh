#!/usr/bin/env bash
# The whole test run: install what is missing, build natively and for
# Windows, then run the Windows tests under Wine while the native unit tests
# and fuzz corpus replays run, and are built and run again with sanitizers. Prints the time of each phase at the end, whether the
# run passed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# The Wine tests mostly wait for windows and clocks: more of them than cores
# run side by side. Each has its own display, prefix, folder and addresses.
wine_jobs=${MIRAVEL_WINE_JOBS:-$((jobs + 1))}

start=$(date +%s)
phases=()
rm -f build/beside-wine.phases
# timed <phase> <command...>: runs the command and notes how long it took.
timed() {
  local name=$1 t0 rc=0
  shift
  t0=$(date +%s)
  "$@" || rc=$?
  phases+=("$name: $(($(date +%s) - t0)) s$([ $rc -eq 0 ] || echo ", failed")")
  return $rc
}
report() {
  local rc=$?
  [ ! -s build/beside-wine.phases ] || mapfile -t -O ${#phases[@]} phases <build/beside-wine.phases
  echo
  echo "== test run phases ($([ $rc -eq 0 ] && echo passed || echo "failed, exit $rc")) =="
  printf '  %s\n' "${phases[@]}"
  echo "  whole run: $(($(date +%s) - start)) s"
  echo "  build tree: $(du -sh build 2>/dev/null | cut -f1)"
}
trap report EXIT

native_build() {
  cmake -S . -B build/native -G Ninja -DMIRAVEL_WERROR=ON >/dev/null
  cmake --build build/native -j "$jobs"
}
# The unit tests and the fuzz corpora once more with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report fails the run. Warnings are
# the other builds' business: at -O1 GCC sees less and warns of more.
sanitizer_build() {
  cmake -S . -B build/asan -G Ninja -DMIRAVEL_WERROR=OFF -DMIRAVEL_SANITIZE=ON >/dev/null
  cmake --build build/asan -j "$jobs" --target miravel_tests fuzz_targets
}
windows_build() {
  cmake -S . -B build/win64 -G Ninja -DMIRAVEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build build/win64 -j "$jobs"
}

timed "install" ./scripts/bootstrap.sh
timed "native build" native_build
timed "Windows build" windows_build

# The Wine tests mostly wait for windows and clocks, so the native tests and
# the sanitizer build and tests run beside them, at a lower priority, into a
# log of their own that is shown when they end.
(
  renice -n 10 -p "$BASHPID" >/dev/null || true
  phases=()
  rc=0
  timed "native tests (beside the Wine tests)" \
    ctest --test-dir build/native --output-on-failure -j "$jobs" || rc=$?
  timed "sanitizer build (beside the Wine tests)" sanitizer_build &&
    timed "sanitizer tests (beside the Wine tests)" \
      ctest --test-dir build/asan --output-on-failure -j "$jobs" || rc=$?
  printf '%s\n' "${phases[@]}" >build/beside-wine.phases
  exit $rc
) >build/beside-wine.log 2>&1 &
beside=$!
wine_rc=0
timed "Wine tests" ctest --test-dir build/win64 --output-on-failure -j "$wine_jobs" || wine_rc=$?
beside_rc=0
wait "$beside" || beside_rc=$?
echo "== native and sanitizer tests (build/beside-wine.log) =="
if [ $beside_rc -eq 0 ]; then grep -E "tests passed|Total Test time" build/beside-wine.log; else cat build/beside-wine.log; fi
[ $wine_rc -eq 0 ] && [ $beside_rc -eq 0 ]
