#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF -DVANTREL_FUZZ=off >/dev/null
cmake --build build-play
if [ -x build-play/game/qirn ]; then
    exec build-play/game/qirn
fi
echo "The engine is built; the game itself is not part of this build yet."
