#!/usr/bin/env bash
# The game on desktops that choose its window's size: under the i3 tiling
# window manager (X11, in Xvfb) and under sway (Wayland, headless backend).
# Each time the title must appear letterboxed in the window the desktop gave
# (black bars, the picture matching the title as drawn in a plain 800 x 600
# X11 window), and Escape must quit with status 0.
#
# sway refuses to run as root: as root, it runs (through setpriv) as the
# system user vantrel-test, made when missing, with a runtime directory of
# its own; the game, grim and wtype connect to its socket. Everything
# started here is ended on the way out.
#
# Usage: scripts/test-desktops.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
game=$build/game/qirn
[ -x "$game" ] || { echo "no game at $game" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
title='^OXR #48 - QIRN$'

# Pixels of a region whose brightest channel is lit (the title's letters;
# the background stays dark).
lit() {   # file x y width height
    convert "$1" -crop "$4x$5+$2+$3" +repage -channel RGB -separate -evaluate-sequence max \
        -threshold 47% -format '%[fx:round(mean*w*h)]' info:
}

# The rectangle (x y width height) that fits 800 x 600 into width x height.
letterbox() {
    local w=$1 h=$2
    if ((w * 600 <= h * 800)); then
        local bh=$(((600 * w + 400) / 800))
        echo 0 $(((h - bh) / 2)) "$w" "$bh"
    else
        local bw=$(((800 * h + 300) / 600))
        echo $(((w - bw) / 2)) 0 "$bw" "$h"
    fi
}

# Runs SHOOT (a command writing the PNG named as its argument) until the
# title's letters show at (x, y) of an 800 x 600 picture scaled by s.
await_title() {   # shoot file x0 y0 scale
    local shoot=$1 file=$2 x0=$3 y0=$4 s=$5 i
    local x=$(awk "BEGIN{print int($x0 + 300*$s)}") y=$(awk "BEGIN{print int($y0 + 60*$s)}")
    local w=$(awk "BEGIN{print int(200*$s)}") h=$(awk "BEGIN{print int(90*$s)}")
    local need=$(awk "BEGIN{print int(1500*$s*$s)}")
    for i in $(seq 80); do
        sleep 0.5
        $shoot "$file" 2>/dev/null || continue
        [ "$(lit "$file" "$x" "$y" "$w" "$h")" -gt "$need" ] && return 0
    done
    fail "no title in $file"
}

# The shot of a whole window: the picture in its letterbox is the reference
# title scaled (small differences: the title's hue moves, and scaling
# blurs), and the bars are black.
check_letterboxed() {   # shot width height
    local shot=$1 w=$2 h=$3 bx by bw bh err
    read -r bx by bw bh < <(letterbox "$w" "$h")
    [ "$(identify -format '%wx%h' "$shot")" = "${w}x$h" ] || fail "$shot is not ${w}x$h"
    convert "$shot" -crop "${bw}x$bh+$bx+$by" +repage -resize '800x600!' "$work/picture.png"
    err=$( (compare -metric RMSE "$work/picture.png" "$work/reference.png" null: 2>&1 || true) | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN{exit !($err < 0.08)}" || fail "$shot: the letterboxed picture differs from the title (RMSE $err)"
    local bars=("${bx}x$h+0+0" "$((w - bx - bw))x$h+$((bx + bw))+0" "${w}x$by+0+0" "${w}x$((h - by - bh))+0+$((by + bh))")
    local bar
    for bar in "${bars[@]}"; do
        [[ $bar == 0x* || $bar == *x0+* ]] && continue
        [ "$(lit "$shot" $(echo "$bar" | sed 's/[x+]/ /g' | awk '{print $3, $4, $1, $2}'))" -eq 0 ] ||
            fail "$shot: the bar $bar is not black"
    done
    echo "  ${w}x$h: picture ${bw}x$bh at $bx,$by, RMSE $err against the X11 title"
}

# Waits for the game to end; its status must be 0.
await_exit() {   # pid
    local i
    for i in $(seq 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && fail "the game did not quit"
    wait "$1" || fail "the game quit with status $?"
}

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    local i
    for i in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=:$(cat "$work/display")
}

x11_shot() { import -window "$window" "png:$1"; }

run_x11_game() {
    "$game" &
    game_pid=$!
    pids+=($game_pid)
    window=$(timeout 30 xdotool search --sync --name "$title" | head -n 1)
    [ -n "$window" ] || fail "no game window on X11"
}

quit_x11_game() {
    xdotool windowfocus --sync "$window" key --delay 60 Escape
    await_exit "$game_pid"
}

echo "== X11: the reference title, then under i3"
start_xvfb
run_x11_game
await_title x11_shot "$work/reference.png" 0 0 1
quit_x11_game

cat >"$work/i3.config" <<'EOF'
# i3 config file (v4)
font fixed
default_border none
default_floating_border none
# i3 floats a window whose size hints fix its size, as SDL's do for a window
# that is not resizable; a tiling layout still resizes it on request.
for_window [title="QIRN$"] floating disable
EOF
i3 -c "$work/i3.config" >/dev/null 2>&1 &
pids+=($!)
# i3 names its socket on the root window once it manages the screen.
for i in $(seq 50); do
    xprop -root I3_SOCKET_PATH 2>/dev/null | grep -q '"' && break
    sleep 0.1
done
run_x11_game
for i in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "${WIDTH}x$HEIGHT" != 800x600 ] && break
    sleep 0.1
done
[ "${WIDTH}x$HEIGHT" != 800x600 ] || fail "i3 left the window at 800 x 600"
await_title x11_shot "$work/i3.png" $(letterbox "$WIDTH" "$HEIGHT" | awk '{print $1, $2, $3 / 800}')
check_letterboxed "$work/i3.png" "$WIDTH" "$HEIGHT"
quit_x11_game

echo "== Wayland: headless sway"
runtime=$work/runtime
mkdir -m 700 "$runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    id vantrel-test >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin vantrel-test
    chown vantrel-test: "$runtime"
    # setpriv execs sway in its own place: the process waited for is sway.
    as_user=(setpriv --reuid=vantrel-test --regid=vantrel-test --init-groups)
fi
cat >"$runtime/sway.config" <<'EOF'
xwayland disable
default_border none
output HEADLESS-1 resolution 1280x720
EOF
(cd / && exec "${as_user[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$runtime/sway.config" >"$work/sway.log" 2>&1) &
pids+=($!)
socket=
for i in $(seq 100); do
    socket=$(find "$runtime" -maxdepth 1 -type s -name 'wayland-[0-9]*' -printf '%f\n' | head -n 1)
    [ -n "$socket" ] && break
    sleep 0.1
done
[ -n "$socket" ] || { cat "$work/sway.log"; fail "sway did not start"; }
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket
wayland_shot() { grim "$1"; }
SDL_VIDEODRIVER=wayland "$game" &
game_pid=$!
pids+=($game_pid)
await_title wayland_shot "$work/sway.png" $(letterbox 1280 720 | awk '{print $1, $2, $3 / 800}')
check_letterboxed "$work/sway.png" 1280 720
# wtype's virtual keyboard lives only while wtype runs: the game's window
# gets the keyboard's focus after it appears and loses it when it goes,
# and keys of a window that lost the focus are dropped; so it waits before
# and after the key.
wtype -s 500 -k Escape -s 500
await_exit "$game_pid"

# Without SDL_VIDEODRIVER and without X11, as on a Wayland desktop, SDL's
# own order still reaches Wayland.
env -u DISPLAY -u SDL_VIDEODRIVER "$game" &
game_pid=$!
pids+=($game_pid)
await_title wayland_shot "$work/sway-default.png" $(letterbox 1280 720 | awk '{print $1, $2, $3 / 800}')
wtype -s 500 -k Escape -s 500
await_exit "$game_pid"
echo "desktops: i3 and sway passed"
