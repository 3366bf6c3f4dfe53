#!/usr/bin/env bash
# Sets everything up, builds the Windows program, lays it out with its Data
# folder in build/win64/install and starts it under Wine. The prefix is
# build/wine-run unless WINEPREFIX is set; without DISPLAY the program runs on
# a private Xvfb (take a look with scripts/screenshot.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

scripts/setup.sh
# ccache may reuse the objects of another clone of the project.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
if [ ! -f build/win64/build.ninja ]; then
  cmake --preset win64 >/dev/null
fi
cmake --build --preset win64 --target program
cmake --install build/win64 --prefix build/win64/install >/dev/null

prefix="${WINEPREFIX:-$root/build/wine-run}"
echo "run: build/win64/install/Vorlinde System Cleaner.exe in $prefix"
exec "$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/install/Vorlinde System Cleaner.exe" "$@"
