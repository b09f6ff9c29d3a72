#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Quiet and quick when everything is there: one dpkg-query, no apt-get.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-net-dev
    libboost-filesystem-dev libboost-dev libutfcpp-dev
    libfreetype-dev libharfbuzz-dev libpolyclipping-dev libcpp-httplib-dev
    libgtk-3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick
    # The source fonts of the shipped stitch fonts: the font-pack tests shape them with HarfBuzz.
    fonts-tlwg-garuda-ttf fonts-tlwg-kinnari-ttf fonts-tlwg-loma-ttf fonts-tlwg-purisa-ttf
    fonts-tlwg-sawasdee-ttf fonts-tlwg-norasi-ttf fonts-tlwg-waree-ttf fonts-tlwg-laksaman-ttf
    fonts-tlwg-typist-ttf fonts-tlwg-mono-ttf fonts-tlwg-umpush-ttf fonts-tlwg-typo-ttf
    fonts-noto-core
    # The Debian package and its checks: dpkg-shlibdeps for cpack's dependency list, lintian,
    # and the desktop entry's validator.
    dpkg-dev lintian desktop-file-utils
)
if [ "${MES_DEPS_EXTRA:-}" != "" ]; then
    read -r -a extra <<<"$MES_DEPS_EXTRA"
    PACKAGES+=("${extra[@]}")
fi

missing=()
for p in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
