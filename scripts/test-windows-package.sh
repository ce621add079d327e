#!/usr/bin/env bash
# Checks what scripts/windows.sh made, under Wine inside an X server (run it
# through xvfb-run): the zipped game played from an unrelated folder (the
# title shows and looks like the Linux build's title frame, W starts a run,
# Escape twice exits with status 0), the installer installed and
# uninstalled silently leaving nothing behind, and the examples built with
# the MinGW toolchain against the engine installed by cmake --install.
# Usage: scripts/test-windows-package.sh BUILD ZIP INSTALLER TOOLCHAIN DEPS
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 zip=$2 installer=$3 toolchain=$4 deps=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# ---- the zipped game, from a folder that has nothing to do with the build
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && unzip -q "$zip")
game_dir=$(ls -d "$work"/elsewhere/qirn-*-win64)
for f in qirn.exe SDL2.dll LICENSE.txt gfx/player.png snd/qirn.ogg licenses/SDL2.txt; do
    [ -e "$game_dir/$f" ] || fail "zip lacks $f"
done
(cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    wine "$game_dir/qirn.exe" >"$work/game.log" 2>&1; echo $? >"$work/status") &
window=$(timeout 60 xdotool search --sync --name '^OXR #48 - QIRN$' | head -n 1) || fail "no game window"
sleep 3
import -window "$window" "png:$work/title.png"
# Mesa draws both; the window may sit at an offset inside its frame: find
# the Linux frame in the screenshot and count the pixels that differ.
read -r tw th < <(identify -format '%w %h' "$work/title.png")
[ "$tw" -ge 800 ] && [ "$th" -ge 600 ] || fail "title shot is ${tw}x${th}"
convert "$work/title.png" -gravity SouthEast -crop 800x600+0+0 +repage "$work/client.png"
differ=$(compare -metric AE -fuzz 8% "$work/client.png" "$root/docs/screenshot-title.png" null: 2>&1 || true)
differ=${differ%% *}
echo "title frame: $differ of 480000 pixels differ from the Linux build's"
[ "${differ%.*}" -lt 4800 ] || fail "title differs from the Linux build's in $differ pixels"
xdotool windowfocus --sync "$window" key --delay 100 w
sleep 2
xdotool windowfocus --sync "$window" key --delay 100 Escape
sleep 1
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
echo "installer: installed and uninstalled silently"

# ---- the engine package, and the examples built against it
cmake --install "$build" --prefix "$work/prefix" --component engine >/dev/null
cmake -S "$root/examples" -B "$work/examples" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVANTREL_WIN_DEPS="$deps" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/examples" >/dev/null
for exe in vantrel_sprites vantrel_mixer; do
    [ -f "$work/examples/$exe.exe" ] || fail "$exe.exe not built against the installed engine"
done
echo "engine package: examples built with the MinGW toolchain"
