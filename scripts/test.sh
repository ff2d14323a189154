#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARVANE_WERROR=ON >/dev/null
cmake --build build/ci -j "$jobs"
(cd build/ci && ctest --output-on-failure -j "$jobs")
