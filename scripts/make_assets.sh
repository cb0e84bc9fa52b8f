#!/usr/bin/env bash
# Draws Tonfang's pictures with ImageMagick: the splash picture, its German
# overlay and the program icon. The results are committed, so building the
# program never needs ImageMagick; run this only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")/../assets"

font=DejaVu-Sans
bold=DejaVu-Sans-Bold

# Draw commands for a ring of hue wedges around (cx, cy): n wedges between the
# radii rin and rout, starting at the top and going clockwise.
wheel() {
  awk -v cx="$1" -v cy="$2" -v rin="$3" -v rout="$4" -v n="$5" 'BEGIN {
    pi = atan2(0, -1)
    for (i = 0; i < n; i++) {
      a0 = (i / n) * 2 * pi - pi / 2; a1 = ((i + 1) / n) * 2 * pi - pi / 2
      hue = int(i * 360 / n)
      printf "fill hsl(%d,100%%,50%%) stroke hsl(%d,100%%,50%%) stroke-width 0.6 ", hue, hue
      printf "path \"M %.2f,%.2f L %.2f,%.2f A %g,%g 0 0,1 %.2f,%.2f L %.2f,%.2f A %g,%g 0 0,0 %.2f,%.2f Z\" ",
        cx + rin * cos(a0), cy + rin * sin(a0), cx + rout * cos(a0), cy + rout * sin(a0),
        rout, rout, cx + rout * cos(a1), cy + rout * sin(a1),
        cx + rin * cos(a1), cy + rin * sin(a1), rin, rin, cx + rin * cos(a0), cy + rin * sin(a0)
    }
  }'
}

# An eyedropper lying at 45 degrees, its tip at (x, y), scaled by s, the drop
# at its tip in the given colour.
dropper() {
  local x=$1 y=$2 s=$3 drop=$4
  printf 'push graphic-context translate %s,%s rotate -45 scale %s,%s ' "$x" "$y" "$s" "$s"
  # glass tube with a coloured fill, the collar and the rubber bulb
  printf 'fill white stroke #1b1f3a stroke-width 2.5 path "M 0,0 L 10,-6 L 62,-6 L 62,6 L 10,6 Z" '
  printf 'fill %s stroke none path "M 3,0 L 11,-3.5 L 30,-3.5 L 30,3.5 L 11,3.5 Z" ' "$drop"
  printf 'fill #596080 stroke #1b1f3a stroke-width 2.5 roundrectangle 60,-11 72,11 3,3 '
  printf 'fill #e2483d stroke #1b1f3a stroke-width 2.5 roundrectangle 70,-9 112,9 9,9 '
  printf 'fill none stroke #ffffff60 stroke-width 2 line 78,-4 104,-4 '
  printf 'pop graphic-context '
  # the drop falling from the tip
  printf 'fill %s stroke #1b1f3a stroke-width %s ' "$drop" "$(awk -v s="$s" 'BEGIN{print 1.5*s}')"
  awk -v x="$x" -v y="$y" -v s="$s" 'BEGIN {
    printf "path \"M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f Z\" ",
      x, y + 6 * s, x - 7 * s, y + 16 * s, x - 7 * s, y + 24 * s, x, y + 24 * s,
      x + 7 * s, y + 24 * s, x + 7 * s, y + 16 * s, x, y + 6 * s
  }'
}

# The splash picture, 300 x 340. Its lower band is one flat colour and its
# left part carries the English tag line; the German overlay covers exactly
# that part with the same colour, so the two fit without a seam.
band='#161b38'
eval "convert -size 300x340 gradient:'#232a52'-'#0d1022' \
  -fill none -stroke '#ffffff22' -strokewidth 1 -draw 'circle 150,112 150,12' \
  -stroke none -draw '$(wheel 150 112 46 92 36)' \
  -fill '#0d1022' -draw 'circle 150,112 150,68' \
  -draw '$(dropper 130 132 0.92 '#2fb8ff')' \
  -font $bold -pointsize 42 -fill white -gravity north -annotate +0+200 'Tonfang' \
  -fill '$band' -draw 'rectangle 0,258 300,340' \
  -fill '#f5c84c' -draw 'rectangle 0,258 300,259' \
  -gravity northwest -font $bold -pointsize 17 -fill '#f5c84c' -annotate +14+276 'Colour picker' \
  -font $font -pointsize 12 -fill '#c9cde6' -annotate +14+302 'Screen colours' \
  -gravity southeast -font $font -pointsize 12 -fill '#8f96c2' -annotate +12+10 'Quellwerk' \
  -quality 92 -sampling-factor 1x1 splash.jpg"

# The German overlay, 175 x 82, drawn over the splash at (0, 258).
convert -size 175x82 xc:"$band" \
  -fill '#f5c84c' -draw 'rectangle 0,0 175,1' \
  -gravity northwest -font $bold -pointsize 17 -fill '#f5c84c' -annotate +14+18 'Farbpipette' \
  -font $font -pointsize 12 -fill '#c9cde6' -annotate +14+44 'Farben aufnehmen' \
  -quality 92 -sampling-factor 1x1 splash_de.jpg

# The icon, 256 x 256 with a transparent background.
eval "convert -size 256x256 xc:none \
  -fill '#1b1f3a' -draw 'circle 128,128 128,4' \
  -stroke none -draw '$(wheel 128 128 56 116 36)' \
  -fill '#1b1f3a' -draw 'circle 128,128 128,70' \
  -draw '$(dropper 100 150 1.25 '#2fb8ff')' \
  -define png:exclude-chunk=date,time PNG32:tonfang.png"

# Smaller sizes for menus and panels, which would otherwise scale the large one.
for size in 16 32 48 64 128; do
  convert tonfang.png -filter Lanczos -resize ${size}x${size} \
    -define png:exclude-chunk=date,time PNG32:tonfang-$size.png
done

echo "Wrote splash.jpg, splash_de.jpg and the tonfang icons in $PWD"
