#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF -DVANTREL_FUZZ=off >/dev/null
cmake --build build-play --target qirn
exec build-play/game/qirn
