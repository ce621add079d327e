#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks what players and
# engine users get: the desktop entry and AppStream metadata validate, the
# icons and manual page are there, the installed game plays end to end from
# an unrelated working directory through its desktop entry's command, the
# installed headers are the public set and compile warning-free beside a
# game's own names (scripts/check-public-headers.sh), the example programs
# build against the installed engine (CMake package and pkg-config) and
# run, docs/ENGINE.md's code compiles, and cpack makes a Debian package of
# the game with its library dependencies.
#
# Usage: scripts/test-install.sh BUILD_DIR (a plain build of `all`), inside
# an X server: scripts/test.sh runs it under xvfb-run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "test-install: needs an X server (DISPLAY)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

fail() { echo "test-install: FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# Not the prefix the build was configured with: any prefix must work.
prefix=/opt/qirn-install-test
dest=$work/dest
p=$dest$prefix
step "cmake --install into DESTDIR, prefix $prefix"
DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.vantrel.Qirn
desktop=$p/share/applications/$id.desktop
step "desktop entry and AppStream metadata"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
grep -qx 'Name=QIRN' "$desktop" || fail "desktop entry name"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry categories"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry icon"
appstreamcli validate --no-net --strict "$p/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<id>$id</id>" "$p/share/metainfo/$id.metainfo.xml" || fail "metainfo component id"

step "icons and manual page"
for size in 16 22 24 32 48 64 128 256; do
    icon=$p/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "no icon $icon"
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] || fail "icon $icon is not a ${size}x${size} PNG"
done
warnings=$(zcat "$p/share/man/man6/qirn.6.gz" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"

step "the installed game, started by its desktop entry's command from another directory"
command=$(sed -n 's/^Exec=//p' "$desktop")
mkdir "$work/elsewhere"
export PATH=$p/games:$PATH
[ "$(command -v "$command")" = "$p/games/qirn" ] || fail "'$command' does not find the installed game in PATH"
out=$(cd "$work/elsewhere" && QIRN_COMMAND=$command "$build/tests/game_e2e/test_game_e2e" \
    --gtest_filter=GameEndToEnd.TitlePlayAndBackThenEscapeQuits 2>&1) || { echo "$out"; fail "installed game"; }
# A skipped test passes too: it must have run.
grep -q '^\[  PASSED  \] 1 test' <<<"$out" && ! grep -q SKIPPED <<<"$out" || { echo "$out"; fail "installed game test did not run"; }

gfx=$p/share/games/qirn/gfx
snd=$p/share/games/qirn/snd
run_examples() {
    local dir=$1
    (cd "$work/elsewhere" && "$dir/vantrel_sprites" "$gfx/player.png" --frames 30) || fail "$dir/vantrel_sprites"
    (cd "$work/elsewhere" && "$dir/vantrel_mixer" "$snd/hit.wav" "$snd/qirn.ogg" --frames 30) || fail "$dir/vantrel_mixer"
}

step "the installed public headers, as a game includes them"
"$root/scripts/check-public-headers.sh" "$p" || fail "public headers"

step "examples against the installed CMake package"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root/examples" -B "$work/cmake-examples" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$p" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" "${launcher[@]}" >/dev/null
grep -qx "Vantrel_DIR:PATH=$p/lib.*/cmake/Vantrel" "$work/cmake-examples/CMakeCache.txt" || fail "found another Vantrel package"
cmake --build "$work/cmake-examples" >/dev/null
# Headers from the source tree would hide one missing from the install.
! grep -q -- "-I$root\|-isystem $root" "$work/cmake-examples/build.ninja" || fail "the examples compiled with the source tree's headers"
grep -q -- "$p/include" "$work/cmake-examples/build.ninja" || fail "the examples did not use the installed headers"
run_examples "$work/cmake-examples"

step "examples and docs/ENGINE.md against the installed pkg-config file"
export PKG_CONFIG_PATH=$(dirname "$(find "$p" -name vantrel.pc)")
cxx=(c++ -std=c++20 -Wall -Wextra -Werror)
mkdir "$work/pc"
for example in sprites mixer; do
    "${cxx[@]}" "$root/examples/$example/main.cpp" -o "$work/pc/vantrel_$example" \
        $(pkg-config --cflags --libs vantrel) || fail "examples/$example with pkg-config"
done
run_examples "$work/pc"
# Every C++ block of the guide is a whole file; those with main link too.
awk -v out="$work/pc/doc" '/^```cpp$/ { n++; file = out n ".cpp"; next } /^```$/ { file = ""; next } file { print > file }' \
    "$root/docs/ENGINE.md"
blocks=("$work"/pc/doc*.cpp)
[ -e "${blocks[0]}" ] || fail "no C++ blocks in docs/ENGINE.md"
for block in "${blocks[@]}"; do
    if grep -q 'int main' "$block"; then
        "${cxx[@]}" "$block" -o "${block%.cpp}" $(pkg-config --cflags --libs vantrel) || fail "docs/ENGINE.md block $block"
    else
        "${cxx[@]}" -c "$block" -o "${block%.cpp}.o" $(pkg-config --cflags vantrel) || fail "docs/ENGINE.md block $block"
    fi
done

step "cpack -G DEB"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null) || fail "cpack"
deb=$(ls "$work"/deb/qirn_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libsdl2 libgl1 libpng16 libvorbisfile3 libfreetype6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "the package does not depend on $lib"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/games/qirn ./usr/lib/games/qirn/qirn ./usr/share/games/qirn/gfx/player.png \
    ./usr/share/applications/$id.desktop ./usr/share/doc/qirn/copyright; do
    grep -q " $path\( ->\|$\)" <<<"$contents" || fail "the package lacks $path"
done
! grep -q '/include/\|\.a$' <<<"$contents" || fail "the game's package holds the engine's development files"

echo "Install test passed."
