#pragma once

// Every benchmark of the program is read as a ratio: the time of the
// program's own code divided by the time of a baseline that does comparable
// work with the standard library or with Qt alone, both measured in the same
// run of the same executable. Absolute times depend on the machine; the
// ratios should not, much.
//
// A benchmark executable registers its benchmarks as usual, declares which
// pairs to compare, and hands main() to RunAndReport: the usual console
// output, then a table of ratios (medians over the repetitions when run with
// --benchmark_repetitions).

#include <string>

namespace marvane::bench {

struct Comparison {
  std::string title;     // what is compared, in words
  std::string subject;   // name of the benchmark of the program's code
  std::string baseline;  // name of the baseline benchmark
  // What is compared: CPU time per iteration, wall-clock time per iteration,
  // or (when `counter` is set) that user counter of both benchmarks.
  enum Measure { CpuTime, RealTime, Counter } measure = CpuTime;
  std::string counter = {};
  double goal = 0;  // the ratio aimed at (0: none)
};

void Compare(Comparison comparison);

// benchmark::Initialize, RunSpecifiedBenchmarks with the ratio table after
// the runs, Shutdown. Returns the process's exit code.
int RunAndReport(int argc, char** argv);

}  // namespace marvane::bench
