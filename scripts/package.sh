#!/usr/bin/env bash
# Builds the game's Debian package: build-deb/qirn_<version>_<arch>.deb.
# Install it with: sudo apt install ./build-deb/qirn_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF \
    -DVANTREL_BENCH=OFF -DVANTREL_EXAMPLES=OFF -DVANTREL_FUZZ=off >/dev/null
cmake --build build-deb
(cd build-deb && cpack -G DEB)
