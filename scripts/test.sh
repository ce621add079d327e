#!/usr/bin/env bash
# Builds everything and runs every test: a plain build, its installation
# and Debian package (scripts/test-install.sh), the game on desktops that
# resize its window (scripts/test-desktops.sh), then the whole suite again
# under AddressSanitizer + UndefinedBehaviorSanitizer, then the concurrency
# stress tests under ThreadSanitizer, then the Windows build under Wine
# (scripts/windows.sh). Display tests run inside a
# private Xvfb server with Mesa's software renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh test

jobs=$(nproc)
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

configure_and_build() {
    local dir=$1 target=$2; shift 2
    cmake -S . -B "$dir" -G Ninja -DVANTREL_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" --target "$target" -- -j"$jobs"
}

# The X server must not reset when its last client leaves: tests start and
# end all the time, and a program connecting while the server resets is
# refused, which fails whichever display test starts at that moment.
run_ctest() {
    local dir=$1; shift
    (cd "$dir" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
        ctest --output-on-failure --timeout 600 -j"$jobs" "$@")
}

echo "== plain build"
configure_and_build build all -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest build

echo "== installed game and engine, Debian package"
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" scripts/test-install.sh build

echo "== the game under a tiling window manager (i3) and a Wayland compositor (sway)"
scripts/test-desktops.sh build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
configure_and_build build-asan all -DCMAKE_BUILD_TYPE=Debug \
    -DVANTREL_SANITIZE=address,undefined -DVANTREL_BENCH=OFF
run_ctest build-asan

echo "== ThreadSanitizer stress tests"
configure_and_build build-tsan vantrel_tsan_tests -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTREL_SANITIZE=thread -DVANTREL_BENCH=OFF -DVANTREL_FUZZ=off
run_ctest build-tsan -L tsan --no-tests=ignore

echo "== Windows"
scripts/windows.sh

echo "All tests passed."
