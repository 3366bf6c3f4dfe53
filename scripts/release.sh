#!/usr/bin/env bash
# Builds the release packages of the Windows program for x86-64 into
# build/release: the portable zip, the installer and their SHA256SUMS. They
# are made from the win64 tree's optimised build, stripped, so a tree that
# scripts/test.sh or scripts/run.sh built only needs the program relinked, if
# anything.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
# ccache may reuse the objects of another clone of the project.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f build/win64/build.ninja ]; then
  cmake --preset win64 >/dev/null
fi
cmake --build --preset win64 --target release
rm -rf build/release
cp -r build/win64/release build/release
echo "release: build/release"
(cd build/release && ls -l && sha256sum -c SHA256SUMS)
