#!/usr/bin/env bash
# Draws every picture of Dormix with ImageMagick into res/art/. The files are
# committed; run this again after changing a drawing. Small shapes are drawn
# four times larger in a pixel-grid coordinate system (pixel i spans i..i+1)
# and scaled down, which anti-aliases them evenly. BMPs are plain BMP3
# (BITMAPINFOHEADER, no alpha, no compression); the build packs them with
# tools/pack-picture.
set -euo pipefail
cd "$(dirname "$0")/art"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

# One palette for everything.
NAVY='#17305a'  BLUE='#2563c9'  SKY='#8fb8f0'  PALE='#e4edfa'
RED='#d8261c'   REDD='#8e140d'  AMBER='#f3a81c' AMBERD='#9c6200'
GREEN='#2f9a47' GREY='#8b94a1'  DARK='#1c2430'  MAGENTA='#ff00ff'
BOLD=DejaVu-Sans-Bold  BOOK=DejaVu-Sans

# ---- shapes: each prints MVG in pixel-grid units ---------------------------

# band CX CY R WIDTH FROM TO COLOUR: a filled arc of a ring with round ends,
# clockwise from angle FROM to TO (degrees, 0 = right, 90 = down). Drawn as
# an outline because ImageMagick closes a stroked open arc.
band() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" -v a0="$5" -v a1="$6" -v c="$7" '
    function pt(a, q) { return sprintf("%.3f,%.3f", cx + q * cos(a), cy + q * sin(a)) }
    BEGIN {
      d = atan2(0, -1) / 180; s = a0 * d; e = a1 * d; o = r + w / 2; i = r - w / 2
      big = (a1 - a0 > 180) ? 1 : 0
      printf "push graphic-context fill %s stroke none ", c
      printf "path \047M %s A %s,%s 0 %d,1 %s L %s A %s,%s 0 %d,0 %s Z\047 ", pt(s, o), o, o, big, pt(e, o), pt(e, i), i, i, big, pt(s, i)
      printf "circle %s %s circle %s %s pop graphic-context\n", pt(s, r), pt(s, r - w / 2), pt(e, r), pt(e, r - w / 2) }'
}

# power CX CY R WIDTH COLOUR: the power symbol, a ring open at the top with
# a bar through the gap; the bar's top stands 0.28 R above the ring.
power() {
  band "$1" "$2" "$3" "$4" -52 232 "$5"
  awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" -v c="$5" 'BEGIN {
    printf "push graphic-context stroke %s stroke-width %s stroke-linecap round ", c, w
    printf "line %s,%.3f %s,%.3f pop graphic-context\n", cx, cy - r * 1.28, cx, cy - r * 0.1 }'
}

# disc CX CY R FILL RIM [RIMWIDTH]: a filled circle whose rim ends at radius R.
disc() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v f="$4" -v c="$5" -v w="${6:-1}" 'BEGIN {
    printf "fill %s stroke %s stroke-width %s circle %s,%s %s,%.3f\n", f, c, w, cx, cy, cx, cy - r + w / 2 }'
}

# clock RIM HANDS [RIMWIDTH]: a white face on the 16-unit grid, ticks at the
# quarters and hands at ten past ten.
clock() {
  disc 8 8 7 white "$1" "${3:-1}"
  echo "stroke $1 stroke-width 1 line 8,3 8,4 line 13,8 12,8 line 8,13 8,12 line 3,8 4,8"
  echo "stroke $2 stroke-width 1.3 stroke-linecap round line 8,8 10.8,5.2 line 8,8 5.4,6.4"
  echo "fill $2 stroke none circle 8,8 8,7"
}

# gear FILL: eight teeth around a hole.
gear() {
  awk -v f="$1" -v o="$NAVY" 'BEGIN {
    pi = atan2(0, -1); p = ""
    for (i = 0; i < 32; i++) {
      a = (i - 0.5) * pi / 16; r = (int(i / 2) % 2) ? 5.2 : 7.2
      p = p sprintf("%s %.3f,%.3f ", i ? "L" : "M", 8 + r * cos(a), 8 + r * sin(a))
    }
    printf "fill %s stroke %s stroke-width 1 fill-rule evenodd ", f, o
    printf "path \047%s Z M 10.3,8 A 2.3,2.3 0 1,0 5.7,8 A 2.3,2.3 0 1,0 10.3,8 Z\047\n", p }'
}

# padlock: grey shackle over an amber body with a keyhole.
padlock() {
  band 8 5.5 3 1.6 180 360 "$GREY"
  echo "stroke $GREY stroke-width 1.6 line 5,5.5 5,7.5 line 11,5.5 11,7.5"
  echo "fill $AMBER stroke $AMBERD stroke-width 1 roundrectangle 2.5,7.5 13.5,14.5 1.5,1.5"
  echo "fill $DARK stroke none circle 8,10.3 8,9.1 rectangle 7.5,10.5 8.5,12.8"
}

# bubble: a speech bubble with three dots.
bubble() {
  echo "fill white stroke $BLUE stroke-width 1 path 'M 3,2.5 L 13,2.5 A 1.5,1.5 0 0,1 14.5,4" \
    "L 14.5,9.5 A 1.5,1.5 0 0,1 13,11 L 7,11 L 3.5,14 L 4.5,11 L 3,11 A 1.5,1.5 0 0,1 1.5,9.5" \
    "L 1.5,4 A 1.5,1.5 0 0,1 3,2.5 Z'"
  echo "fill $BLUE stroke none circle 5,6.8 5,5.8 circle 8,6.8 8,5.8 circle 11,6.8 11,5.8"
}

# monitor SCREEN: a flat screen on a stand.
monitor() {
  echo "fill $GREY stroke $NAVY stroke-width 1 path 'M 6,12 L 10,12 L 11,14.5 L 5,14.5 Z'"
  echo "fill $1 stroke $NAVY stroke-width 1 roundrectangle 0.5,1.5 15.5,12 1,1"
}

# ---- output helpers --------------------------------------------------------

# render W H OUT MVG...: draw the MVG at four times the size, scale it down.
render() {
  local w=$1 h=$2 out=$3; shift 3
  convert -size "$((w * 4))x$((h * 4))" xc:none -draw "affine 4,0,0,4,-0.5,-0.5 $*" \
    -scale "${w}x${h}!" "$out"
}

# bmp IN OUT: flatten on white and write a plain 8-bit BMP3. Nothing is
# dithered: 256 colours show no bands in the gradients, and undithered rows
# repeat, so the pictures pack small (tools/pack-picture).
bmp() {
  convert "$1" -background white -alpha remove -alpha off -dither None -colors 256 \
    -type Palette -compress None "BMP3:$2"
}

# glyph INDEX MVG...: one menu image on magenta, drawn at 200 % (32x32):
# the program scales it down to the dpi's size. Edge pixels that are mostly
# covered are blended onto the menu grey, the rest become magenta.
glyph() {
  local i; i=$(printf %02d "$1"); shift
  render 32 32 "$T/g$i.png" "scale 2,2 $*"
  convert "$T/g$i.png" \( +clone -background '#f0f0f0' -alpha remove \) \
    \( -clone 0 -alpha extract -threshold 45% \) -delete 0 \
    -alpha off -compose CopyOpacity -composite \
    -compose Over -background "$MAGENTA" -alpha remove "$T/g$i.png"
}

# page NAME MVG...: a 32x32 page icon at 200 % (64x64), drawn on the
# 16-unit grid at four times the size.
page() {
  local n=$1; shift
  render 64 64 "$T/p.png" "scale 4,4 $*"
  bmp "$T/p.png" "page-$n.bmp"
}

# icon NAME SIZES MVG...: a Windows icon holding the given sizes (multiples
# of 8) of one 16-unit drawing.
icon() {
  local n=$1 sizes=$2 s; shift 2
  for s in $sizes; do
    local k; k=$(awk "BEGIN { print $s / 16 }")
    render "$s" "$s" "$T/i$s.png" "scale $k,$k $*"
  done
  convert $(for s in $sizes; do echo "$T/i$s.png"; done) "$n.ico"
}

# ---- the pictures -----------------------------------------------------------

# The banners, the About picture, the notice's power symbol and the lock
# panel's banner are drawn by the program at the size the dpi asks for
# (src/art/Artwork.cpp).

# Page icons of the main window.
page clock "$(clock "$BLUE" "$NAVY")"
page general "$(gear "#b7c7df")"
page protection "$(padlock)"
page shortcuts "fill #c9d3e1 stroke $NAVY stroke-width 1 roundrectangle 1.5,1.5 14.5,14.5 2,2" \
  "fill white stroke #aab6c6 stroke-width 0.6 roundrectangle 3,2.6 13,11.2 1.4,1.4" \
  "fill $NAVY stroke none font $BOLD font-size 7.2 text 5.2,9.6 'A'"
page messages "$(bubble)"

# Menu images, index by index: 0 main window, 1 alarm clock, 2 bell, 3 about,
# 4 calendar, 5 exit, 6 monitor off, 7 speaker, 8 keyboard, 9 protection panel,
# 10 hourglass, 11 message, 12 hibernate, 13 shut down, 14 restart,
# 15 stopwatch, 16 stand by, 17 clock, 18 screen saver, 19 log off, 20 gear,
# 21 help.
glyph 0 "fill white stroke $NAVY stroke-width 1 roundrectangle 0.5,1.5 15.5,14.5 1,1" \
  "fill $BLUE stroke none rectangle 1,2 15,5" \
  "fill $NAVY rectangle 3,8 13,9 rectangle 3,11 13,12 fill $AMBER circle 6,8.5 6,7.2 circle 10,11.5 10,10.2"
glyph 1 "stroke $NAVY stroke-width 1.2 stroke-linecap round line 4,13 2.8,14.8 line 12,13 13.2,14.8" \
  "fill $AMBER stroke $AMBERD stroke-width 1 circle 3.5,3.5 3.5,1.3 circle 12.5,3.5 12.5,1.3" \
  "$(clock "$BLUE" "$NAVY")"
glyph 2 "fill $AMBER stroke $AMBERD stroke-width 1 path 'M 8,1.5 A 4.5,4.5 0 0,1 12.5,6 L 12.5,10" \
  "L 14.5,12.5 L 1.5,12.5 L 3.5,10 L 3.5,6 A 4.5,4.5 0 0,1 8,1.5 Z' fill $AMBERD stroke none circle 8,13.8 8,12.3"
glyph 3 "$(disc 8 8 7 "$BLUE" "$NAVY")" "fill white stroke none circle 8,4.6 8,3.4 rectangle 6.8,6.6 9.2,12.4"
glyph 4 "fill white stroke $NAVY stroke-width 1 rectangle 1.5,2.5 14.5,14.5" \
  "fill $RED rectangle 1.5,2.5 14.5,5.5 fill $NAVY stroke none rectangle 4,0.8 5,3.6 rectangle 11,0.8 12,3.6" \
  "fill $GREY rectangle 3.5,7.5 5.5,9 rectangle 7,7.5 9,9 rectangle 10.5,7.5 12.5,9" \
  "rectangle 3.5,10.8 5.5,12.3 rectangle 7,10.8 9,12.3 fill $RED rectangle 10.5,10.8 12.5,12.3"
glyph 5 "fill $PALE stroke $NAVY stroke-width 1 rectangle 1.5,1.5 9.5,14.5" \
  "fill #8a5a2b path 'M 1.5,1.5 L 6.5,3 L 6.5,15.5 L 1.5,14.5 Z'" \
  "stroke $RED stroke-width 2 line 7,8 12,8 fill $RED stroke none path 'M 11,4.5 L 15,8 L 11,11.5 Z'"
glyph 6 "$(monitor "$DARK")" "stroke #4a586c stroke-width 1 line 10,3.5 4.5,10"
glyph 7 "fill $GREY stroke $NAVY stroke-width 1 path 'M 1.5,5.5 L 4.5,5.5 L 8.5,2 L 8.5,14 L 4.5,10.5 L 1.5,10.5 Z'" \
  "$(band 7 8 3.4 1.4 -45 45 "$BLUE")" "$(band 7 8 6 1.4 -50 50 "$BLUE")"
glyph 8 "fill #c9d3e1 stroke $NAVY stroke-width 1 roundrectangle 0.5,3.5 15.5,12.5 1,1 fill white stroke none" \
  "$(for x in 2 4 6 8 10 12; do echo "rectangle $x,5 $((x + 1)),6 rectangle $((x + 1)),7 $((x + 2)),8"; done)" \
  "rectangle 4,9.8 12,10.8"
glyph 9 "$(padlock)"
glyph 10 "fill $PALE stroke $NAVY stroke-width 1 path 'M 3.5,2 L 12.5,2 L 8.7,8 L 12.5,14 L 3.5,14 L 7.3,8 Z'" \
  "fill $AMBER stroke none path 'M 5.3,4 L 10.7,4 L 8,7.5 Z' path 'M 8,10.5 L 11,13.3 L 5,13.3 Z'" \
  "fill #8a5a2b rectangle 2,1 14,2.5 rectangle 2,13.5 14,15"
glyph 11 "$(bubble)"
glyph 12 "fill none stroke #1e5bb5 stroke-width 1.2 stroke-linecap round" \
  "$(awk 'BEGIN { pi = atan2(0, -1)
    for (k = 0; k < 6; k++) { a = k * pi / 3; c = cos(a); s = sin(a)
      printf "line 7.5,7.5 %.3f,%.3f ", 7.5 + 6.5 * s, 7.5 - 6.5 * c
      for (d = -1; d <= 1; d += 2) printf "line %.3f,%.3f %.3f,%.3f ", 7.5 + 4 * s, 7.5 - 4 * c,
        7.5 + 4 * s + 2 * sin(a + d * pi / 4), 7.5 - 4 * c - 2 * cos(a + d * pi / 4) } }')"
glyph 13 "$(disc 8 8 7 "$RED" "$REDD")" "$(power 8 8.55 3.7 1.8 white)"
glyph 14 "$(band 8 8.5 5 2 20 270 "$GREEN")" "fill $GREEN stroke none path 'M 12,3.5 L 7.6,0.5 L 7.6,6.5 Z'"
glyph 15 "fill $GREY stroke $NAVY stroke-width 1 rectangle 6.5,0.5 9.5,2.5 stroke-width 1.5 line 12.2,3.8 13.4,2.6" \
  "fill white stroke $NAVY stroke-width 1 circle 8,9 8,2.8" \
  "fill $RED stroke none path 'M 8,9 L 8,4.2 A 4.8,4.8 0 0,1 12.2,6.6 Z'"
glyph 16 "fill $AMBER stroke $AMBERD stroke-width 1 path 'M 9,1.5 A 6.5,6.5 0 1,0 14.5,10.5 A 5,5 0 0,1 9,1.5 Z'" \
  "fill $AMBER stroke none circle 13,3.5 13,2.7 circle 10.5,6.5 10.5,6"
glyph 17 "$(clock "$BLUE" "$NAVY")"
glyph 18 "$(monitor "#1f4f9a")" "fill white stroke none rectangle 3,3 4,4 rectangle 12,8 13,9 rectangle 4,9 5,10" \
  "fill $AMBER rectangle 7,6 10,7 rectangle 8,5 9,8 rectangle 12,3 13,4"
glyph 19 "fill $AMBER stroke $AMBERD stroke-width 1 path 'M 7.5,6.5 L 15.5,6.5 L 15.5,9.5 L 14.5,9.5" \
  "L 14.5,11.5 L 12.5,11.5 L 12.5,9.5 L 11.5,9.5 L 11.5,10.5 L 9.5,10.5 L 9.5,9.5 L 7.5,9.5 Z'" \
  "fill-rule evenodd path 'M 0.5,8 A 4,4 0 1,0 8.5,8 A 4,4 0 1,0 0.5,8 Z M 2.5,8 A 1.2,1.2 0 1,0 4.9,8 A 1.2,1.2 0 1,0 2.5,8 Z'"
glyph 20 "$(gear "#b7c7df")"
glyph 21 "$(disc 8 8 7 "$BLUE" "$NAVY")" "fill white stroke none font $BOLD font-size 11 text 4.8,12.2 '?'"
convert "$T"/g*.png +append -type TrueColor -compress None BMP3:menu-glyphs.bmp

# Tray icons (clock enabled, clock disabled) and the application icon.
icon tray-enabled "16 24 32" "$(clock "$BLUE" "$NAVY" 2)"
icon tray-disabled "16 24 32" "$(clock "#8d96a2" "#5f6873" 2)" \
  "stroke white stroke-width 3.4 stroke-linecap round line 2.5,13.5 13.5,2.5 stroke $RED stroke-width 1.8 line 2.5,13.5 13.5,2.5"
icon dormix "16 24 32 48" "$(disc 8 8 7.5 "$BLUE" "$NAVY")" "$(power 8 8.55 3.9 1.8 white)"

# The installer's welcome and finish pages (164x314): the blue card standing
# up, the notice's power symbol, the name and a tag line. Not part of the
# program's resources, so it lives in a folder of its own.
render 96 96 "$T/sym.png" "scale 6,6 $(disc 8 8 7.5 "$RED" "$REDD" 0.5)" "$(power 8 8.55 3.9 1.3 white)"
convert -size 164x314 gradient:"$BLUE-#0e2550" \
  -fill none -stroke '#ffffff14' -strokewidth 18 -draw "circle 82,120 82,40" -draw "circle 82,120 82,-12" \
  "$T/sym.png" -geometry +34+72 -composite \
  -stroke none -gravity north -fill white -font "$BOLD" -pointsize 30 -annotate +0+186 Dormix \
  -fill "$SKY" -font "$BOOK" -pointsize 12 -annotate +0+226 "Right on time" "$T/finish.png"
mkdir -p installer
bmp "$T/finish.png" installer/finish.bmp
