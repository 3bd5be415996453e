#!/usr/bin/env bash
# Draws Dormix's artwork with ImageMagick into res/art/. The files are
# committed; run this again after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/art"

# The power symbol: an open ring with a bar through its gap.
# power_symbol SIZE COLOUR STROKE OUT
power_symbol() {
  local s=$1 c=$2 w=$3 out=$4
  local m=$(( s / 2 )) r=$(( s * 34 / 100 ))
  convert -size "${s}x${s}" xc:none -stroke "$c" -strokewidth "$w" -fill none \
    -draw "arc $((m - r)),$((m - r)) $((m + r)),$((m + r)) 300,240" \
    -draw "line $m,$((m - r - w / 2)) $m,$m" "$out"
}

# Application icon: white power symbol on a blue disc, 16, 32 and 48 pixels.
for s in 16 32 48; do
  w=$(( s / 8 < 2 ? 2 : s / 8 ))
  convert -size "${s}x${s}" xc:none -fill '#1f5fbf' -stroke '#0d3b80' -strokewidth 1 \
    -draw "circle $((s / 2)),$((s / 2)) $((s / 2)),1" "icon-$s.png"
  power_symbol "$s" white "$w" "sym-$s.png"
  convert "icon-$s.png" "sym-$s.png" -composite "icon-$s.png"
done
convert icon-16.png icon-32.png icon-48.png dormix.ico
rm -f icon-*.png sym-*.png
