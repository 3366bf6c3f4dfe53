#!/usr/bin/env bash
# Starts a Windows program under Wine on a private Xvfb and saves a PNG of
# every visible top-level window, and of the whole screen (desktop.png: the
# tray and notification windows are there), then ends the program.
#
#   scripts/screenshot.sh [-o OUTDIR] [-w SECONDS] PROGRAM [ARGS...]
#
# Defaults: OUTDIR build/shots, 4 seconds of waiting, prefix build/wine-shot
# (or WINEPREFIX). Example:
#   scripts/screenshot.sh "build/win64/install/Vorlinde System Cleaner.exe"
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build/shots"
wait_s=4
while getopts "o:w:" opt; do
  case "$opt" in
    o) out="$OPTARG" ;;
    w) wait_s="$OPTARG" ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,11p' "$0"; exit 2; }

prefix="${WINEPREFIX:-$root/build/wine-shot}"
wine_run=("$root/scripts/wine-run" --prefix "$prefix")
unset DISPLAY
trap '"${wine_run[@]}" --stop' EXIT
"${wine_run[@]}" --start >/dev/null
export DISPLAY="$(cat "$prefix.state/xvfb.display")"

setsid "${wine_run[@]}" "$@" </dev/null >/dev/null 2>&1 &
sleep "$wait_s"

mkdir -p "$out"
import -window root "$out/desktop.png"
n=0
while read -r id rest; do
  case "$id" in 0x*) ;; *) continue ;; esac
  info="$(xwininfo -id "$id" 2>/dev/null)" || continue
  grep -q 'Map State: IsViewable' <<<"$info" || continue
  w=$(awk '/^  Width:/ {print $2}' <<<"$info"); h=$(awk '/^  Height:/ {print $2}' <<<"$info")
  [ "$w" -gt 40 ] && [ "$h" -gt 20 ] || continue
  name=$(sed -n 's/^xwininfo: Window id: [^ ]* "\(.*\)"$/\1/p' <<<"$info" | tr -c 'A-Za-z0-9._-' '_' | cut -c1-60)
  [ -n "$name" ] || name="window"
  n=$((n + 1))
  import -window "$id" "$out/$(printf '%02d' "$n")-$name.png"
done < <(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p')
ls "$out"
