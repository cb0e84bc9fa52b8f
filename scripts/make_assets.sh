#!/usr/bin/env bash
# Draws Tonfang's pictures with ImageMagick: the splash picture, its German
# overlay, the program icon, the Software pictures, the help windows' header
# and the donation pictures. The results are committed, so building the
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

# The pictures of the maker's 16 programs for the Software menus and the help
# windows' overview, in menu order: draw commands on a 256 x 256 canvas, bold
# enough to read at 16 x 16. Number 7 is Tonfang itself, its own icon.
ink='#2b3050'
icon_draw() {
  case $1 in
  0) # ruler
    printf 'push graphic-context translate 128,128 rotate -45 '
    printf 'fill #f5c84c stroke %s stroke-width 12 roundrectangle -118,-44 118,44 14,14 ' "$ink"
    printf 'stroke %s stroke-width 10 ' "$ink"
    for x in -84 -56 -28 0 28 56 84; do
      if (( (x / 28) % 2 )); then len=-14; else len=6; fi
      printf 'line %s,-44 %s,%s ' "$x" "$x" "$len"
    done
    printf 'pop graphic-context ' ;;
  1) # magnifier
    printf 'stroke %s stroke-width 40 stroke-linecap round line 168,168 222,222 ' "$ink"
    printf 'fill #cfe9ff stroke %s stroke-width 16 circle 104,104 104,22 ' "$ink"
    printf 'fill none stroke #ffffff stroke-width 12 stroke-linecap round path "M 62,96 A 44,44 0 0,1 96,62" ' ;;
  2) # palette
    printf 'fill #e8c89a stroke %s stroke-width 12 ' "$ink"
    printf 'path "M 128,20 C 200,20 244,70 236,128 C 230,170 190,160 172,176 C 154,192 182,232 128,236 C 60,240 20,190 20,128 C 20,64 70,20 128,20 Z" '
    printf 'fill #ffffff stroke %s stroke-width 8 circle 150,196 150,180 ' "$ink"
    printf 'stroke none fill #e2483d circle 80,86 80,60 fill #f5c84c circle 136,62 136,38 fill #3fae5a circle 192,98 192,74 fill #2f7bff circle 66,156 66,132 ' ;;
  3) # gradient
    awk 'BEGIN { for (i = 0; i < 52; i++) { t = i / 51; u = t < 0.5 ? 2 * t : 2 * t - 1;
      if (t < 0.5) { r = 47 + u * (214 - 47); g = 123 + u * (64 - 123); b = 255 + u * (190 - 255) }
      else { r = 214 + u * (255 - 214); g = 64 + u * (170 - 64); b = 190 + u * (46 - 190) }
      printf "fill rgb(%d,%d,%d) stroke none rectangle %d,28 %d,228 ", int(r), int(g), int(b), 28 + i * 4, 32 + i * 4 } }'
    printf 'fill none stroke %s stroke-width 12 roundrectangle 26,26 230,230 10,10 ' "$ink" ;;
  4) # contrast
    printf 'fill #ffffff stroke none circle 128,128 128,22 '
    printf 'fill #1b1f3a path "M 128,22 A 106,106 0 0,0 128,234 Z" '
    printf 'fill none stroke %s stroke-width 14 circle 128,128 128,22 ' "$ink" ;;
  5) # image shrinker: a picture and its smaller copy
    printf 'fill #e8eef8 stroke #8a93b8 stroke-width 10 stroke-dasharray 18,12 roundrectangle 20,20 236,200 12,12 stroke-dasharray none '
    printf 'fill #9fd3ff stroke %s stroke-width 12 roundrectangle 92,100 236,236 10,10 ' "$ink"
    printf 'fill #3fae5a stroke none path "M 98,230 L 140,170 L 168,200 L 192,176 L 230,230 Z" '
    printf 'fill #f5c84c circle 202,132 202,118 '
    printf 'stroke %s stroke-width 14 stroke-linecap round line 36,36 74,74 line 74,74 74,46 line 74,74 46,74 ' "$ink" ;;
  6) # camera
    printf 'fill #596080 stroke %s stroke-width 12 roundrectangle 84,44 172,84 10,10 ' "$ink"
    printf 'fill #8a93b8 stroke %s stroke-width 12 roundrectangle 18,70 238,220 22,22 ' "$ink"
    printf 'fill #1b1f3a stroke %s stroke-width 10 circle 128,146 128,94 ' "$ink"
    printf 'fill #2fb8ff stroke none circle 128,146 128,118 fill #ffffff circle 114,132 114,124 '
    printf 'fill #f5c84c stroke none roundrectangle 194,88 222,104 4,4 ' ;;
  8) # character map
    printf 'fill #ffffff stroke %s stroke-width 12 roundrectangle 18,18 238,238 16,16 ' "$ink"
    printf 'stroke #c5cbe0 stroke-width 6 line 18,92 238,92 line 18,164 238,164 line 92,18 92,238 line 164,18 164,238 '
    printf 'fill #2f7bff stroke none roundrectangle 92,92 164,164 4,4 '
    printf 'fill #ffffff font DejaVu-Sans-Bold font-size 64 text 106,152 "Ä" '
    printf 'fill %s font-size 54 text 38,78 "a" text 110,78 "b" text 180,78 "c" text 34,222 "ß" text 182,222 "€" ' "$ink" ;;
  9) # text compare
    printf 'fill #ffffff stroke %s stroke-width 12 roundrectangle 14,26 122,232 10,10 roundrectangle 134,26 242,232 10,10 ' "$ink"
    printf 'stroke-width 12 stroke-linecap round '
    for y in 64 96 128 160 192; do
      if [ "$y" = 96 ]; then c1='#e2483d'; c2='#3fae5a'; elif [ "$y" = 160 ]; then c1='#e2483d'; c2='#3fae5a'; else c1='#9aa1c0'; c2='#9aa1c0'; fi
      printf 'stroke %s line 34,%s 102,%s stroke %s line 154,%s 222,%s ' "$c1" "$y" "$y" "$c2" "$y" "$y"
    done ;;
  10) # file renamer: folder and pencil
    printf 'fill #e0a82e stroke %s stroke-width 12 path "M 16,60 L 16,214 L 220,214 L 220,80 L 116,80 L 96,56 L 22,56 Z" ' "$ink"
    printf 'fill #f5c84c path "M 16,100 L 240,100 L 220,214 L 16,214 Z" '
    printf 'push graphic-context translate 168,150 rotate -45 '
    printf 'fill #e2483d stroke %s stroke-width 10 rectangle -64,-16 44,16 ' "$ink"
    printf 'fill #f3d9b0 path "M 44,-16 L 80,0 L 44,16 Z" fill %s path "M 68,-5 L 80,0 L 68,5 Z" ' "$ink"
    printf 'pop graphic-context ' ;;
  11) # sticky note
    printf 'fill #ffe066 stroke %s stroke-width 12 path "M 26,26 L 230,26 L 230,178 L 178,230 L 26,230 Z" ' "$ink"
    printf 'fill #e6c23c path "M 230,178 L 178,178 L 178,230 Z" '
    printf 'stroke #b08a10 stroke-width 10 stroke-linecap round line 58,76 198,76 line 58,116 198,116 line 58,156 150,156 ' ;;
  12) # clock
    printf 'fill #ffffff stroke %s stroke-width 16 circle 128,128 128,20 ' "$ink"
    printf 'stroke %s stroke-width 8 ' "$ink"
    printf 'line 128,36 128,52 line 128,204 128,220 line 36,128 52,128 line 204,128 220,128 '
    printf 'stroke-width 16 stroke-linecap round line 128,128 128,66 stroke #e2483d stroke-width 12 line 128,128 176,160 '
    printf 'fill %s stroke none circle 128,128 128,116 ' "$ink" ;;
  13) # key
    printf 'fill #f5c84c stroke %s stroke-width 12 ' "$ink"
    printf 'path "M 116,116 L 226,116 L 226,150 L 206,150 L 206,176 L 180,176 L 180,150 L 116,150 Z" '
    printf 'circle 76,133 76,73 '
    printf 'fill #ffffff circle 60,133 60,113 ' ;;
  14) # icon maker: a small pixel picture
    local colours=('#2f7bff' '#2fb8ff' '#f5c84c' '#e2483d' '#3fae5a' '#ffffff' '#1b1f3a' '#a659d6')
    printf 'fill #ffffff stroke %s stroke-width 12 roundrectangle 18,18 238,238 14,14 stroke none ' "$ink"
    for r in 0 1 2 3; do for c in 0 1 2 3; do
      idx=$(( (r * 5 + c * 3) % 8 ))
      printf 'fill %s rectangle %d,%d %d,%d ' "${colours[$idx]}" $((34 + c * 48)) $((34 + r * 48)) $((76 + c * 48)) $((76 + r * 48))
    done; done ;;
  15) # folder size: pie chart
    printf 'fill #2f7bff stroke none circle 128,128 128,20 '
    printf 'fill #f5c84c path "M 128,128 L 128,20 A 108,108 0 0,1 228,168 Z" '
    printf 'fill #3fae5a path "M 128,128 L 228,168 A 108,108 0 0,1 92,230 Z" '
    printf 'fill none stroke %s stroke-width 14 circle 128,128 128,20 ' "$ink"
    printf 'stroke %s stroke-width 10 line 128,128 128,20 line 128,128 228,168 line 128,128 92,230 ' "$ink" ;;
  esac
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for i in $(seq 0 15); do
  if [ "$i" = 7 ]; then
    cp tonfang.png "$tmp/icon-$i.png"
  else
    convert -size 256x256 xc:none -draw "$(icon_draw "$i")" PNG32:"$tmp/icon-$i.png"
  fi
done
# One strip per size, the pictures side by side in menu order: 16 for the
# menus, 32 for the overview, 64 for the overview on a doubled screen.
for size in 16 32 64; do
  args=()
  for i in $(seq 0 15); do args+=("(" "$tmp/icon-$i.png" -filter Lanczos -resize ${size}x${size} ")"); done
  convert "${args[@]}" -background none +append +repage \
    -define png:exclude-chunk=date,time PNG32:software-$size.png
done

# The pictures the windows show are drawn twice: at their own size and, for
# screens scaled by two, the same design at twice the pixels (name@2x.jpg).
# Every size and place below is given at the first; `scale` multiplies them.
scale=1

# A length at the current scale.
n() { awk -v v="$1" -v s="$scale" 'BEGIN { print v * s }'; }

# Draw commands are given in pixel centres of the first size: this affine
# keeps each shape on the same area of the picture at every scale.
at() { awk -v s="$scale" 'BEGIN { printf "affine %g,0,0,%g,%g,%g ", s, s, (s - 1) / 2, (s - 1) / 2 }'; }

# A rectangle over whole pixels, X0,Y0 to X1,Y1 inclusive at the first size.
rect() {
  printf 'rectangle %d,%d %d,%d ' $((scale * $1)) $((scale * $2)) \
    $((scale * $3 + scale - 1)) $((scale * $4 + scale - 1))
}

# The splash picture, 300 x 340. Its lower band is one flat colour and its
# left part carries the English tag line; the German overlay covers exactly
# that part with the same colour, so the two fit without a seam.
band='#161b38'
splash() {
  convert -size "$(n 300)x$(n 340)" gradient:'#232a52'-'#0d1022' \
    -fill none -stroke '#ffffff22' -strokewidth 1 -draw "$(at)circle 150,112 150,12" \
    -stroke none -draw "$(at)$(wheel 150 112 46 92 36)" \
    -fill '#0d1022' -draw "$(at)circle 150,112 150,68" \
    -draw "$(at)$(dropper 130 132 0.92 '#2fb8ff')" \
    -font $bold -pointsize "$(n 42)" -fill white -gravity north -annotate "+0+$(n 200)" 'Tonfang' \
    -fill "$band" -draw "$(rect 0 258 300 340)" \
    -fill '#f5c84c' -draw "$(rect 0 258 300 259)" \
    -gravity northwest -font $bold -pointsize "$(n 17)" -fill '#f5c84c' \
    -annotate "+$(n 14)+$(n 276)" 'Color picker' \
    -font $font -pointsize "$(n 12)" -fill '#c9cde6' -annotate "+$(n 14)+$(n 302)" 'Screen colors' \
    -gravity southeast -font $font -pointsize "$(n 12)" -fill '#8f96c2' \
    -annotate "+$(n 12)+$(n 10)" 'Quellwerk' \
    -quality 92 -sampling-factor 1x1 "$1"
}

# The German overlay, 175 x 82, drawn over the splash at (0, 258).
splash_overlay() {
  convert -size "$(n 175)x$(n 82)" xc:"$band" \
    -fill '#f5c84c' -draw "$(rect 0 0 175 1)" \
    -gravity northwest -font $bold -pointsize "$(n 17)" -fill '#f5c84c' \
    -annotate "+$(n 14)+$(n 18)" 'Farbpipette' \
    -font $font -pointsize "$(n 12)" -fill '#c9cde6' -annotate "+$(n 14)+$(n 44)" 'Farben aufnehmen' \
    -quality 92 -sampling-factor 1x1 "$1"
}

# The help windows' header, 543 x 100: the splash's colours as a band, the
# wheel and pipette, the name, and a row of swatches like the colour list.
help_header() {
  local swatches="" colours=('#e2483d' '#f08c2e' '#f5c84c' '#3fae5a' '#2fb8ff' '#2f7bff' '#a659d6') i x
  for i in "${!colours[@]}"; do
    x=$((356 + i * 24)); swatches+="fill ${colours[$i]} stroke #ffffff30 stroke-width 1 roundrectangle $x,38 $((x + 18)),62 3,3 "
  done
  convert -size "$(n 100)x$(n 543)" gradient:'#2a3263'-'#0d1022' -rotate -90 +repage \
    -fill none -stroke '#ffffff18' -strokewidth 1 -draw "$(at)circle 52,50 52,4" \
    -stroke none -draw "$(at)$(wheel 52 50 24 42 36)" \
    -fill '#0d1022' -draw "$(at)circle 52,50 52,26" \
    -draw "$(at)$(dropper 44 56 0.42 '#2fb8ff')" \
    -font $bold -pointsize "$(n 30)" -fill white -gravity northwest -annotate "+$(n 108)+$(n 20)" 'Tonfang' \
    -font $font -pointsize "$(n 13)" -fill '#c9cde6' -annotate "+$(n 110)+$(n 60)" 'Quellwerk' \
    -draw "$(at)$swatches" \
    -fill '#f5c84c' -draw "$(rect 0 98 543 99)" \
    -quality 92 -sampling-factor 1x1 "$1"
}

# The donation pictures, 504 x 289, one per language: the help windows show
# the explanation as part of the picture.
# donate FILE TITLE PARAGRAPH BULLET1 BULLET2 BULLET3 THANKS
donate() {
  local out=$1 title=$2 text=$3 b1=$4 b2=$5 b3=$6 thanks=$7
  local heart='M 80,140 C 30,104 6,78 6,50 C 6,24 26,6 48,6 C 62,6 74,14 80,26 C 86,14 98,6 112,6 C 134,6 154,24 154,50 C 154,78 130,104 80,140 Z'
  convert -size "$(n 504)x$(n 289)" xc:'#f6f6fa' \
    -fill '#ebecf5' -draw "$(rect 0 0 176 289)" \
    \( -size "$(n 160)x$(n 146)" gradient:'#ff5f7e'-'#ffb347' \
       \( -size "$(n 160)x$(n 146)" xc:black -fill white -draw "$(at)path '$heart'" \) \
       -alpha off -compose CopyOpacity -composite -compose Over \) \
    -geometry "+$(n 8)+$(n 62)" -composite \
    -stroke none -fill '#2b3050' -font $bold -pointsize "$(n 20)" -annotate "+$(n 196)+$(n 40)" "$title" \
    -fill '#f5c84c' -draw "$(rect 196 50 246 52)" \
    \( -size "$(n 290)x" -background none -font $font -pointsize "$(n 11.5)" -fill '#333644' \
       -interline-spacing "$(n 3)" caption:"$text" \) \
    -geometry "+$(n 196)+$(n 64)" -composite \
    -font $font -pointsize "$(n 11.5)" -fill '#3fae5a' \
    -annotate "+$(n 196)+$(n 166)" '✓' -annotate "+$(n 196)+$(n 190)" '✓' -annotate "+$(n 196)+$(n 214)" '✓' \
    -fill '#333644' -annotate "+$(n 214)+$(n 166)" "$b1" -annotate "+$(n 214)+$(n 190)" "$b2" \
    -annotate "+$(n 214)+$(n 214)" "$b3" \
    -font $bold -pointsize "$(n 14)" -fill '#e2483d' -annotate "+$(n 196)+$(n 256)" "$thanks" \
    -quality 92 -sampling-factor 1x1 "$out"
}

for scale in 1 2; do
  twice=$([ "$scale" = 1 ] || echo @2x)
  splash splash$twice.jpg
  splash_overlay splash_de$twice.jpg
  help_header help_header$twice.jpg
  donate donate_de$twice.jpg 'Wieso spenden?' \
    'Tonfang ist kostenlos: ohne Werbung, ohne Testphase und ohne gesperrte Funktionen. Damit das so bleibt, sind wir auf Ihre Unterstützung angewiesen.' \
    'Jede Spende fließt in Pflege und Ausbau.' 'Sie bestimmen den Betrag selbst.' 'Auch ein kleiner Betrag hilft weiter.' 'Vielen Dank!'
  donate donate_en$twice.jpg 'Why Donate?' \
    'Tonfang is free: no adverts, no trial period and no locked features. To keep it that way, we rely on your support.' \
    'Every donation funds upkeep and new features.' 'You choose the amount yourself.' 'Even a small amount helps.' 'Thank you!'
done

echo "Wrote the splash, icon, software, help header and donation pictures in $PWD"
