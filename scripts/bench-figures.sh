# Sourced by the benchmark scripts: prints a figure (a ratio against a peer or
# a floor measured in the same run) and, with --compare, its value in
# bench/baseline.md beside it, marking one that got more than 15% worse
# (every figure is lower-is-better).
#
#   figures_options "$@"    figure NAME VALUE    ratio NAME NUMERATOR DENOMINATOR
# figures_baseline names the baseline file.

# Reads the options "-n RUNS" and "--compare" into runs and figures_compare;
# the arguments after them are left in figures_args.
figures_options() {
  figures_args=()
  while [ $# -gt 0 ]; do
    case "$1" in
      -n) runs="$2"; shift 2 ;;
      --compare) figures_compare=1; shift ;;
      *) figures_args=("$@"); break ;;
    esac
  done
}

figures_compare="${figures_compare:-0}"
# The names of the worse figures, one a line (figures printed in subshells
# count too).
figures_worse="$(mktemp "${TMPDIR:-/tmp}/bench-worse.XXXXXX")"

# The baseline of NAME: the second cell of its row "| `NAME` | VALUE | ...".
baseline_of() {
  awk -F'|' -v name="\`$1\`" '{ gsub(/^ +| +$/, "", $2); gsub(/ /, "", $3) } $2 == name { print $3; exit }' \
    "$figures_baseline" 2>/dev/null
}

figure() {
  local name="$1" value="$2" line base change
  line="$(printf '  figure %-34s %6s' "$name:" "$value")"
  if [ "$figures_compare" = 1 ]; then
    base="$(baseline_of "$name")"
    if [ -z "$base" ]; then
      line="$line   (no baseline)"
    else
      change="$(awk -v v="$value" -v b="$base" 'BEGIN { printf "%+.0f", (b > 0 ? (v / b - 1) * 100 : 0) }')"
      line="$line   (baseline $base, $change%)"
      if awk -v v="$value" -v b="$base" 'BEGIN { exit !(v > b * 1.15) }'; then
        line="$line   WORSE"
        echo "$name" >>"$figures_worse"
      fi
    fi
  fi
  echo "$line"
}

ratio() {
  figure "$1" "$(awk -v a="$2" -v b="$3" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
}

# The closing line of a compared run.
figures_summary() {
  local worse
  worse="$(wc -l <"$figures_worse")"
  rm -f "$figures_worse"
  [ "$figures_compare" = 1 ] || return 0
  if [ "$worse" -gt 0 ]; then
    echo "$worse figure(s) more than 15% worse than bench/baseline.md"
  else
    echo "no figure more than 15% worse than bench/baseline.md"
  fi
}
