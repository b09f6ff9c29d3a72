#!/usr/bin/env bash
# Regenerates the fifteen shipped stitch fonts in data/MIVO_FONTS from Debian's Thai fonts
# (the table is tools/font-packs/fonts.txt):
#   tools/font-packs/build-packs.sh            (uses build/bin/make-font-pack)
#   BUILD=build-x SPECIMENS=/tmp/s tools/font-packs/build-packs.sh
# Writes every pack folder, the quality report data/MIVO_FONTS/QUALITY.txt, the licences of the
# source fonts, and one specimen sheet per font into $SPECIMENS (not committed; the report names
# nothing outside the repository).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
TOOL=$BUILD/bin/make-font-pack
OUT=$ROOT/data
FONTS_DIR=$OUT/MIVO_FONTS
SPECIMENS=${SPECIMENS:-/tmp/mes-specimens}
T=/usr/share/fonts/truetype

"$ROOT/tools/deps.sh"  # the source fonts are among its packages
cmake --build "$BUILD" --target make-font-pack  # a stale builder would write stale packs

# number | font | Latin companion | size numbers (the editor's font size table), from fonts.txt
mapfile -t FONTS < <(grep -v '^#' "$ROOT/tools/font-packs/fonts.txt")

rm -rf "$FONTS_DIR"/MIVOFONT_*
mkdir -p "$FONTS_DIR/licences" "$SPECIMENS"
LOGS=$(mktemp -d)
start=$(date +%s)
for entry in "${FONTS[@]}"; do echo "$entry"; done |
  xargs -P 2 -I{} bash -c '
    IFS="|" read -r n font latin sizes <<<"{}"
    args=(--font '"$T"'/$font --number $n --sizes $sizes --out '"$OUT"'
          --specimen '"$SPECIMENS"'/font-$(printf %03d $n).png)
    [ -n "$latin" ] && args+=(--latin '"$T"'/$latin)
    '"$TOOL"' "${args[@]}" > '"$LOGS"'/$n.log'
end=$(date +%s)

cp /usr/share/doc/fonts-tlwg-garuda-ttf/copyright "$FONTS_DIR/licences/fonts-tlwg.copyright"
cp /usr/share/doc/fonts-noto-core/copyright "$FONTS_DIR/licences/fonts-noto-core.copyright"
cp /usr/share/common-licenses/GPL-2 "$FONTS_DIR/licences/GPL-2"

{
  echo "Quality report of the shipped stitch fonts (make-font-pack, see tools/font-packs/main.cpp)."
  echo "Coverage: share of the outline (rasterised at 0.1 mm) under thread 0.4 mm wide."
  echo "Outside: share of the thread more than 0.2 mm outside the outline."
  echo "Short: stitches under 0.3 mm (lock stitches excepted). Spacing: per-glyph median"
  echo "distance between parallel satin threads. Extra jumps: movements beyond one per gap"
  echo "between separate parts of a glyph."
  for entry in "${FONTS[@]}"; do
    echo
    cat "$LOGS/${entry%%|*}.log"
  done
  echo
  # All fonts together, from each font's "all sizes" line.
  for entry in "${FONTS[@]}"; do grep '^all sizes' "$LOGS/${entry%%|*}.log"; done | awk '
    { g += $4; cov += $4 * $7; if (!n++ || $9 < cmin) cmin = $9; low += $11 + 0
      if ($14 > omax) omax = $14; high += $16 + 0; short += $18
      split($21, sp, "\\.\\."); if (!smin || sp[1] + 0 < smin) smin = sp[1] + 0; if (sp[2] + 0 > smax) smax = sp[2] + 0
      split($24, sc, "\\.\\."); if (!qmin || sc[1] + 0 < qmin) qmin = sc[1] + 0; if (sc[2] + 0 > qmax) qmax = sc[2] + 0
      if ($28 > rmax) rmax = $28; trims += $31; jumps += $34 }
    END { printf "all fonts glyphs %d  coverage mean %.3f min %.3f (<0.90: %d)  outside max %.3f (>0.05: %d)  short %d  satin span %.1f..%.1f mm  spacing %.2f..%.2f mm  run max %.1f mm  trims %d  extra jumps %d\n",
          g, cov / g, cmin, low, omax, high, short, smin, smax, qmin, qmax, rmax, trims, jumps }'
  echo "Built in $((end - start)) s; packs $(du -sk --exclude=licences "$FONTS_DIR" | cut -f1) KiB on disk."
} > "$FONTS_DIR/QUALITY.txt"
rm -rf "$LOGS"
grep -E "^make-font-pack|^all sizes|^all fonts|^Built" "$FONTS_DIR/QUALITY.txt"
