#!/usr/bin/env bash
# Regenerates the editor's 49 emoticons in data/Emoticon from the Twemoji colour font published
# on the npm registry as twemoji-colr-font (pinned version and checksum below):
#   tools/emoticons/build-emoticons.sh            (uses build/bin/make-emoticons)
#   BUILD=build-x SPECIMENS=/tmp/s tools/emoticons/build-emoticons.sh
# Writes the PES designs, the thumbnails, QUALITY.txt, README.md and the source's licence, and
# three specimen sheets (one per size) into $SPECIMENS (not committed). Running it again gives the
# same files, QUALITY.txt's timing line excepted.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
TOOL=$BUILD/bin/make-emoticons
OUT=$ROOT/data/Emoticon
SPECIMENS=${SPECIMENS:-/tmp/mes-emoticon-specimens}
PACKAGE=twemoji-colr-font
VERSION=15.0.3
INTEGRITY=UsK4JUpaczeVoMGeYMnKaMTxKt7fujg1nQOk4NaC0teZmdOo+uAai0DIuaSzsMkShtG4J75F0OEsVdGJ+Q1pHQ==

# npm comes with Node.js; Debian's npm package brings both where neither is installed.
command -v npm >/dev/null || MES_DEPS_EXTRA="npm" "$ROOT/tools/deps.sh"
"$ROOT/tools/deps.sh"
[ -x "$TOOL" ] || cmake --build "$BUILD" --target make-emoticons

# The package, fetched once into the build folder and checked against its pinned checksum.
SRC=$BUILD/emoticon-source
TGZ=$SRC/$PACKAGE-$VERSION.tgz
mkdir -p "$SRC"
if [ ! -f "$TGZ" ]; then
  (cd "$SRC" && npm pack --silent "$PACKAGE@$VERSION" >/dev/null)
fi
sum=$(openssl dgst -sha512 -binary "$TGZ" | openssl base64 -A)
if [ "$sum" != "$INTEGRITY" ]; then
  echo "build-emoticons: $TGZ does not match the pinned checksum" >&2
  exit 1
fi
rm -rf "$SRC/package"
tar -xzf "$TGZ" -C "$SRC"

rm -rf "$OUT/PES" "$OUT/PNG128"
mkdir -p "$OUT/licences" "$SPECIMENS"
"$TOOL" --font "$SRC/package/twemoji.woff2" --out "$ROOT/data" --specimens "$SPECIMENS" \
  --jobs 2 --source "the Twemoji colour font \`$PACKAGE\` $VERSION (npm registry)"
cp "$SRC/package/LICENSE" "$OUT/licences/$PACKAGE.LICENSE"
