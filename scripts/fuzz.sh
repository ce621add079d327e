#!/usr/bin/env bash
# Builds every fuzz target with clang + libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-fuzz/) and runs each for a while,
# starting from its seed corpus in tests/data/fuzz/<name without _fuzz>/.
# New inputs go to build-fuzz/corpus/<name>/ (the seed corpus in git is left
# alone); crashes are written to build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds per target, default 30] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh fuzz

seconds=${1:-30}
shift || true
dir=build-fuzz

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

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
for name in "${targets[@]}"; do
    seeds=tests/data/fuzz/${name%_fuzz}
    work=$dir/corpus/$name
    mkdir -p "$work"
    echo "== $name for ${seconds}s"
    dirs=("$work")
    [ -d "$seeds" ] && dirs+=("$seeds")
    "$dir/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/$name-" "${dirs[@]}"
done
echo "All fuzz targets ran clean."
