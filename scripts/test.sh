#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite three
# ways: the normal build with warnings as errors; the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer; and a short run of every
# fuzz target. Any failure stops the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

echo "=== Test suite (gcc, warnings as errors)"
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default -j "$(nproc)"

echo "=== Debian package: contents, desktop files, lintian, start-up"
scripts/check_package.sh build

echo "=== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --workflow --preset asan

echo "=== Fuzzing, a short run of every target"
cmake --workflow --preset fuzz
