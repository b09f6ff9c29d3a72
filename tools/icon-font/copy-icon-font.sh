#!/usr/bin/env bash
# Copies the icon font data/fontawesome-webfont.ttf (Font Awesome 4.7) from Debian's
# fonts-font-awesome and writes its licence file data/fontawesome-webfont-OFL.txt.
# A generator, not part of the build; the outputs are committed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

MES_DEPS_EXTRA="fonts-font-awesome" "$root/tools/deps.sh"

source_font=/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf
copyright=/usr/share/doc/fonts-font-awesome/copyright
version=$(dpkg-query -W -f='${Version}' fonts-font-awesome)
case "$version" in
    *4.7.0*) ;;
    *) echo "copy-icon-font: fonts-font-awesome $version is not Font Awesome 4.7" >&2; exit 1 ;;
esac

cp "$source_font" "$root/data/fontawesome-webfont.ttf"

# The licence text is the "License: OFL-1.1" paragraph of Debian's copyright file, without the
# one-space indent of that format ("." lines are empty lines).
licence=$(awk '
    /^License: OFL-1\.1[[:space:]]*$/ { inside = 1; next }
    inside && /^[^ ]/ { if (found) exit; inside = 0; next }
    inside && /^ / { found = 1; line = substr($0, 2); print (line == "." ? "" : line) }
' "$copyright")
if [ -z "$licence" ]; then
    echo "copy-icon-font: no OFL text in $copyright" >&2
    exit 1
fi

{
    echo "fontawesome-webfont.ttf is Font Awesome 4.7 by Dave Gandy, as Debian ships it in"
    echo "fonts-font-awesome ($version), copied unchanged by tools/icon-font/copy-icon-font.sh."
    echo
    echo "Copyright 2012-2018, Dave Gandy <drgandy@alum.mit.edu>"
    echo
    echo "SIL OPEN FONT LICENSE Version 1.1"
    echo
    echo "$licence"
} >"$root/data/fontawesome-webfont-OFL.txt"
