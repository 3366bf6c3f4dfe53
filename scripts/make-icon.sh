#!/usr/bin/env bash
# Draws the program's icon (app/resources/program.ico) with ImageMagick:
# a blue rounded tile with a white broom stroke and a green sparkle.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/app/resources/program.ico"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill 'rgb(32,96,192)' -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill 'rgb(64,140,230)' -draw 'roundrectangle 8,8 247,128 48,48' \
  -fill 'rgb(32,96,192)' -draw 'rectangle 8,96 247,140' \
  -stroke white -strokewidth 26 -fill none -draw 'line 70,60 150,170' \
  -stroke none -fill white -draw 'polygon 120,150 190,120 215,205 150,215' \
  -fill 'rgb(120,220,90)' -draw 'polygon 70,150 80,175 105,185 80,195 70,220 60,195 35,185 60,175' \
  "$tmp/icon.png"
for s in 16 24 32 48 64 256; do convert "$tmp/icon.png" -resize ${s}x${s} "$tmp/i$s.png"; done
convert "$tmp"/i16.png "$tmp"/i24.png "$tmp"/i32.png "$tmp"/i48.png "$tmp"/i64.png "$tmp"/i256.png "$out"
echo "$out"
