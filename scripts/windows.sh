#!/usr/bin/env bash
# Builds QIRN and the Vantrel engine for Windows x64 on Debian and tests
# them under Wine: installs the MinGW-w64 toolchain, Wine and NSIS when
# missing, cross-builds the libraries (scripts/windows-deps.sh, cached in
# build-win64/) and the project into build-win64/, runs the tests under Wine
# inside a private Xvfb server, packs build-win64/qirn-<version>-win64.zip
# and the installer build-win64/qirn-<version>-win64.exe, plays the zipped
# game end to end, installs and uninstalls the installer silently, and
# builds the examples against the installed engine package.
# Usage: scripts/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh windows

out=$root/build-win64
jobs=$(nproc)
mkdir -p "$out"
deps=$(scripts/windows-deps.sh "$out")

# The pictures and sounds come from the generator built for this machine.
# The game built for this machine draws the title frame the Windows one is
# compared with.
echo "== Windows: asset generator and game for the build machine"
cmake -S . -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF \
    -DVANTREL_BENCH=OFF -DVANTREL_EXAMPLES=OFF -DVANTREL_FUZZ=off >/dev/null
cmake --build "$out/host" --target qirn_assetgen qirn -- -j"$jobs" >/dev/null

echo "== Windows: cross build"
toolchain=$root/packaging/windows/mingw-w64.cmake
cmake -S . -B "$out" -G Ninja -DVANTREL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVANTREL_WIN_DEPS="$deps" \
    -DQIRN_HOST_ASSETGEN="$out/host/tools/qirn_assetgen" \
    -DVANTREL_BENCH=OFF -DVANTREL_FUZZ=off >/dev/null
cmake --build "$out" -- -j"$jobs"

# A private Wine prefix; no sound card: SDL's disk output stands in.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
wineserver -w

echo "== Windows: tests under Wine"
(cd "$out" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    ctest --output-on-failure --timeout 600 -j"$jobs")

echo "== Windows: zip and installer"
rm -f "$out"/qirn-*-win64.zip "$out"/qirn-*-win64.exe
(cd "$out" && cpack >/dev/null)
zip=$(ls "$out"/qirn-*-win64.zip)
installer=$(ls "$out"/qirn-*-win64.exe)
ls -l "$zip" "$installer"

echo "== Windows: the zipped game, the installer and the engine package"
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    scripts/test-windows-package.sh "$out" "$zip" "$installer" "$toolchain" "$deps" "$out/host/game/qirn"

echo "Windows: all passed."
