#!/usr/bin/env bash
# Lays a line of Thai in every shipped stitch font beside the same line set by HarfBuzz from the
# source font, to look at where the marks land:
#   tools/font-packs/compare-sheet.sh OUTDIR [TEXT] [SIZE]
# For each font (fonts.txt) it takes the size number closest to SIZE (default 10), composes TEXT
# with "mes-cli text" and draws it with "mes-cli render" (the editor's thread rendering), sets
# TEXT with "make-font-pack --harfbuzz" at the same size and scale, and stacks the pairs into
# OUTDIR/sheet.png (ImageMagick). Uses the executables and data in $BUILD (default build/).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
OUTDIR=${1:?usage: compare-sheet.sh OUTDIR [TEXT] [SIZE]}
TEXT=${2:-ปิ่น กำ ญุ ที่ ดี๊}
WANT=${3:-10}
T=/usr/share/fonts/truetype
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}

command -v convert >/dev/null || { echo "compare-sheet.sh needs ImageMagick (convert)" >&2; exit 1; }
cmake --build "$BUILD" --target mes-cli make-font-pack mes_data >/dev/null
mkdir -p "$OUTDIR"

rows=()
while IFS="|" read -r n font _latin sizes; do
    [ -z "$n" ] || [ "${n:0:1}" = "#" ] && continue
    IFS=, read -r -a list <<<"$sizes"
    best=0
    for i in "${!list[@]}"; do
        d=$((list[i] - WANT)); d=${d#-}
        b=$((list[best] - WANT)); b=${b#-}
        [ "$d" -lt "$b" ] && best=$i
    done
    size=${list[best]}
    f=$(printf %02d "$n")
    "$BUILD/bin/mes-cli" text "$TEXT" --font $((n - 1)) --size "$best" -o "$OUTDIR/font-$f.pes" >/dev/null
    "$BUILD/bin/mes-cli" render "$OUTDIR/font-$f.pes" -o "$OUTDIR/font-$f-stitched.png" >/dev/null
    "$BUILD/bin/make-font-pack" --font "$T/$font" --harfbuzz "$TEXT" --size "$size" \
        --png "$OUTDIR/font-$f-harfbuzz.png"
    convert "$OUTDIR/font-$f-stitched.png" "$OUTDIR/font-$f-harfbuzz.png" -background white \
        -gravity west -append -gravity northwest -font "$T/noto/NotoSans-Bold.ttf" -pointsize 18 \
        -annotate +4+2 "font $((n - 1)) (MIVOFONT_$(printf %03d "$n")) size $size: stitched, then HarfBuzz" \
        -bordercolor '#c0c0c0' -border 2 "$OUTDIR/font-$f.png"
    rows+=("$OUTDIR/font-$f.png")
done <"$ROOT/tools/font-packs/fonts.txt"

convert "${rows[@]}" -background white -gravity west -append "$OUTDIR/sheet.png"
echo "$OUTDIR/sheet.png"
