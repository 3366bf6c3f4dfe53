#!/usr/bin/env bash
# Benchmarks of the engines, side by side with the usual Unix tools on the
# same corpus, warm cache, median of RUNS runs (never part of the tests).
#
#   scripts/bench.sh [-n RUNS] [--compare] [CORPUS_ROOT]
#
# Each benchmark ends with its figure, a ratio against its peer or floor in
# the same run; --compare prints the figure of bench/baseline.md beside it
# and marks any that got more than 15% worse.
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
figures_baseline="$root/bench/baseline.md"
. "$root/scripts/bench-figures.sh"
figures_options "$@"
set -- "${figures_args[@]}"
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

# "LABEL SECONDS (what it found)" for a median run of an engine, and the
# median alone in $last.
timed() {
  local label="$1"; shift
  last="$(median "$@")"
  echo "  $label $last s   ($("$@" 2>&1 | tail -1))"
}

echo "temporary-file search over $corpora/deep:"
timed "engine:  " "$bench" temp-search "$corpora/deep"; engine=$last
timed "find:    " bash -c "find_junk '$corpora/deep'"
ratio temp-search/find "$engine" "$last"
echo "broken shortcut search (own settings) over $corpora/deep-links:"
timed "engine:    " "$bench" link-search "$corpora/deep-links"; engine=$last
timed "find+cat:  " bash -c "find_and_read_links '$corpora/deep-links'"
timed "find+head: " bash -c "find_and_read_headers '$corpora/deep-links'"
echo "    (find+cat: find, then the shortcut files read; find+head: 20 bytes of every file over 75 bytes)"
ratio link-search/find+head "$engine" "$last"
echo "temporary folder count and size over $corpora/temp100k:"
timed "engine:  " "$bench" temp-refresh "$corpora/temp100k"; engine=$last
timed "find+du: " bash -c "count_and_size '$corpora/temp100k'"
ratio temp-refresh/find+du "$engine" "$last"
echo "empty folder search over $corpora/deep as drive D: (no exclusions):"
timed "folders: " "$bench" empty-folders "$corpora/deep"; folders=$last
timed "trees:   " "$bench" empty-trees "$corpora/deep"; trees=$last
last="$(median find "$corpora/deep" -type d -empty)"
echo "  find:     $last s   ($(find "$corpora/deep" -type d -empty | wc -l) folders)"
ratio empty-folders/find "$folders" "$last"
ratio empty-trees/find "$trees" "$last"

# The registry reference search over 200,000 values made in memory: missing
# paths in 1,000 folders of removed programs, then each in a folder of its
# own; its floor is the import of the same values into the stand-in.
for folders in 1000 200000; do
  echo "registry reference search, 200,000 values, missing paths in $folders folders:"
  searches=() imports=()
  for _ in $(seq "$runs"); do
    out="$("$root/build/native/bench/registry_bench" 200000 "$folders")"
    echo "$out" | sed 's/^/  /'
    imports+=("$(echo "$out" | sed -n 's/^import of .*: \([0-9.]*\) s$/\1/p')")
    searches+=("$(echo "$out" | sed -n 's/^registry-search: \([0-9.]*\) s.*/\1/p')")
  done
  ratio "registry-search-$folders/import" "$(printf '%s\n' "${searches[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" \
    "$(printf '%s\n' "${imports[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
done
# The shredder over a fresh 64 MiB file each run (its making is timed on both
# sides), beside coreutils' shred with as many passes.
shred_engine() { head -c 64M /dev/zero >"$1/shred.bin"; "$bench" shred "$1/shred.bin"; }
shred_peer() { head -c 64M /dev/zero >"$1/shred.bin"; shred -n 3 -u "$1/shred.bin"; }
export -f shred_engine shred_peer; export bench
echo "shredding a 64 MiB file in $corpora (three flushed passes, then deleted):"
engine="$(median bash -c "shred_engine '$corpora'")"
echo "  engine:   $engine s"
last="$(median bash -c "shred_peer '$corpora'")"
echo "  shred -n 3 -u: $last s"
ratio shred/shred "$engine" "$last"
echo "browser cache size over $corpora/temp100k:"
timed "engine:  " "$bench" cache-size "$corpora/temp100k"; engine=$last
last="$(median du -sb "$corpora/temp100k")"
echo "  du:       $last s"
ratio cache-size/du "$engine" "$last"

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
      out="$("$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/bench/engine_bench_win32.exe" "$1" \
        "Z:$(echo "$corpora/$2" | tr / '\\')")"
      echo "$out"
      figure "wine-$1/idle-pump" "$(echo "$out" | sed -n 's/.*(x\([0-9.]*\)).*/\1/p')"
    done
    # The result windows: 100,000 findings in 100 folders, every tenth
    # deleted, beside the same files deleted one by one by the same call.
    # The deletion uses the findings up, so they are made afresh (here: the
    # bench would make them through Wine, slowly).
    "$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/bench/search_window_bench.exe" link \
      "Z:$(echo "$corpora/link.lnk" | tr / '\\')"
    for job in "temp permanent" "temp bin" "links permanent" "links bin" "empty-dirs permanent"; do
      set -- $job
      rm -rf "$corpora/rows100k"
      python3 -c 'import os, sys
kind, root, link = sys.argv[1:]
shortcut = open(link, "rb").read()
for d in range(100):
    folder = f"{root}/folder{d:03}"
    os.makedirs(folder)
    for i in range(1000):
        if kind == "temp": open(f"{folder}/file{i:04}.tmp", "wb").close()
        elif kind == "links": open(f"{folder}/link{i:04}.lnk", "wb").write(shortcut)
        else: os.mkdir(f"{folder}/folder{i:04}")' "$1" "$corpora/rows100k" "$corpora/link.lnk"
      out="$("$root/scripts/wine-run" --prefix "$prefix" "$root/build/win64/bench/search_window_bench.exe" \
        "$1" "Z:$(echo "$corpora/rows100k" | tr / '\\')" "$2")"
      echo "$out"
      figure "window-$1-$2/floor" "$(echo "$out" | sed -n 's/.*ratio window\/floor: \([0-9.]*\).*/\1/p')"
      rm -rf "$prefix.state/xdg-data/Trash"
    done
    rm -rf "$corpora/rows100k" "$corpora/link.lnk" "$prefix.state/xdg-data/Trash" )
fi
figures_summary
