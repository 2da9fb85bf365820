#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz/targets) with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each in turn.
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [-m] [TARGET...]
#
# -t  seconds per target (default 60, or FUZZ_SECONDS)
# -r  stop a target after this many executions instead (the time still
#     bounds it)
# -m  afterwards merge the inputs that found new coverage into the corpus
#     under tests/fuzz/corpus, which the normal test run replays
# Without TARGET names every target runs. The inputs found go to
# build/fuzz/corpus/<target>, a broken property or a crash to
# build/fuzz/findings/<target>; the run stops at the first finding unless
# FUZZ_KEEP_GOING=1 (libFuzzer's fork mode, which collects them all).
#
# Clang takes no Windows-1254 execution character set, so the build compiles
# copies of the sources whose literals are already written as Windows-1254
# escapes (tests/fuzz/cp1254_literals.py): the fuzzed code holds the same
# string bytes as the GCC build. The corpus replays of the normal test run
# build the same targets with GCC from the sources themselves.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
runs=
merge=0
while getopts "t:r:m" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    m) merge=1 ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))

tree=build/fuzz/tree
out=build/fuzz/build
python3 tests/fuzz/cp1254_literals.py . "$tree" src resources tests/fuzz
mkdir -p "$tree/cmake" "$tree/tests/fuzz"
cp -p CMakeLists.txt "$tree/"
cp -p cmake/* "$tree/cmake/"
cp -p tests/fuzz/CMakeLists.txt "$tree/tests/fuzz/"
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s) \
  cmake -S "$tree" -B "$out" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAVEL_FUZZ=ON \
  -DMIRAVEL_FUZZ_CORPORA="$PWD/tests/fuzz/corpus" >/dev/null

if [ $# -eq 0 ]; then
  set -- $(ls tests/fuzz/targets | sed -n 's/\.cpp$//p')
fi
targets=()
for t in "$@"; do targets+=("fuzz_$t"); done
cmake --build "$out" -j "$(nproc)" --target "${targets[@]}"

# The targets that go through files keep them in a private folder under
# TMPDIR; on tmpfs they run about four times faster than on a disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

found=()
for t in "$@"; do
  # Absolute paths: a target may change the current folder.
  work=$PWD/build/fuzz/corpus/$t findings=$PWD/build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  echo "== $t: ${seconds}s${runs:+ or $runs runs}"
  flags=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048
         -print_final_stats=1 -artifact_prefix="$findings/")
  [ -n "$runs" ] && flags+=(-runs="$runs")
  if [ "${FUZZ_KEEP_GOING:-0}" = 1 ]; then
    flags+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  fi
  nice "$out/tests/fuzz/fuzz_$t" "${flags[@]}" "$work" "$PWD/tests/fuzz/corpus/$t" || found+=("$t")
  if [ "$merge" = 1 ]; then
    "$out/tests/fuzz/fuzz_$t" -merge=1 -max_len=4096 "$PWD/tests/fuzz/corpus/$t" "$work"
  fi
done
if [ ${#found[@]} -gt 0 ]; then
  echo "fuzz: findings in ${found[*]} (build/fuzz/findings/)"
  exit 1
fi
