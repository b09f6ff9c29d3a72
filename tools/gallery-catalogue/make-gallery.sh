#!/usr/bin/env bash
# Regenerates the cloud gallery's catalogue from our own stitch fonts, shapes and borders:
#   tools/gallery-catalogue/make-gallery.sh             (builds build/bin/make-gallery if needed)
#   BUILD=build-x EMOTICONS=dir tools/gallery-catalogue/make-gallery.sh
# Rewrites the thumbnails in data/TMB and the designs in gallery/ (its README.md stays).
# EMOTICONS names a folder of emoticon PES designs to add as the category "Emoticons".
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
TOOL=$BUILD/bin/make-gallery

"$ROOT/tools/deps.sh"
cmake --build "$BUILD" --target make-gallery

rm -rf "$ROOT/data/TMB"
find "$ROOT/gallery" -mindepth 1 -maxdepth 1 ! -name README.md -exec rm -rf {} +
args=(--data "$ROOT/data" --thumbnails "$ROOT/data/TMB" --designs "$ROOT/gallery")
[ -n "${EMOTICONS:-}" ] && args+=(--emoticons "$EMOTICONS")
SDL_VIDEODRIVER=dummy "$TOOL" "${args[@]}"
