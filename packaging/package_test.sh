#!/usr/bin/env bash
# The Debian package, built as the README says (cpack -G DEB) into a temporary folder, checked
# for what a desktop needs and by lintian, which must report no errors.
#
#   package_test.sh BUILD_DIR
set -euo pipefail

build=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/mes-package-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; exit 1; }
deb=$(ls "$tmp"/mes_*.deb)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

control=$(dpkg-deb --field "$deb" Package Section Depends)
grep -q "^Section: graphics" <<<"$control" || fail "section: $control"
# dpkg-shlibdeps found the libraries the programs link.
for lib in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0 libstdc++6; do
    grep -q "^Depends:.*$lib" <<<"$control" || fail "no dependency on $lib: $control"
done

contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
for path in ./usr/bin/mes ./usr/bin/mes-cli ./usr/bin/mes-stick-sim \
    ./usr/share/mes/NotoSansLatinThaiJP.ttf ./usr/share/applications/mes.desktop \
    ./usr/share/mime/packages/mes.xml ./usr/share/thumbnailers/mes.thumbnailer \
    ./usr/share/icons/hicolor/16x16/apps/mes.png ./usr/share/icons/hicolor/512x512/apps/mes.png \
    ./usr/share/man/man1/mes.1.gz ./usr/share/man/man1/mes-cli.1.gz \
    ./usr/share/doc/mes/copyright ./usr/share/doc/mes/changelog.Debian.gz \
    ./usr/share/bash-completion/completions/mes-cli; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done

if command -v lintian >/dev/null; then
    # Root or not, lintian's verdict is the same; it only warns about running as root.
    lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian.txt" 2>&1 ||
        fail "lintian reports errors"
    grep -v "running with root privileges" "$tmp/lintian.txt" || true
else
    fail "lintian is not installed (tools/deps.sh installs it)"
fi

[ $failures -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, lintian without errors"
