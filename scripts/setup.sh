#!/usr/bin/env bash
# Installs, only when missing, every Debian package the builds and tests need,
# and fetches the libjpeg-turbo sources for the Windows build into a cache
# outside the source tree, and makes SQLite's one-file source for the Windows
# build there from Debian's sqlite3 source package. Safe to run again and again.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

packages=(
  cmake ninja-build g++ ccache pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 fonts-wine fonts-liberation fonts-dejavu-core
  xvfb xauth x11-utils imagemagick
  libjpeg62-turbo-dev googletest libgtest-dev libsqlite3-dev tcl
  python3 zip unzip
  clang libfuzzer-14-dev
)
# nsis makes the installer (scripts/release.sh). Where it cannot be installed,
# VORLINDE_SKIP_RELEASE=1 leaves it out, and scripts/test.sh skips the
# release tests.
if [ "${VORLINDE_SKIP_RELEASE:-0}" != 1 ]; then
  packages+=(nsis)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

updated=0
apt_update() {
  if [ "$updated" = 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
}

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi


cache="${VORLINDE_CACHE:-$HOME/.cache/vorlinde}"

# Debian's source packages, straight from its archive.
deb_src_ready=0
ensure_deb_src() {
  if [ "$deb_src_ready" = 1 ]; then return; fi
  src_list=/etc/apt/sources.list.d/vorlinde-deb-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$codename" "$codename" | $SUDO tee "$src_list" >/dev/null
    updated=0
  fi
  apt_update
  deb_src_ready=1
}

# libjpeg-turbo sources for the static Windows build (cmake/dependencies.cmake
# builds them once per target into the cache).
mkdir -p "$cache/jpeg-src"
if ! ls "$cache"/jpeg-src/libjpeg-turbo_*.orig.tar.gz >/dev/null 2>&1; then
  ensure_deb_src
  (cd "$cache/jpeg-src" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1)
  ls "$cache"/jpeg-src/libjpeg-turbo_*.orig.tar.gz >/dev/null
fi

# SQLite for the Windows build: Debian's package with its patches applied,
# made into the one-file form (sqlite3.c, sqlite3.h) that
# cmake/dependencies.cmake compiles once per target into a static library.
if ! ls "$cache"/sqlite-*/sqlite3.c >/dev/null 2>&1; then
  ensure_deb_src
  work="$cache/sqlite-src.work"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only -qq sqlite3 >/dev/null 2>&1)
  dsc=$(ls "$work"/sqlite3_*.dsc)
  version=$(basename "$dsc" .dsc | sed -e 's/^sqlite3_//' -e 's/-[^-]*$//')
  echo "setup: making SQLite $version's one-file source"
  dpkg-source --no-check -x "$dsc" "$work/src" >/dev/null
  mkdir -p "$work/build"
  (cd "$work/build" && ../src/configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null 2>&1)
  mkdir -p "$cache/sqlite-$version"
  cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$cache/sqlite-$version/"
  rm -rf "$work"
fi
echo "setup: ready"
