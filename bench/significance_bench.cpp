// What the plot window does on every keystroke in the pasted matrix, for the
// largest model (Incomplete with twelve held terms, sixteen weights): read
// the 16 x 16 matrix, map it, and compute every table, region and crossing;
// against parsing the same 256 number texts with std::from_chars alone.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "models/incomplete.h"
#include "ratio_report.h"
#include "stats/inference.h"
#include "stats/matrix_reader.h"
#include "stats/regions.h"
#include "stats/term_mapping.h"

namespace {

using namespace marvane;

constexpr int kWeights = 16;

std::vector<std::string> Names() {
  return {"(Intercept)", "x", "z", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9", "t10", "t11", "t12",
          "x:z"};
}

// A positive-definite matrix written as R's write.csv() writes it, numbers
// with 17 significant digits; and the cells alone.
struct Pasted {
  std::string text;
  std::vector<std::string> cells;
};

Pasted MakePasted() {
  Pasted p;
  const std::vector<std::string> names = Names();
  p.text = "\"\"";
  for (const std::string& n : names) p.text.append(",\"").append(n).append("\"");
  p.text += '\n';
  for (int i = 0; i < kWeights; ++i) {
    p.text.append("\"").append(names[static_cast<std::size_t>(i)]).append("\"");
    for (int j = 0; j < kWeights; ++j) {
      const double v = i == j ? 0.04 + 0.001 * i : 0.002 * std::cos(i * 7.0 + j * 7.0) / (1 + std::abs(i - j));
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.17g", v);
      p.text += ',';
      p.text += buf;
      p.cells.emplace_back(buf);
    }
    p.text += '\n';
  }
  return p;
}

Probe LargestProbe() {
  std::vector<HeldTerm> held;
  double c = 3;
  for (int i = 1; i <= 12; ++i) held.push_back({.weight = 0.1 * i, .value = 0.5 * i});
  const double a = FoldControlTerms(c, held);
  return IncompleteProbe(c, held, {.a = a, .bx = 0.5, .bz = 0.25, .bxz = 0.125, .sx = 4, .sz = 2});
}

void BM_PasteAndTables(benchmark::State& state) {
  const Pasted pasted = MakePasted();
  const Probe probe = LargestProbe();
  std::vector<stats::WeightSlot> places;
  for (const ModelWeight& w : probe.weights) {
    places.push_back({static_cast<stats::WeightSlot::Kind>(static_cast<int>(w.kind)), w.parts});
  }
  const stats::Reference reference{.normal = false, .df = 100, .level = 0.95};
  for (auto _ : state) {
    const stats::ReadResult read = stats::ReadPastedMatrix(pasted.text);
    if (!read.ok) {
      state.SkipWithError(read.error.c_str());
      break;
    }
    const std::vector<int> rows = stats::GuessMapping(places, read.matrix.names, read.matrix.size);
    stats::WeightCovariance v;
    v.size = probe.weights.size();
    v.cells.assign(v.size * v.size, 0);
    v.known.assign(v.size, false);
    for (std::size_t i = 0; i < v.size; ++i) {
      if (rows[i] < 0) continue;
      v.known[i] = true;
      for (std::size_t j = 0; j < v.size; ++j) {
        if (rows[j] >= 0) {
          v.cells[i * v.size + j] =
              read.matrix.At(static_cast<std::size_t>(rows[i]), static_cast<std::size_t>(rows[j]));
        }
      }
    }
    benchmark::DoNotOptimize(stats::Analyse(probe, v, reference));
    benchmark::DoNotOptimize(stats::Regions(probe, v, reference));
    benchmark::DoNotOptimize(stats::Crossovers(probe, v, reference));
  }
}
BENCHMARK(BM_PasteAndTables);

void BM_FromCharsAlone(benchmark::State& state) {
  const Pasted pasted = MakePasted();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& cell : pasted.cells) {
      double v = 0;
      std::from_chars(cell.data(), cell.data() + cell.size(), v);
      sum += v;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_FromCharsAlone);

}  // namespace

int main(int argc, char** argv) {
  marvane::bench::Compare({.title = "Paste a 16 x 16 matrix and compute every table of the largest model, vs "
                                    "std::from_chars on its 256 numbers",
                           .subject = "BM_PasteAndTables",
                           .baseline = "BM_FromCharsAlone",
                           .goal = 3});
  return marvane::bench::RunAndReport(argc, argv);
}
