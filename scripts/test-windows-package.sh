#!/usr/bin/env bash
# Checks what scripts/windows.sh made, under Wine inside an X server (run it
# through xvfb-run): the zipped game played from an unrelated folder (the
# title shows and looks like the Linux build's title frame, W starts a run,
# Escape twice exits with status 0), the installer installed and
# uninstalled silently leaving nothing behind, and the examples built with
# the MinGW toolchain against the engine installed by cmake --install.
# HOST_QIRN is the game built for this machine, whose title frames the
# Windows one must match (both drawn by Mesa). The title animates and the
# two start at different speeds: the Linux game is shot many times around
# the moment the Windows one is, and the closest frame counts.
# Usage: scripts/test-windows-package.sh BUILD ZIP INSTALLER TOOLCHAIN DEPS HOST_QIRN
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 zip=$2 installer=$3 toolchain=$4 deps=$5 host_qirn=$6
work=$(mktemp -d)
# wineserver -k ends what this script started in the build's Wine prefix.
trap 'wineserver -k 2>/dev/null || true; cp "$work"/*.png /tmp/winpkg/ 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# shot WINDOW FILE: the window's client area, 800 x 600 at its lower right
# (a window frame, where there is one, adds to the top and left).
shot() {
    import -window "$1" "png:$2.full.png"
    convert "$2.full.png" -gravity SouthEast -crop 800x600+0+0 +repage "$2"
}
shot_delay=3

# ---- the title frame of the game built for this machine
(cd "$work" && SDL_AUDIODRIVER=dummy exec "$host_qirn" >/dev/null 2>&1) &
host_pid=$!
window=$(timeout 60 xdotool search --sync --name '^OXR #48 - QIRN$' | head -n 1) || fail "no Linux game window"
sleep 1
for i in $(seq 10 50); do shot "$window" "$work/linux-title-$i.png"; done
kill "$host_pid"
wait "$host_pid" 2>/dev/null || true
sleep 1

# ---- the zipped game, from a folder that has nothing to do with the build,
# whose name has letters outside any 8-bit code page
elsewhere="$work/Spiele-Ωmega-игры"
mkdir -p "$elsewhere"
(cd "$elsewhere" && unzip -q "$zip")
game_dir=$(ls -d "$elsewhere"/qirn-*-win64)
for f in qirn.exe SDL2.dll LICENSE.txt gfx/player.png snd/qirn.ogg licenses/SDL2.txt; do
    [ -e "$game_dir/$f" ] || fail "zip lacks $f"
done
(cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    wine "$game_dir/qirn.exe" >"$work/game.log" 2>&1; echo $? >"$work/status") &
window=$(timeout 60 xdotool search --sync --name '^OXR #48 - QIRN$' | head -n 1) || fail "no game window"
sleep "$shot_delay"
shot "$window" "$work/title.png"
cp "$work/title.png" "$build/windows-title.png"   # kept to look at
differ=480000
for linux in "$work"/linux-title-*.png; do
    d=$(compare -metric AE -fuzz 8% "$work/title.png" "$linux" null: 2>&1 || true)
    d=${d%%[. ]*}
    [ "$d" -lt "$differ" ] && differ=$d
done
echo "title frame: $differ of 480000 pixels differ from the closest Linux frame"
[ "$differ" -lt 4800 ] || fail "title differs from the Linux build's in $differ pixels"
xdotool windowfocus --sync "$window" key --delay 100 w
sleep 2
shot "$window" "$work/run.png"
changed=$(compare -metric AE -fuzz 8% "$work/run.png" "$work/title.png" null: 2>&1 || true)
[ "${changed%%[. ]*}" -gt 24000 ] || fail "W did not start a run (only $changed pixels changed)"
xdotool windowfocus --sync "$window" key --delay 100 Escape
sleep 5   # back on the title, whose menu takes a few seconds to come back
xdotool windowfocus --sync "$window" key --delay 100 Escape
for _ in $(seq 1 60); do [ -f "$work/status" ] && break; sleep 0.5; done
[ -f "$work/status" ] || fail "the game did not exit after Escape twice"
[ "$(cat "$work/status")" = 0 ] || fail "the game exited with status $(cat "$work/status")"
[ -s "$work/audio.raw" ] || fail "the game played no sound"
echo "zipped game: title, run, exit 0"

# ---- the installer: silent install, silent uninstall, nothing left
programs=$(winepath -u 'C:\Program Files')
wine "$installer" /S
wineserver -w
[ -f "$programs/QIRN/qirn.exe" ] || fail "installer put no qirn.exe in Program Files"
[ -f "$programs/QIRN/gfx/player.png" ] || fail "installer put no gfx/"
start_menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
[ -f "$start_menu/QIRN/QIRN.lnk" ] || fail "no Start-menu entry"
wine "$programs/QIRN/Uninstall.exe" /S
wineserver -w
for _ in $(seq 1 20); do [ -e "$programs/QIRN" ] || break; sleep 0.5; done
[ ! -e "$programs/QIRN" ] || fail "uninstall left $(find "$programs/QIRN")"
[ ! -e "$start_menu/QIRN" ] || fail "uninstall left the Start-menu entry"
for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QIRN' 'HKLM\Software\QIRN developers'; do
    ! wine reg query "$key" >/dev/null 2>&1 || fail "uninstall left the registry key $key"
done
echo "installer: installed and uninstalled silently"

# ---- the engine package, and the examples built against it
cmake --install "$build" --prefix "$work/prefix" --component engine >/dev/null
cmake -S "$root/examples" -B "$work/examples" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVANTREL_WIN_DEPS="$deps" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/examples" >/dev/null
grep -qx "Vantrel_DIR:PATH=$work/prefix/lib.*/cmake/Vantrel" "$work/examples/CMakeCache.txt" \
    || fail "the examples found another Vantrel package"
# Run from the unzipped game's folder, for its DLLs, pictures and sounds.
for exe in vantrel_sprites vantrel_mixer; do cp "$work/examples/$exe.exe" "$game_dir/"; done
(cd "$game_dir" && wine vantrel_sprites.exe gfx/player.png --frames 30) || fail "vantrel_sprites.exe"
(cd "$game_dir" && wine vantrel_mixer.exe snd/hit.wav snd/qirn.ogg --frames 30) || fail "vantrel_mixer.exe"
echo "engine package: examples built with the MinGW toolchain against it run"
