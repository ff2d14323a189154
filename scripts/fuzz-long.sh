#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, ASan, UBSan) and runs each of
# them for SECONDS (default 600), as many at a time as there are cores.
# New inputs go to build-fuzz/fuzz/corpus/<target>/ (the seeds in
# fuzz/corpus/ are only read); a failing input is saved as
# build-fuzz/fuzz/artifacts/<target>-crash-<sha1> and its report is in
# build-fuzz/fuzz/logs/<target>.log.
#
#   scripts/fuzz-long.sh [SECONDS] [TARGET...]
#
# Replay a saved input:  build-fuzz/fuzz/<target> build-fuzz/fuzz/artifacts/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(cd fuzz/corpus && ls -1)
fi

mkdir -p build-fuzz/fuzz/logs build-fuzz/fuzz/artifacts
run_one() {
  local t=$1 seconds=$2
  mkdir -p "build-fuzz/fuzz/corpus/$t"
  if UBSAN_OPTIONS=print_stacktrace=1 "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/fuzz/artifacts/$t-" \
       "build-fuzz/fuzz/corpus/$t" "fuzz/corpus/$t" >"build-fuzz/fuzz/logs/$t.log" 2>&1; then
    echo "$t: passed ($(grep -m1 'number_of_executed_units' "build-fuzz/fuzz/logs/$t.log" | awk '{print $2}') inputs)"
  else
    echo "$t: FAILED, see build-fuzz/fuzz/logs/$t.log"
    return 1
  fi
}
export -f run_one
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$@"' _ {} "$seconds"
