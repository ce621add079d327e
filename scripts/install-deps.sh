#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Skips packages that are already installed; uses sudo when not root.
# Usage: scripts/install-deps.sh [play|package|test|fuzz|windows]
set -euo pipefail

build_pkgs=(build-essential cmake ninja-build pkg-config
    libsdl2-dev libgl-dev libgl1-mesa-dri libpng-dev zlib1g-dev
    libogg-dev libvorbis-dev libfreetype-dev)
# clang: the installed headers are compiled with g++ and clang++.
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick libx11-dev
    alsa-utils sound-theme-freedesktop fonts-dejavu-core fonts-terminus-otb xfonts-base
    desktop-file-utils appstream groff-base dpkg-dev file clang
    i3-wm x11-utils sway grim wtype)
# cpack's Debian generator finds library dependencies with dpkg-shlibdeps.
package_pkgs=(dpkg-dev file)
# The Windows cross build: MinGW-w64 (the -posix variant, for std::thread),
# zlib for it, apt-get source's unpacker, Wine to run the tests, NSIS for
# the installer, and what the packaged game is checked with.
windows_pkgs=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine wine64 nsis
    zip unzip xvfb xauth xdotool imagemagick)
# libFuzzer comes with clang's runtime libraries.
fuzz_pkgs=(clang libclang-rt-14-dev)

wanted=("${build_pkgs[@]}")
case "${1:-play}" in
    package) wanted+=("${package_pkgs[@]}") ;;
    test) wanted+=("${test_pkgs[@]}") ;;
    fuzz) wanted+=("${test_pkgs[@]}" "${fuzz_pkgs[@]}") ;;
    windows) wanted+=("${windows_pkgs[@]}") ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
