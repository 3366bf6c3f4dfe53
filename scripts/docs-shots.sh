#!/usr/bin/env bash
# Retakes the program's screenshots in docs/: runs the Windows tests that
# drive the real program under Wine with VORLINDE_SHOTS set, so that they
# save their windows, and converts the pictures to PNG.
#   scripts/docs-shots.sh [ctest -R pattern]
# (default: every end-to-end test, and the layout at 144 DPI in its own prefix)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pattern="${1:-ProgramEndToEnd|LayoutAt144Dpi}"
shots="$root/build/shots-bmp"
rm -rf "$shots"; mkdir -p "$shots"
cmake --build "$root/build/win64" >/dev/null
unset DISPLAY
prefix="$root/build/win64/wineprefix"
trap '"$root/scripts/wine-run" --prefix "$prefix" --stop' EXIT
"$root/scripts/wine-run" --prefix "$prefix" --start >/dev/null
VORLINDE_SHOTS="$(WINEPREFIX="$prefix" winepath -w "$shots" 2>/dev/null)" \
  ctest --test-dir "$root/build/win64" -R "$pattern" --output-on-failure
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "$root/docs/$(basename "${bmp%.bmp}").png"
  echo "docs/$(basename "${bmp%.bmp}").png"
done
