#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMARVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build-release --target marvane
exec build-release/src/marvane
