#!/usr/bin/env bash
# Builds the benchmarks (preset "bench": gcc, Release) and runs them all,
# headless. Every benchmark is reported as a ratio to a baseline measured in
# the same run; the tables of ratios come last. The whole output is also
# kept in build-bench/bench-report.txt.
#
#   scripts/bench.sh [REPETITIONS]      (default 5; medians over them)
#
# The ratios are only as steady as the machine: run it on an otherwise idle one.
set -euo pipefail
cd "$(dirname "$0")/.."
reps=${1:-5}

cmake --preset bench >/dev/null
cmake --build --preset bench

export QT_QPA_PLATFORM=offscreen
report=build-bench/bench-report.txt
{
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
  echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
  for b in number_text_bench forms_bench start_bench figure_bench update_bench; do
    "build-bench/bench/$b" --benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true \
      --benchmark_report_aggregates_only=true --benchmark_color=false 2>&1 | grep -v '^QStandardPaths'
  done
  echo "Load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$report"

echo
echo "=== Ratios (program / baseline) ==="
grep -E '^Machine|^Load|^  .*x  \[' "$report"
