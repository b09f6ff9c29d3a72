#!/usr/bin/env bash
# Draws the start-up logo data/logo.png, the window icon data/icon.png, the stitch light map
# data/lightmap.png and the icon of the installed program in every size of the desktop's icon
# theme, packaging/icons/hicolor/ (see make_images.py).
# A generator, not part of the build; the outputs are committed. The same Debian packages give
# the same bytes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

MES_DEPS_EXTRA="python3-pil fonts-noto-core" "$root/tools/deps.sh"

# Debian's interpreter, the one python3-pil is installed for.
/usr/bin/python3 "$here/make_images.py" --logo "$root/data/logo.png" --icon "$root/data/icon.png" \
    --lightmap "$root/data/lightmap.png" --hicolor "$root/packaging/icons/hicolor"
