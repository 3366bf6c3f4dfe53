#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build/fuzz and runs each for SECONDS
# (default 20) from its seed corpus in fuzz/corpus/<target>. A crash, a hang
# (10 s for one input) or a sanitizer report fails; its input is kept in
# build/fuzz/artifacts. New inputs go to build/fuzz/corpus, never into the
# committed seeds.
#   scripts/fuzz.sh [SECONDS]   build and run every target
#   scripts/fuzz.sh --build     only build (scripts/test.sh runs them as tests)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$root/build/fuzz"
mode="${1:-20}"

# clang knows no execution character set but UTF-8, and takes a narrow
# literal as the bytes it is written in: it compiles a copy of the sources in
# cp1251. GCC already refuses a literal without a cp1251 form, so only
# comments can hold one; they become "?".
mkdir -p "$build/cp1251-src"
python3 - "$root" "$build/cp1251-src" <<'PY'
import os, sys
root, out = sys.argv[1], sys.argv[2]
for folder in ["platform", "posix", "store", "ui", "search", "privacy", "app", "fuzz"]:
    os.makedirs(os.path.join(out, folder), exist_ok=True)
    for name in os.listdir(os.path.join(root, folder)):
        if not name.endswith((".h", ".cpp")):
            continue
        with open(os.path.join(root, folder, name), encoding="utf-8") as f:
            data = f.read().encode("cp1251", errors="replace")
        target = os.path.join(out, folder, name)
        if os.path.exists(target) and open(target, "rb").read() == data:
            continue
        with open(target, "wb") as f:
            f.write(data)
PY

if [ ! -f "$build/build.ninja" ]; then
  cmake -S fuzz -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVORLINDE_CP1251_SOURCE="$build/cp1251-src" >/dev/null
fi
cmake --build "$build"
[ "$mode" = --build ] && exit 0

failed=0
for target in $(cd fuzz/corpus && ls); do
  mkdir -p "$build/corpus/$target" "$build/artifacts"
  echo "fuzz: $target for $mode s"
  if ! "$build/fuzz_$target" -max_total_time="$mode" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "fuzz/corpus/$target" \
      >"$build/$target.log" 2>&1; then
    echo "fuzz: $target FAILED (build/fuzz/$target.log)"
    tail -n 30 "$build/$target.log"
    failed=1
  fi
  grep -E '^stat::number_of_executed_units' "$build/$target.log" || true
done
exit "$failed"
