#!/usr/bin/env bash
# Draws the About page banner (data/banner.jpg) with ImageMagick: the icon on
# a blue gradient with the program's name.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
convert "$root/app/resources/program.ico[5]" -resize 64x64 "$tmp/icon.png"
convert -size 420x84 gradient:'rgb(40,110,200)-rgb(18,60,140)' -rotate 0 \
  "$tmp/icon.png" -geometry +14+10 -composite \
  -font DejaVu-Sans-Bold -pointsize 22 -fill white -annotate +92+40 'Vorlinde System Cleaner' \
  -font DejaVu-Sans -pointsize 13 -fill 'rgb(200,225,255)' -annotate +93+64 'Чистота и порядок на вашем компьютере' \
  -quality 90 "$root/data/banner.jpg"
echo "$root/data/banner.jpg"
