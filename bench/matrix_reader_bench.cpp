// Reading a pasted 16 x 16 covariance matrix as R prints it (six column
// blocks, tests/data/matrices/r_print_wide16.txt) against std::from_chars
// on the same 256 number texts, already cut out: the least any reader of the
// text has to do. Also the same matrix as R's write.csv, against its 256
// number texts.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ratio_report.h"
#include "stats/matrix_reader.h"

namespace {

std::string Sample(const char* file) {
  std::ifstream in(std::string(MARVANE_MATRIX_DATA) + "/" + file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "no sample %s in %s\n", file, MARVANE_MATRIX_DATA);
    std::exit(2);
  }
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The blank- or comma-separated pieces of the text that std::from_chars
// reads whole: the numbers of the matrix, and nothing else.
std::vector<std::string> NumberTexts(const std::string& text) {
  std::vector<std::string> out;
  std::string piece;
  auto flush = [&] {
    double x = 0;
    auto res = std::from_chars(piece.data(), piece.data() + piece.size(), x);
    if (!piece.empty() && res.ec == std::errc() && res.ptr == piece.data() + piece.size()) out.push_back(piece);
    piece.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == ',' || c == '\t') {
      flush();
    } else {
      piece.push_back(c);
    }
  }
  flush();
  return out;
}

const std::string& Printed() {
  static const std::string text = Sample("r_print_wide16.txt");
  return text;
}

const std::string& Csv() {
  static const std::string text = Sample("r_csv_wide16.csv");
  return text;
}

void Read(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    marvane::stats::ReadResult r = marvane::stats::ReadPastedMatrix(text);
    if (!r.ok || r.matrix.size != 16) {
      state.SkipWithError(r.error.c_str());
      break;
    }
    benchmark::DoNotOptimize(r);
  }
}

void FromChars(benchmark::State& state, const std::string& text) {
  const std::vector<std::string> texts = NumberTexts(text);
  if (texts.size() != 256) {
    state.SkipWithError("the sample does not hold 256 number texts");
    return;
  }
  std::vector<double> cells(texts.size());
  for (auto _ : state) {
    for (std::size_t k = 0; k < texts.size(); ++k) {
      std::from_chars(texts[k].data(), texts[k].data() + texts[k].size(), cells[k]);
    }
    benchmark::DoNotOptimize(cells.data());
    benchmark::ClobberMemory();
  }
}

void BM_ReadRPrint16(benchmark::State& state) { Read(state, Printed()); }
void BM_FromCharsRPrint16(benchmark::State& state) { FromChars(state, Printed()); }
void BM_ReadRCsv16(benchmark::State& state) { Read(state, Csv()); }
void BM_FromCharsRCsv16(benchmark::State& state) { FromChars(state, Csv()); }

BENCHMARK(BM_ReadRPrint16);
BENCHMARK(BM_FromCharsRPrint16);
BENCHMARK(BM_ReadRCsv16);
BENCHMARK(BM_FromCharsRCsv16);

}  // namespace

int main(int argc, char** argv) {
  using marvane::bench::Compare;
  Compare({.title = "Read R's print of a 16 x 16 matrix vs std::from_chars",
           .subject = "BM_ReadRPrint16",
           .baseline = "BM_FromCharsRPrint16",
           .goal = 3});
  Compare({.title = "Read R's write.csv of a 16 x 16 matrix vs std::from_chars",
           .subject = "BM_ReadRCsv16",
           .baseline = "BM_FromCharsRCsv16"});
  return marvane::bench::RunAndReport(argc, argv);
}
