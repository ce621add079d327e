#!/usr/bin/env bash
# Builds every fuzz target with clang + libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-fuzz/) and runs each in turn for the
# given time on one core, then prints per target the executions, the coverage
# reached (edges and features of the instrumented engine code), the corpus
# size and the findings.
#
# Each target starts from its committed corpus tests/data/fuzz/<name without
# _fuzz>/ plus real files of its format taken from the system (see
# RealSeeds), copied to build-fuzz/seeds/<name>/. New inputs go to
# build-fuzz/corpus/<name>/; crashes, leaks, timeouts and out-of-memory inputs
# go to build-fuzz/artifacts/<name>-*. A finding does not stop the target: it
# runs on in libFuzzer's fork mode until its time is up. Commit each finding,
# once fixed, into the target's corpus so that the corpus replay in ctest
# keeps covering it; build-fuzz/fuzz/<name> <file> replays one with the full
# sanitizer report.
#
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
# Exit status 1 when any target had a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh fuzz

seconds=${1:-60}
shift || true
dir=build-fuzz

# Real files of each target's format, a few of each kind (big sets slow every
# run down without reaching more code).
RealSeeds() {
    case "$1" in
    ogg_fuzz) ls /usr/share/sounds/freedesktop/stereo/*.oga ;;
    # Only a sound longer than two seconds is handed out early: the longer
    # theme sounds and the game's own music, generated in the fuzz build.
    ogg_progressive_fuzz)
        ls /usr/share/sounds/freedesktop/stereo/{alarm-clock-elapsed,phone-outgoing-busy,service-login}.oga \
            "$dir/game/snd/qirn.ogg" ;;
    wav_fuzz) ls /usr/share/sounds/alsa/*.wav ;;
    png_fuzz) ls tests/data/pngsuite/*.png ;;
    freetype_font_fuzz)
        ls /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf \
            /usr/share/fonts/opentype/terminus/terminus-normal.otb \
            /usr/share/fonts/X11/misc/{6x13,9x15,cursor,micro}.pcf.gz ;;
    bank_stream_fuzz)   # a script of one operation per byte: tiny files only
        ls tests/data/pngsuite/basn0g01.png tests/data/pngsuite/basn2c08.png \
            /usr/share/fonts/X11/misc/micro.pcf.gz ;;
    esac 2>/dev/null || true
}

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTREL_FUZZ=libfuzzer -DVANTREL_SANITIZE=address,undefined \
    -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF >/dev/null

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for src in fuzz/*.cpp; do
        name=$(basename "$src" .cpp)
        [ "$name" = replay_main ] || targets+=("$name")
    done
fi
cmake --build "$dir" --target "${targets[@]}" -- -j"$(nproc)"
if [[ " ${targets[*]} " == *" ogg_progressive_fuzz "* ]]; then
    cmake --build "$dir" --target qirn_assets -- -j"$(nproc)"
fi

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts" "$dir/logs"
summary=()
found=0
for name in "${targets[@]}"; do
    work=$dir/corpus/$name
    seeds=$dir/seeds/$name
    rm -rf "$seeds"
    mkdir -p "$work" "$seeds"
    mapfile -t real < <(RealSeeds "$name")
    [ ${#real[@]} -eq 0 ] || cp "${real[@]}" "$seeds/"
    committed=tests/data/fuzz/${name%_fuzz}
    dirs=("$work" "$seeds")
    [ -d "$committed" ] && dirs+=("$committed")
    log=$dir/logs/$name.log
    echo "== $name for ${seconds}s from $(ls "$seeds" | wc -l) real files"
    # -fork=1: one worker process at a time, restarted after each finding.
    "$dir/fuzz/$name" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -artifact_prefix="$dir/artifacts/$name-" "${dirs[@]}" 2>&1 | tee "$log" |
        grep --line-buffered -E '^#[0-9]+: cov:|^INFO: exiting|ERROR:' || true
    # The fork mode's last status line: "#runs: cov: N ft: N corp: N ...
    # oom/timeout/crash: a/b/c ...".
    stats=$(grep -E '^#[0-9]+: cov:' "$log" | tail -1)
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$stats")
    cov=$(sed -E 's/.* cov: ([0-9]+).*/\1/' <<<"$stats")
    ft=$(sed -E 's/.* ft: ([0-9]+).*/\1/' <<<"$stats")
    corp=$(sed -E 's/.* corp: ([0-9]+).*/\1/' <<<"$stats")
    findings=$(sed -E 's|.*oom/timeout/crash: ([0-9/]+).*|\1|' <<<"$stats")
    [ -n "$stats" ] || { runs=?; cov=?; ft=?; corp=?; findings=?; }
    artifacts=$(find "$dir/artifacts" -name "$name-*" -newer "$seeds" | wc -l)
    [ "$findings" = 0/0/0 ] && [ "$artifacts" -eq 0 ] || found=1
    summary+=("$(printf '%-20s %10s %6s %6s %6s %17s %9s' "$name" "$runs" "$cov" "$ft" "$corp" "$findings" "$artifacts")")
done

echo
printf '%-20s %10s %6s %6s %6s %17s %9s\n' target runs cov ft corpus oom/timeout/crash artifacts
printf '%s\n' "${summary[@]}"
if [ $found -ne 0 ]; then
    echo "Findings are in $dir/artifacts/ (the logs in $dir/logs/)."
    exit 1
fi
echo "All fuzz targets ran clean."
