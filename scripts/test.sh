#!/usr/bin/env bash
# The whole test run: install what is missing, build natively and run the unit
# tests and the fuzz corpus replays, cross-build for Windows, then run the
# Windows tests under Wine while the unit tests and corpora are built and run
# again with sanitizers. Prints the time of each phase at the end, whether the
# run passed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# The Wine tests mostly wait for windows and clocks: more of them than cores
# run side by side. Each has its own display, prefix, folder and addresses.
wine_jobs=${MIRAVEL_WINE_JOBS:-$((jobs + 1))}

start=$(date +%s)
phases=()
rm -f build/sanitizer.phases
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
  [ ! -s build/sanitizer.phases ] || mapfile -t -O ${#phases[@]} phases <build/sanitizer.phases
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
timed "native tests" ctest --test-dir build/native --output-on-failure -j "$jobs"
timed "Windows build" windows_build

# The Wine tests mostly wait for windows and clocks, so the sanitizer build
# and its tests run beside them, at a lower priority, into a log of their own
# that is shown when they end.
(
  renice -n 10 -p "$BASHPID" >/dev/null || true
  phases=()
  rc=0
  timed "sanitizer build (beside the Wine tests)" sanitizer_build &&
    timed "sanitizer tests (beside the Wine tests)" \
      ctest --test-dir build/asan --output-on-failure -j "$jobs" || rc=$?
  printf '%s\n' "${phases[@]}" >build/sanitizer.phases
  exit $rc
) >build/sanitizer.log 2>&1 &
sanitizer=$!
wine_rc=0
timed "Wine tests" ctest --test-dir build/win64 --output-on-failure -j "$wine_jobs" || wine_rc=$?
sanitizer_rc=0
wait "$sanitizer" || sanitizer_rc=$?
echo "== sanitizer build and tests (build/sanitizer.log) =="
if [ $sanitizer_rc -eq 0 ]; then tail -n 4 build/sanitizer.log; else cat build/sanitizer.log; fi
[ $wine_rc -eq 0 ] && [ $sanitizer_rc -eq 0 ]
