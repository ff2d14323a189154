// The number texts against the standard library's conversions on the same
// inputs: reading (LenientParse, StrictParse vs std::from_chars) and writing
// (NumberToText vs std::to_chars with 15 significant digits, bare and with
// the result put in a std::string).

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "ratio_report.h"
#include "shell/number_text.h"

namespace {

// Numbers as they turn up in the boxes and the results: half of them with a
// few significant digits (as typed), half with full precision (as computed),
// magnitudes from 1E-6 to 1E+20, either sign.
const std::vector<double>& Numbers() {
  static const std::vector<double> numbers = [] {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-6, 20), digits(1, 6), coin(0, 1);
    std::vector<double> out;
    for (int i = 0; i < 1024; ++i) {
      double x = mantissa(rng) * std::pow(10.0, exponent(rng));
      if (i % 2 == 0) {
        const double scale = std::pow(10.0, digits(rng) - 1 - std::floor(std::log10(x)));
        x = std::round(x * scale) / scale;
      }
      out.push_back(coin(rng) ? -x : x);
    }
    return out;
  }();
  return numbers;
}

// Their shortest texts ("0.5", "-1.2345678901234567e+20"), which both the
// program's readers and std::from_chars accept.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> out;
    for (double x : Numbers()) {
      std::array<char, 64> buf{};
      auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x);
      out.emplace_back(buf.data(), res.ptr);
    }
    return out;
  }();
  return texts;
}

void BM_LenientParse(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string& t : Texts()) benchmark::DoNotOptimize(marvane::LenientParse(t));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Texts().size()));
}

void BM_StrictParse(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string& t : Texts()) benchmark::DoNotOptimize(marvane::StrictParse(t));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Texts().size()));
}

void BM_FromChars(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string& t : Texts()) {
      double x = 0;
      std::from_chars(t.data(), t.data() + t.size(), x);
      benchmark::DoNotOptimize(x);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Texts().size()));
}

void BM_NumberToText(benchmark::State& state) {
  for (auto _ : state) {
    for (double x : Numbers()) {
      std::string text = marvane::NumberToText(x);
      benchmark::DoNotOptimize(text);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Numbers().size()));
}

void BM_ToChars(benchmark::State& state) {
  std::array<char, 64> buf{};
  for (auto _ : state) {
    for (double x : Numbers()) {
      auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::scientific, 14);
      benchmark::DoNotOptimize(res.ptr);
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Numbers().size()));
}

// The same conversion handed back as a std::string, as NumberToText's is: the
// share of the allocation that a text longer than the string's own buffer
// (15 characters) needs.
void BM_ToCharsString(benchmark::State& state) {
  std::array<char, 64> buf{};
  for (auto _ : state) {
    for (double x : Numbers()) {
      auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::scientific, 14);
      std::string text(buf.data(), res.ptr);
      benchmark::DoNotOptimize(text);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Numbers().size()));
}

BENCHMARK(BM_LenientParse);
BENCHMARK(BM_StrictParse);
BENCHMARK(BM_FromChars);
BENCHMARK(BM_NumberToText);
BENCHMARK(BM_ToChars);
BENCHMARK(BM_ToCharsString);

}  // namespace

int main(int argc, char** argv) {
  using marvane::bench::Compare;
  Compare({.title = "LenientParse vs std::from_chars", .subject = "BM_LenientParse", .baseline = "BM_FromChars"});
  Compare({.title = "StrictParse vs std::from_chars", .subject = "BM_StrictParse", .baseline = "BM_FromChars"});
  Compare({.title = "NumberToText vs std::to_chars(scientific, 14)",
           .subject = "BM_NumberToText",
           .baseline = "BM_ToChars",
           .goal = 1.5});
  Compare({.title = "NumberToText vs std::to_chars(scientific, 14) + std::string",
           .subject = "BM_NumberToText",
           .baseline = "BM_ToCharsString"});
  return marvane::bench::RunAndReport(argc, argv);
}
