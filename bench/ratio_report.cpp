#include "ratio_report.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

namespace marvane::bench {
namespace {

std::vector<Comparison>& Comparisons() {
  static std::vector<Comparison> all;
  return all;
}

// A run's name without the suffix the library adds for the kind of timing.
std::string BaseName(std::string name) {
  for (const char* suffix : {"/manual_time", "/real_time"}) {
    const std::string s = suffix;
    if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
      name.resize(name.size() - s.size());
    }
  }
  return name;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The console reporter, keeping every measurement it prints for the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) {
        failed_ = true;
        continue;
      }
      const std::string name = BaseName(run.run_name.str());
      Sample s;
      const double toSeconds = 1.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      s.cpu = run.GetAdjustedCPUTime() * toSeconds;
      s.real = run.GetAdjustedRealTime() * toSeconds;
      for (const auto& [counter, value] : run.counters) s.counters[counter] = value.value;
      if (run.run_type == Run::RT_Iteration) {
        samples_[name].push_back(std::move(s));
      } else if (run.aggregate_name == "median") {
        medians_[name] = std::move(s);
      }
    }
  }

  void Finalize() override {
    std::ostream& out = GetOutputStream();
    out << "\nRatios (program / baseline; median over repetitions):\n";
    for (const Comparison& c : Comparisons()) {
      const auto subject = Value(c.subject, c);
      const auto baseline = Value(c.baseline, c);
      if (!subject || !baseline) continue;  // filtered out or failed
      const char* what = c.measure == Comparison::CpuTime    ? "cpu"
                         : c.measure == Comparison::RealTime ? "wall"
                                                             : c.counter.c_str();
      char line[512];
      std::snprintf(line, sizeof line, "  %-58s %10s %10s  %7.2fx  [%s]", c.title.c_str(),
                    Format(*subject, c).c_str(), Format(*baseline, c).c_str(), *subject / *baseline, what);
      out << line;
      if (c.goal > 0) {
        std::snprintf(line, sizeof line, "  goal <= %.2fx: %s", c.goal,
                      *subject / *baseline <= c.goal ? "met" : "NOT met");
        out << line;
      }
      out << '\n';
    }
    out.flush();
  }

  bool Failed() const { return failed_; }

 private:
  struct Sample {
    double cpu = 0, real = 0;  // seconds per iteration
    std::map<std::string, double> counters;
  };

  static std::optional<double> Pick(const Sample& s, const Comparison& c) {
    switch (c.measure) {
      case Comparison::CpuTime: return s.cpu;
      case Comparison::RealTime: return s.real;
      case Comparison::Counter: {
        auto it = s.counters.find(c.counter);
        if (it == s.counters.end()) return std::nullopt;
        return it->second;
      }
    }
    return std::nullopt;
  }

  std::optional<double> Value(const std::string& name, const Comparison& c) const {
    if (auto it = samples_.find(name); it != samples_.end()) {
      std::vector<double> values;
      for (const Sample& s : it->second) {
        if (auto v = Pick(s, c)) values.push_back(*v);
      }
      if (!values.empty()) return Median(values);
    }
    if (auto it = medians_.find(name); it != medians_.end()) return Pick(it->second, c);
    return std::nullopt;
  }

  static std::string Format(double v, const Comparison& c) {
    char buf[32];
    if (c.measure == Comparison::Counter) {
      std::snprintf(buf, sizeof buf, "%.4g", v);
    } else if (v < 1e-6) {
      std::snprintf(buf, sizeof buf, "%.1f ns", v * 1e9);
    } else if (v < 1e-3) {
      std::snprintf(buf, sizeof buf, "%.2f us", v * 1e6);
    } else {
      std::snprintf(buf, sizeof buf, "%.2f ms", v * 1e3);
    }
    return buf;
  }

  std::map<std::string, std::vector<Sample>> samples_;
  std::map<std::string, Sample> medians_;
  bool failed_ = false;
};

}  // namespace

void Compare(Comparison comparison) { Comparisons().push_back(std::move(comparison)); }

int RunAndReport(int argc, char** argv) {
  // Colours as the library's own reporter has them: on a terminal, unless
  // --benchmark_color=false (or no, 0) says otherwise.
  bool colour = isatty(STDOUT_FILENO) != 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--benchmark_color=false" || arg == "--benchmark_color=no" || arg == "--benchmark_color=0") {
      colour = false;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  RatioReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular
                                : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.Failed() ? 1 : 0;
}

}  // namespace marvane::bench
