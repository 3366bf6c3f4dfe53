#!/usr/bin/env bash
# Sets everything up, builds the three trees (native, native-asan, win64),
# the fuzz targets and the release packages, and runs every test in one ctest
# run: native, sanitized, Windows under Wine (the packages' tests among them)
# and each fuzz target for about 20 s.
# VORLINDE_SKIP_RELEASE=1, only where nsis cannot be installed, skips the
# packages and their tests.
# Extra arguments go to ctest (for example -R Jpeg).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

scripts/setup.sh
# ccache may reuse the objects of another clone of the project.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
for preset in native native-asan win64; do
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  echo "build: $preset"
  cmake --build --preset "$preset"
done
echo "build: fuzz targets"
scripts/fuzz.sh --build
skip=()
if [ "${VORLINDE_SKIP_RELEASE:-0}" = 1 ]; then
  echo "test: VORLINDE_SKIP_RELEASE=1: no nsis here, so no release packages; the wine.release tests are skipped"
  skip=(-E '^wine\.release\.')
else
  echo "build: release packages"
  cmake --build --preset win64 --target release
fi

# Windows tests always run on a private Xvfb, never on the user's display.
unset DISPLAY
wine_run=("$root/scripts/wine-run" --prefix "$root/build/win64/wineprefix")
trap '"${wine_run[@]}" --stop' EXIT
"${wine_run[@]}" --start >/dev/null

# One ctest over the three trees and the fuzz targets (about 20 s each), so
# that one summary counts every test.
mkdir -p build/all
{
  echo "# All tests of the three build trees and the fuzz targets."
  for tree in native native-asan win64 fuzz; do echo "subdirs(\"$root/build/$tree\")"; done
} >build/all/CTestTestfile.cmake
ctest --test-dir build/all -j "$(nproc)" --output-on-failure "${skip[@]}" "$@"
