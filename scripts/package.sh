#!/usr/bin/env bash
# Makes the two Windows packages of Miravel into build/package/:
#   miravel-<version>-win64.zip     portable: unzip anywhere writable, run miravel.exe
#   miravel-<version>-setup.exe     NSIS installer (per user, Turkish)
#
# usage: scripts/package.sh [--build-dir DIR] [--out DIR] [--no-build]
#   --build-dir  the cross build to take the programs from (default
#                build/package/win64; configured and built here unless --no-build)
#   --out        where the packages go (default build/package)
#   --no-build   take miravel.exe and miravel-cli.exe from --build-dir as they are
# MIRAVEL_SKIP_BOOTSTRAP=1 skips installing missing Debian packages.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build_dir=build/package/win64
out_dir=build/package
do_build=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir=$2; shift 2 ;;
    --out) out_dir=$2; shift 2 ;;
    --no-build) do_build=0; shift ;;
    *) echo "usage: $0 [--build-dir DIR] [--out DIR] [--no-build]" >&2; exit 2 ;;
  esac
done

if [ "${MIRAVEL_SKIP_BOOTSTRAP:-0}" != 1 ]; then
  ./scripts/bootstrap.sh
fi

version=$(sed -n 's/^project(Miravel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }

# Every file of the packages gets the time of the last commit, so the zip is
# the same bytes for the same sources.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH

if [ "$do_build" = 1 ]; then
  # The project's own build type (optimised, with debug information); the
  # debug information is stripped from the packaged programs below.
  cmake -S . -B "$build_dir" -G Ninja -DMIRAVEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build "$build_dir" -j "$(nproc)" --target miravel miravel-cli
fi
for exe in miravel.exe miravel-cli.exe; do
  [ -f "$build_dir/$exe" ] || { echo "package: $build_dir/$exe is missing" >&2; exit 1; }
done

mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
stage="$out_dir/stage/Miravel"
rm -rf "$out_dir/stage"
mkdir -p "$stage"

# The files the program looks for beside itself: the INI, list, manual (RTF
# and HTML) and icon take the program's base name; the sounds keep their own names.
strip=x86_64-w64-mingw32-strip
for exe in miravel.exe miravel-cli.exe; do
  if command -v "$strip" >/dev/null; then
    "$strip" -o "$stage/$exe" "$build_dir/$exe"
  else
    cp "$build_dir/$exe" "$stage/$exe"
  fi
done
cp resources/miravel.ico "$stage/miravel.ico"
cp data/miravel.csv data/ezan.wav data/sala.wav data/ezandua.wav "$stage/"
cp packaging/miravel.ini "$stage/miravel.ini"
python3 docs/make_manual.py docs/kilavuz.txt "$stage/miravel.rtf" "$stage/miravel.html"
cp README.md "$stage/README.md"
# Windows line ends, so that every editor shows the licence properly.
sed 's/\r*$/\r/' LICENSE > "$stage/LICENSE.txt"
find "$out_dir/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

zip_file="$out_dir/miravel-$version-win64.zip"
setup_file="$out_dir/miravel-$version-setup.exe"
rm -f "$zip_file" "$setup_file"
(cd "$out_dir/stage" && find Miravel -type f | LC_ALL=C sort | zip -q -X -9 "$zip_file" -@)

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
  -DOUTFILE="$setup_file" "$root/packaging/miravel.nsi"

echo "package: $zip_file"
echo "package: $setup_file"
