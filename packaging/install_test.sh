#!/usr/bin/env bash
# The installed program, as a user or a package gets it: installs the build into a temporary
# DESTDIR under the prefix /usr and runs what was installed there.
#
#   install_test.sh BUILD_DIR CORPUS_DIR
#
# - the layout: programs in bin/, the data folder in share/mes/, desktop entry, file types,
#   thumbnailer, icons, manual pages and copyright where the desktop and man look for them;
# - the installed mes-cli reads a corpus design (info), draws its thumbnail, and composes text
#   with the stitch fonts of share/mes;
# - the thumbnailer entry's own command line, run as a file manager runs it, writes a PNG;
# - the installed editor, headless, reaches its first frame with its fonts and images found;
# - copied away from their data, the programs say which folders they looked in.
set -euo pipefail

build=$1
corpus=$2
design="$corpus/embcat__Bean.pes"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/mes-install-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
usr="$root/usr"
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/share" XDG_CONFIG_HOME="$tmp/home/config"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect_file() {
    [ -f "$1" ] || fail "not installed: ${1#"$root"}"
}
# Width and height from a PNG's header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'
}

DESTDIR="$root" cmake --install "$build" --prefix /usr >"$tmp/install.log" ||
    { cat "$tmp/install.log" >&2; exit 1; }

# ---- Layout
for program in mes mes-cli mes-stick-sim; do
    [ -x "$usr/bin/$program" ] || fail "not installed: /usr/bin/$program"
done
# The editor's file dialog helper, built when GTK is there, lies beside it.
if [ -x "$build/bin/mes-file-dialog" ] && [ ! -x "$usr/bin/mes-file-dialog" ]; then
    fail "not installed: /usr/bin/mes-file-dialog"
fi
for file in share/mes/NotoSansLatinThaiJP.ttf share/mes/fontawesome-webfont.ttf \
    share/mes/logo.png share/mes/Header.dat share/mes/en/Localizable.strings \
    share/mes/MIVO_FONTS/MIVOFONT_001/05/stitch.pack share/applications/mes.desktop \
    share/mime/packages/mes.xml share/thumbnailers/mes.thumbnailer \
    share/icons/hicolor/48x48/apps/mes.png share/icons/hicolor/256x256/apps/mes.png \
    share/man/man1/mes.1.gz share/man/man1/mes-cli.1.gz share/doc/mes/copyright \
    share/bash-completion/completions/mes-cli; do
    expect_file "$usr/$file"
done
[ ! -e "$usr/share/mes/MIVO_FONTS/licences" ] || fail "licence folder copied into share/mes"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr/share/applications/mes.desktop" || fail "desktop entry invalid"
fi
zcat "$usr/share/man/man1/mes-cli.1.gz" | grep -q "thumbnail" || fail "mes-cli(1) lacks thumbnail"

# ---- mes-cli, installed
info=$("$usr/bin/mes-cli" info "$design") || fail "mes-cli info exited $?"
grep -q "stitches: 320" <<<"$info" || fail "mes-cli info: $info"

"$usr/bin/mes-cli" thumbnail "$design" "$tmp/bean.png" 96 || fail "mes-cli thumbnail exited $?"
[ "$(png_size "$tmp/bean.png" 2>/dev/null)" = "96x96" ] || fail "thumbnail is not 96x96"

# Text needs the stitch fonts: found in share/mes beside bin/.
"$usr/bin/mes-cli" text "MES" --font 0 --size 3 -o "$tmp/text.pes" >"$tmp/text.log" 2>&1 ||
    fail "mes-cli text with the installed stitch fonts: $(cat "$tmp/text.log")"

# ---- The thumbnailer entry, as a file manager runs it (%i input, %o output, %s size).
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/thumbnailers/mes.thumbnailer")
command=${exec_line//%i/"$design"}
command=${command//%o/"$tmp/by-entry.png"}
command=${command//%s/128}
# shellcheck disable=SC2086 # the entry's words, as the file manager splits them
PATH="$usr/bin:$PATH" $command || fail "thumbnailer command '$exec_line' exited $?"
[ "$(png_size "$tmp/by-entry.png" 2>/dev/null)" = "128x128" ] || fail "thumbnailer PNG not 128x128"

# ---- The editor, installed, until its first frame
if ! timeout 60 "$usr/bin/mes" --exit-after-first-frame >"$tmp/mes.out" 2>"$tmp/mes.err"; then
    fail "installed mes did not end with status 0"
fi
grep -q "^First frame after [0-9]* ms" "$tmp/mes.out" || fail "installed mes: no first frame"
if grep -q "no data folder" "$tmp/mes.err" || grep -qE "Load image .* failed|not found" "$tmp/mes.out"; then
    fail "installed mes did not find its data: $(cat "$tmp/mes.err" "$tmp/mes.out")"
fi

# ---- Away from their data: both programs name the folders they looked in.
mkdir -p "$tmp/lonely/bin"
cp "$usr/bin/mes" "$usr/bin/mes-cli" "$tmp/lonely/bin/"
tried="$tmp/lonely/bin/data/ and $tmp/lonely/share/mes/"
if "$tmp/lonely/bin/mes-cli" text "MES" --font 0 --size 3 -o "$tmp/lost.pes" 2>"$tmp/lonely.err" >&2; then
    fail "mes-cli text without data succeeded"
fi
grep -qF "mes-cli: no data folder found (looked in $tried)" "$tmp/lonely.err" ||
    fail "mes-cli without data said: $(cat "$tmp/lonely.err")"
timeout 60 "$tmp/lonely/bin/mes" --exit-after-first-frame >/dev/null 2>"$tmp/lonely-mes.err" || true
grep -qF "mes: no data folder found (looked in $tried)" "$tmp/lonely-mes.err" ||
    fail "mes without data said: $(cat "$tmp/lonely-mes.err")"

if [ $failures -ne 0 ]; then
    echo "$failures failures" >&2
    exit 1
fi
echo "installed tree under $root/usr works; mes: $(grep "^First frame" "$tmp/mes.out")"
