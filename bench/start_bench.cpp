// Program start to first painted menu, against a bare Qt Widgets program
// that shows one window (and, for reference, the same window with one line of
// text): all are started as processes (headless, on the offscreen platform
// unless START_BENCH_PLATFORM says otherwise) and timed from the start until
// the process has exited, which it does right after its first paint. Compared
// are the wall-clock time and the CPU time the process used (user + system).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "ratio_report.h"

extern char** environ;

namespace {

// The probes run on the offscreen platform, or on the one that
// START_BENCH_PLATFORM names (xcb, with DISPLAY set: a window system, icon
// themes and all, as on a desktop).
std::vector<std::string> Environment() {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) env.emplace_back(*e);
  }
  const char* platform = std::getenv("START_BENCH_PLATFORM");
  env.emplace_back(std::string("QT_QPA_PLATFORM=") + (platform != nullptr && *platform != 0 ? platform : "offscreen"));
  return env;
}

void StartProcess(benchmark::State& state, const char* path, const char* arg = nullptr) {
  std::vector<std::string> env = Environment();
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string arg0 = path;
  std::string arg1 = arg != nullptr ? arg : "";
  char* argv[] = {arg0.data(), arg != nullptr ? arg1.data() : nullptr, nullptr};

  // Qt's chatter (no XDG_RUNTIME_DIR and the like) is no part of a start.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

  double cpuSeconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, path, &quiet, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("cannot start the probe");
      break;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the probe did not show its window and exit cleanly (run it by hand to see why)");
      break;
    }
    const auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  }
  posix_spawn_file_actions_destroy(&quiet);
  state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("Start/marvane", [](benchmark::State& s) { StartProcess(s, MARVANE_START_PROBE); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Start/bare", [](benchmark::State& s) { StartProcess(s, BARE_START_PROBE); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Start/bare_text", [](benchmark::State& s) { StartProcess(s, BARE_START_PROBE, "text"); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Start/qt_menu", [](benchmark::State& s) { StartProcess(s, BARE_START_PROBE, "menu"); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  using marvane::bench::Comparison;
  // The goal: the same menu built straight from Qt widgets.
  marvane::bench::Compare({.title = "Start to first painted menu vs the same menu from plain Qt widgets (wall)",
                           .subject = "Start/marvane",
                           .baseline = "Start/qt_menu",
                           .measure = Comparison::RealTime,
                           .goal = 1.1});
  marvane::bench::Compare({.title = "Start to first painted menu vs the same menu from plain Qt widgets (CPU)",
                           .subject = "Start/marvane",
                           .baseline = "Start/qt_menu",
                           .measure = Comparison::Counter,
                           .counter = "cpu_ms"});
  marvane::bench::Compare({.title = "Start to first painted menu vs bare Qt window (wall)",
                           .subject = "Start/marvane",
                           .baseline = "Start/bare",
                           .measure = Comparison::RealTime,
                           .goal = 1.1});
  marvane::bench::Compare({.title = "Start to first painted menu vs bare Qt window (CPU)",
                           .subject = "Start/marvane",
                           .baseline = "Start/bare",
                           .measure = Comparison::Counter,
                           .counter = "cpu_ms",
                           .goal = 1.1});
  // For reading the two above: how much of the difference any text at all costs.
  marvane::bench::Compare({.title = "Start to first painted menu vs bare window with text (CPU)",
                           .subject = "Start/marvane",
                           .baseline = "Start/bare_text",
                           .measure = Comparison::Counter,
                           .counter = "cpu_ms"});
  return marvane::bench::RunAndReport(argc, argv);
}
