#!/usr/bin/env bash
# Benchmarks of the engines, side by side with the usual Unix tools on the
# same corpus, warm cache, median of RUNS runs (never part of the tests).
#
#   scripts/bench.sh [-n RUNS] [CORPUS_ROOT]
#
# Corpora (made once by the shared make_corpus.py, outside the source tree):
#   CORPUS_ROOT/deep      about 300,000 small files, some with temporary extensions
#   CORPUS_ROOT/temp100k  about 100,000 small files in about 5,000 folders
#   CORPUS_ROOT/deep-links  deep (hard-linked, not copied) with 2,000 shortcuts
#                         placed in it, every other one broken
# and, for the search window under Wine, CORPUS_ROOT/rows100k: 100,000 empty
# *.tmp files made and used up by each run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs=3
if [ "${1:-}" = "-n" ]; then runs="$2"; shift 2; fi
corpora="${1:-${TMPDIR:-/tmp}/vorlinde-corpus}"
maker="$root/../shared/bench/make_corpus.py"

mkdir -p "$corpora"
[ -d "$corpora/deep" ] || python3 "$maker" --preset deep "$corpora/deep" >/dev/null
if [ ! -d "$corpora/deep-links" ]; then
  cp -al "$corpora/deep" "$corpora/deep-links"
  NEED_LINKS=1
fi
[ -d "$corpora/temp100k" ] || python3 "$maker" --preset deep --files 100000 --depth 6 "$corpora/temp100k" >/dev/null

[ -f "$root/build/native/build.ninja" ] || cmake --preset native >/dev/null
cmake --build "$root/build/native" --target engine_bench registry_bench >/dev/null
bench="$root/build/native/bench/engine_bench"
[ -z "${NEED_LINKS:-}" ] || "$bench" place-links "$corpora/deep-links" >/dev/null

# median wall-clock seconds of a command over $runs runs, after one warm-up
median() {
  "$@" >/dev/null 2>&1
  local times=() t0 t1
  for _ in $(seq "$runs"); do
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'
}

find_junk() { find "$1" -type f \( -iname '*.tmp' -o -iname '*.bak' -o -iname '*.log' -o -iname '*.old' -o -iname '*.chk' \) | wc -l; }
find_and_read_links() { find "$1" -type f > /tmp/vorlinde-bench-files.$$; grep '\.lnk$' /tmp/vorlinde-bench-files.$$ | xargs -d '\n' cat | wc -c; rm -f /tmp/vorlinde-bench-files.$$; }
# What any reader that looks inside every file pays: the first bytes of each
# file long enough to be a shortcut.
find_and_read_headers() { find "$1" -type f -size +75c -print0 | xargs -0 head -q -c 20 | wc -c; }
count_and_size() { find "$1" -type f | wc -l; du -sb "$1"; }
export -f find_junk count_and_size find_and_read_links find_and_read_headers

echo "temporary-file search over $corpora/deep:"
echo "  engine:   $(median "$bench" temp-search "$corpora/deep") s   ($("$bench" temp-search "$corpora/deep"))"
echo "  find:     $(median bash -c "find_junk '$corpora/deep'") s   ($(find_junk "$corpora/deep") files)"
echo "broken shortcut search (own settings) over $corpora/deep-links:"
echo "  engine:     $(median "$bench" link-search "$corpora/deep-links") s   ($("$bench" link-search "$corpora/deep-links"))"
echo "  find+cat:   $(median bash -c "find_and_read_links '$corpora/deep-links'") s   (find, then the shortcut files read)"
echo "  find+head:  $(median bash -c "find_and_read_headers '$corpora/deep-links'") s   (find, then 20 bytes of every file over 75 bytes)"
echo "temporary folder count and size over $corpora/temp100k:"
echo "  engine:   $(median "$bench" temp-refresh "$corpora/temp100k") s   ($("$bench" temp-refresh "$corpora/temp100k"))"
echo "  find+du:  $(median bash -c "count_and_size '$corpora/temp100k'") s"
echo "empty folder search over $corpora/deep as drive D: (no exclusions):"
echo "  folders:  $(median "$bench" empty-folders "$corpora/deep") s   ($("$bench" empty-folders "$corpora/deep"))"
echo "  trees:    $(median "$bench" empty-trees "$corpora/deep") s   ($("$bench" empty-trees "$corpora/deep"))"
echo "  find:     $(median find "$corpora/deep" -type d -empty) s   ($(find "$corpora/deep" -type d -empty | wc -l) folders)"

# The registry reference search over 200,000 values made in memory: missing
# paths in 1,000 folders of removed programs, then each in a folder of its own.
for folders in 1000 200000; do
  echo "registry reference search, 200,000 values, missing paths in $folders folders:"
  for _ in $(seq "$runs"); do "$root/build/native/bench/registry_bench" 200000 "$folders" | sed 's/^/  /'; done
done
# The shredder over a fresh 64 MiB file each run (its making is timed on both
# sides), beside coreutils' shred with as many passes.
shred_engine() { head -c 64M /dev/zero >"$1/shred.bin"; "$bench" shred "$1/shred.bin"; }
shred_peer() { head -c 64M /dev/zero >"$1/shred.bin"; shred -n 3 -u "$1/shred.bin"; }
export -f shred_engine shred_peer; export bench
echo "shredding a 64 MiB file in $corpora (three flushed passes, then deleted):"
echo "  engine:   $(median bash -c "shred_engine '$corpora'") s"
echo "  shred -n 3 -u: $(median bash -c "shred_peer '$corpora'") s"
echo "browser cache size over $corpora/temp100k:"
echo "  engine:   $(median "$bench" cache-size "$corpora/temp100k") s   ($("$bench" cache-size "$corpora/temp100k"))"
echo "  du:       $(median du -sb "$corpora/temp100k") s"

# Under Wine: the same engines over the real services, with the program's
# message pump against a pump that does nothing.
if [ "${VORLINDE_BENCH_WINE:-1}" = 1 ]; then
  [ -f "$root/build/win64/build.ninja" ] || cmake --preset win64 >/dev/null
  cmake --build "$root/build/win64" --target engine_bench_win32 search_window_bench >/dev/null
  prefix="$root/build/wine-bench"  # its own recycle bin, never the tests' one
  ( unset DISPLAY
    trap '"$root/scripts/wine-run" --prefix "$prefix" --stop' EXIT
    "$root/scripts/wine-run" --prefix "$prefix" --start >/dev/null
    for job in "temp-search deep" "temp-refresh temp100k" "link-search deep-links"; do
      set -- $job
      "$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/bench/engine_bench_win32.exe" "$1" \
        "Z:$(echo "$corpora/$2" | tr / '\\')"
    done
    # The search window: 100,000 found files in 100 folders, every tenth
    # deleted. The deletion uses the files up, so they are made afresh.
    for mode in permanent bin; do
      rm -rf "$corpora/rows100k"
      python3 -c 'import os, sys
for d in range(100):
    os.makedirs(f"{sys.argv[1]}/folder{d:03}")
    for i in range(1000): open(f"{sys.argv[1]}/folder{d:03}/file{i:04}.tmp", "wb").close()' "$corpora/rows100k"
      "$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/bench/search_window_bench.exe" \
        "Z:$(echo "$corpora/rows100k" | tr / '\\')" "$mode"
    done
    rm -rf "$corpora/rows100k" "$prefix.state/xdg-data/Trash" )
fi
