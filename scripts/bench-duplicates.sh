#!/usr/bin/env bash
# The duplicate search side by side with jdupes (and rdfind for the bytes it
# reads), warm cache, median of RUNS runs after one warm-up run; never part of
# the tests. Our engine runs natively over the posix stand-in: the whole
# corpus is its one area folder, the pump is one that only counts.
#
#   scripts/bench-duplicates.sh [-n RUNS] [--compare] [CORPUS_ROOT]
#
# The figures are the ratios engine/jdupes of the median times (wall clock,
# and the processor time, user and system, which a loaded machine disturbs
# less) and of the peak memory; --compare prints bench/baseline.md's beside
# them and marks any that got more than 15% worse.
#
# Corpora (made once by the shared make_corpus.py, outside the source tree):
#   CORPUS_ROOT/medium  about 50,000 files, 1 GB
#   CORPUS_ROOT/deep    about 300,000 small files in 28,000 folders
# jdupes and rdfind come from Debian (installed here when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs=5
figures_baseline="$root/bench/baseline.md"
. "$root/scripts/bench-figures.sh"
figures_options "$@"
set -- "${figures_args[@]}"
corpora="${1:-/tmp/corpus}"
shared="$root/../shared/bench"
work="$(mktemp -d "${TMPDIR:-/tmp}/bench-duplicates.XXXXXX")"
trap 'rm -rf "$work"' EXIT

command -v jdupes >/dev/null && command -v rdfind >/dev/null || apt-get install -y jdupes rdfind >/dev/null
mkdir -p "$corpora"
for preset in medium deep; do
  [ -d "$corpora/$preset" ] || python3 "$shared/make_corpus.py" --preset "$preset" "$corpora/$preset" >/dev/null
done
[ -f "$root/build/native/build.ninja" ] || cmake --preset native >/dev/null
cmake --build "$root/build/native" --target engine_bench >/dev/null
bench="$root/build/native/bench/engine_bench"

# Runs our engine and jdupes on DIR by turns ($runs times each, after a
# warm-up of each), so that a change of the machine's load hits both; prints
# "ours_s ours_MiB ours_cpu_s jdupes_s jdupes_MiB jdupes_cpu_s", medians.
measure_pair() {
  : > "$work/ours"; : > "$work/peer"
  "$bench" duplicates "$1" >/dev/null 2>&1; jdupes -r -q "$1" >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    /usr/bin/time -a -o "$work/ours" -f '%e %M %U %S' "$bench" duplicates "$1" >/dev/null 2>&1
    /usr/bin/time -a -o "$work/peer" -f '%e %M %U %S' jdupes -r -q "$1" >/dev/null 2>&1
  done
  for f in ours peer; do
    awk '{print $1}' "$work/$f" | sort -g | awk '{v[NR]=$1} END {printf "%s ", v[int((NR+1)/2)]}'
    awk '{print $2/1024}' "$work/$f" | sort -g | awk '{v[NR]=$1} END {printf "%.1f ", v[int((NR+1)/2)]}'
    awk '{print $3+$4}' "$work/$f" | sort -g | awk '{v[NR]=$1} END {printf "%.2f ", v[int((NR+1)/2)]}'
  done
  echo
}

# The manifest's groups without the names that cp1251 cannot spell (the
# program sees paths in cp1251 only; such files are not found at all), the
# empty files as one group, compared with our groups.
check() {
  python3 - "$1" "$2" <<'PY'
import json, sys
corpus, groups_file = sys.argv[1], sys.argv[2]
m = json.load(open(corpus + ".manifest.json"))
def spelled(p):
    try:
        p.encode("cp1251")
        return True
    except UnicodeEncodeError:
        return False
want = {frozenset(k) for k in ([p for p in g if spelled(p)] for g in m["duplicate_groups"] + [m["empty_files"]])
        if len(k) > 1}
got, cur, root = set(), [], corpus.rstrip("/") + "/"
for line in open(groups_file, encoding="utf-8", errors="surrogateescape").read().split("\n"):
    if line:
        cur.append(line[len(root):])
    elif cur:
        got.add(frozenset(cur))
        cur = []
print(f"    groups {len(got)}, manifest (names cp1251 spells, empty files as a group) {len(want)}:",
      "MATCH" if got == want else f"MISMATCH ({len(got - want)} unexpected, {len(want - got)} missing)")
PY
}

for preset in ${PRESETS:-medium deep}; do
  dir="$corpora/$preset"
  echo "duplicates in $dir ($runs runs, warm cache):"
  read -r ours ours_mem ours_cpu peer peer_mem peer_cpu < <(measure_pair "$dir")
  echo "  engine: $ours s, $ours_cpu s processor, peak $ours_mem MiB   ($("$bench" duplicates "$dir" "$work/groups"))"
  check "$dir" "$work/groups"
  echo "  jdupes: $peer s, $peer_cpu s processor, peak $peer_mem MiB"
  ratio "duplicates-$preset/jdupes" "$ours" "$peer"
  ratio "duplicates-$preset-cpu/jdupes" "$ours_cpu" "$peer_cpu"
  ratio "duplicates-$preset-memory/jdupes" "$ours_mem" "$peer_mem"
done
figures_summary
