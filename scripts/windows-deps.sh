#!/usr/bin/env bash
# Cross-builds the game's libraries for Windows x64 from Debian's own source
# packages: SDL2, libpng, FreeType (DLLs), Ogg/Vorbis and GoogleTest (static).
# zlib comes from Debian's libz-mingw-w64-dev. The sources are fetched with
# a private apt sources list and state folder inside OUT, so the machine's
# apt configuration is left alone. The result is cached in OUT/deps-<key>,
# the key made of the source versions: a second run with the same versions
# only prints the folder.
# Usage: scripts/windows-deps.sh OUT   (prints the libraries' prefix)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
toolchain=$root/packaging/windows/mingw-w64.cmake
sources=(libsdl2 libpng1.6 libogg libvorbis freetype googletest)

# The mirror and suite of the machine's first Debian source, as deb-src.
mirror=http://deb.debian.org/debian
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    uri=$(awk '/^URIs:/ {print $2; exit}' "$f")
    if [ -n "$uri" ] && [[ $uri != *security* ]]; then
        mirror=$uri
        suite=$(awk '/^Suites:/ {print $2; exit}' "$f")
        break
    fi
done
if [ -f /etc/apt/sources.list ]; then
    line=$(grep -E '^deb +(\[[^]]*\] +)?https?://' /etc/apt/sources.list | grep -v security | head -n1 || true)
    if [ -n "$line" ]; then
        set -- $(echo "$line" | sed -E 's/\[[^]]*\] *//')
        mirror=$2 suite=$3
    fi
fi

apt_dir=$out/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts"
echo "deb-src $mirror $suite main" > "$apt_dir/sources.list"
apt_opts=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/parts"
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User=root)
mkdir -p "$apt_dir/cache/archives/partial"
apt-get "${apt_opts[@]}" update -qq >&2

key=$(for s in "${sources[@]}"; do
    apt-cache "${apt_opts[@]}" showsrc "$s" | awk -v s="$s" '/^Version:/ {print s "_" $2; exit}'
done | tr '\n' ' ')
hash=$(echo "$key" | sha256sum | cut -c1-12)
prefix=$out/deps-$hash
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
echo "Cross-building for Windows: $key" >&2

src=$out/deps-src
rm -rf "$src" "$prefix"
mkdir -p "$src" "$prefix"
(cd "$src" && apt-get "${apt_opts[@]}" source -qq "${sources[@]}" >/dev/null 2>&1 \
    || apt-get "${apt_opts[@]}" source -qq "${sources[@]}" >&2)

jobs=$(nproc)
build() {
    local name=$1; shift
    local dir
    dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -n1)
    cmake -S "$dir" -B "$src/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVANTREL_WIN_DEPS="$prefix" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$src/build-$name.log" 2>&1 \
        || { cat "$src/build-$name.log" >&2; return 1; }
    cmake --build "$src/build-$name" -- -j"$jobs" >>"$src/build-$name.log" 2>&1 \
        && cmake --install "$src/build-$name" >>"$src/build-$name.log" 2>&1 \
        || { tail -n 40 "$src/build-$name.log" >&2; return 1; }
    echo "  built $name" >&2
}

build libsdl2 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF
build libpng1.6 -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
# Static: libvorbis' win32/vorbis.def has a bare LIBRARY line GNU ld rejects.
build libogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF
build libvorbis -DBUILD_SHARED_LIBS=OFF
build freetype -DBUILD_SHARED_LIBS=ON -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build googletest -DBUILD_SHARED_LIBS=OFF -DINSTALL_GTEST=ON

# The licences the game's Windows package carries.
lic=$prefix/licenses
mkdir -p "$lic"
copy_licence() {
    local name=$1 file=$2 dir
    dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -n1)
    cp "$dir/$file" "$lic/$3"
}
copy_licence libsdl2 LICENSE.txt SDL2.txt
copy_licence libpng1.6 LICENSE libpng.txt
copy_licence libogg COPYING ogg.txt
copy_licence libvorbis COPYING vorbis.txt
copy_licence freetype docs/FTL.TXT freetype.txt
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$lic/zlib.txt"
# libwinpthread, which the C++ runtime's threads load.
cp /usr/share/doc/mingw-w64-common/copyright "$lic/mingw-w64.txt"

rm -rf "$src"
echo "$key" > "$prefix/.complete"
echo "$prefix"
