#!/usr/bin/env bash
# Builds the interface text font data/NotoSansLatinThaiJP.ttf and its licence file
# data/NotoSansLatinThaiJP-OFL.txt from Debian's Noto fonts (see README.md beside this script).
#
# A generator, not part of the build: run it again when a translation file gains characters the
# font lacks (gui/FontFiles_tests.cpp reports them), then commit the two outputs. The same
# Debian packages give the same bytes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

MES_DEPS_EXTRA="python3-fonttools fonts-noto-core fonts-noto-cjk unicode-data" "$root/tools/deps.sh"

strings=()
for lang in en th jp; do
    file="$root/data/$lang/Localizable.strings"
    if [ -f "$file" ]; then
        strings+=("$file")
    fi
done

# Debian's interpreter, the one python3-fonttools is installed for (a python3 earlier on PATH,
# such as a pyenv shim, may lack it).
/usr/bin/python3 "$here/build_ui_font.py" \
    --out "$root/data/NotoSansLatinThaiJP.ttf" \
    --licence "$root/data/NotoSansLatinThaiJP-OFL.txt" \
    --strings "${strings[@]}"
