// The R code of the plot window, for each of the six forms, against what R
// printed when it ran that code. Each form's probe is built by the form's
// own builder from weights typed off an R fit (tests/data/r_fits.R) and
// analysed with R's printed covariance matrix pasted, as the window does.
//
// tests/data/rcode/<form>.R is the script generated for the example; the
// test fails when the generator writes anything else, so that the kept
// output always belongs to the script beside it. tests/data/rcode/<form>.Rout
// is what R 4 printed running it (Rscript <form>.R > <form>.Rout). Every
// section of that output must match the window's copied sections: the same
// titles, columns, row names and words, and every number to 1e-9 (relative
// to its size, absolute below 1).
//
// To make the scripts and outputs again after a change of the generator:
//   MARVANE_WRITE_RCODE=1 build/tests/r_code_test; tests/data/rcode/run_r.sh

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"
#include "analysis/r_code.h"

namespace marvane {
namespace {

struct Example {
  const char* name;  // of the kept script and its output
  const char* form;
  const char* caption;
  const char* matrix;  // in tests/data/matrices
  AnalysisInput input;
};

AnalysisInput Input(const char* df, const char* n, const char* level, figure::Range range = figure::Range::OneSd,
                    const char* from = "", const char* to = "") {
  AnalysisInput in;
  in.df = df;
  in.sampleSize = n;
  in.level = level;
  in.range = range;
  in.xFrom = from;
  in.xTo = to;
  return in;
}

// The weights of r_fits.R as a user types them from R's summary, to seven
// significant digits; the reference distribution, level and X range vary
// from form to form.
AnalysisInput Observed(AnalysisInput in) {
  in.lines.moderators = ModeratorChoice::MeanSd;
  in.lines.sdMultiple = "1.5";
  in.lines.meanX = "0.25";
  in.lines.meanZ = "40";
  in.observedFrom = "-120";
  in.observedTo = "160";
  in.observedXFrom = "-1.5";
  in.observedXTo = "2";
  in.fdr = true;
  return in;
}

const Example kExamples[] = {
    {"Quant", "Quant", "Quant", "r_print_quant.txt", Input("28", "", "95")},
    {"QuantZ", "QuantZ", "QuantZ", "r_print_quant.txt", Input("", "", "90", figure::Range::TwoSd)},
    {"Mixed2", "Mixed2", "Mixed2", "r_print_mixed2.txt", Input("", "60", "95")},
    {"Mixed3", "Mixed3", "Mixed3", "r_print_mixed3.txt", Input("144", "", "99", figure::Range::Typed, "-1", "1")},
    {"Quant3", "Quant3", "Quant 3-way", "r_print_quant3.txt", Input("39", "", "95")},
    // Lines at the typed means +-1.5 SD, regions controlling the false-discovery
    // rate over observed values, crossings judged against the observed X.
    {"QuantObserved", "Quant", "Quant", "r_print_quant.txt", Observed(Input("28", "", "95"))},
    {"Quant3Observed", "Quant3", "Quant 3-way", "r_print_quant3.txt", Observed(Input("", "", "90"))},
    {"Incomplete", "Incomplete", "Incomplete", "r_print_incomplete.txt", Input("26", "", "95", figure::Range::Typed, "-3", "0.5")},
};

Probe BuildProbe(const std::string& form) {
  if (form == "Quant") {
    return QuantProbe({.bx = -4.131649, .bz = -0.03050764, .bxz = 0.02784815, .a = 18.8984, .stdz = 68.56287,
                       .stdx = 0.9784574});
  }
  if (form == "QuantZ") {
    return QuantZProbe({.bx = -4.131649, .bz = -0.03050764, .bxz = 0.02784815, .a = 18.8984, .stdx = 0.9784574,
                        .hiz = 80, .medz = 10, .loz = -50});
  }
  if (form == "Mixed2") return Mixed2Probe({.bx = 7.811429, .bz = -3.7, .bxz = 3.904286, .a = 20.66333, .stdx = 0.6288722});
  if (form == "Mixed3") {
    return Mixed3Probe({.rbx = 0.6904897f, .bz1 = 1.434507, .bz2 = 1.913069, .bxz1 = 0.174588, .bxz2 = 0.2110448,
                        .a = 4.750058, .stdx = 0.4358663});
  }
  if (form == "Quant3") {
    return Quant3Probe({.bx = -0.1781939, .bz = -1.079467, .bv = 0.1355369, .bxz = 0.0007497731, .bxv = -0.001487563,
                        .bzv = -0.01108471, .bxzv = 0.0001812756, .a = 70.2231, .stdx = 22.71122, .stdz = 9.615407,
                        .stdv = 41.70485});
  }
  const std::vector<HeldTerm> held{{.weight = 0.5972693, .value = 1}, {.weight = 0.9113101, .value = 1}};
  const IncompleteInputs in{.a = FoldControlTerms(18.6433, held), .bx = -4.232465, .bz = -0.01681403,
                            .bxz = 0.0251592, .sx = 0.9784574, .sz = 68.56287};
  return IncompleteProbe(18.6433, held, in);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

Analysis Analysed(const Example& e) {
  Probe probe = BuildProbe(e.form);
  probe.form = e.form;
  probe.caption = e.caption;
  AnalysisInput in = e.input;
  in.pasted = ReadFile(std::string(MARVANE_TEST_DATA "/matrices/") + e.matrix);
  return Analyse(probe, in);
}

// Sections: blocks of lines between empty lines, each line's cells.
using Section = std::vector<std::vector<std::string>>;

std::vector<Section> Sections(const std::string& text) {
  std::vector<Section> out;
  std::istringstream in(text);
  std::string line;
  Section current;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      if (!current.empty()) out.push_back(std::move(current));
      current.clear();
      continue;
    }
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
      cells.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    cells.push_back(line.substr(start));
    current.push_back(std::move(cells));
  }
  if (!current.empty()) out.push_back(std::move(current));
  return out;
}

bool Number(const std::string& s, double* v) {
  if (s.empty()) return false;
  char* end = nullptr;
  *v = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

// The cell R printed against the window's: equal words, or numbers within 1e-9.
void ExpectSameCell(const std::string& r, const std::string& window, const std::string& where) {
  double a = 0, b = 0;
  if (Number(r, &a) && Number(window, &b)) {
    EXPECT_LE(std::fabs(a - b), 1e-9 * std::max(1.0, std::fabs(b))) << where << ": R " << r << ", window " << window;
  } else {
    EXPECT_EQ(r, window) << where;
  }
}

class RCodeOfForm : public ::testing::TestWithParam<Example> {};

TEST_P(RCodeOfForm, IsTheKeptScript) {
  const Example& e = GetParam();
  const std::string code = RCode(Analysed(e), {.programVersion = "0.1", .written = "2026-12-09 12:00"});
  const std::string path = std::string(MARVANE_TEST_DATA "/rcode/") + e.name + ".R";
  if (std::getenv("MARVANE_WRITE_RCODE") != nullptr) std::ofstream(path, std::ios::binary) << code;
  EXPECT_EQ(code, ReadFile(path)) << "the generator changed: make " << path << " and its output again";
}

TEST_P(RCodeOfForm, RPrintedTheWindowsNumbers) {
  const Example& e = GetParam();
  const Analysis a = Analysed(e);
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  const std::string r = ReadFile(std::string(MARVANE_TEST_DATA "/rcode/") + e.name + ".Rout");
  ASSERT_FALSE(r.empty()) << "no output of R kept for " << e.name;
  const std::vector<Section> printed = Sections(r);
  const std::vector<Section> window = Sections(LinesSection(a.probe, {}) + a.sections);
  ASSERT_EQ(printed.size(), window.size()) << r;
  // Every table, the regions and the crossings are there.
  EXPECT_GE(window.size(), 8u);
  for (std::size_t s = 0; s < window.size(); ++s) {
    const std::string title = window[s][0][0];
    ASSERT_EQ(printed[s].size(), window[s].size()) << title;
    for (std::size_t row = 0; row < window[s].size(); ++row) {
      ASSERT_EQ(printed[s][row].size(), window[s][row].size()) << title << " row " << row;
      for (std::size_t c = 0; c < window[s][row].size(); ++c) {
        ExpectSameCell(printed[s][row][c], window[s][row][c],
                       title + " row " + std::to_string(row) + " column " + std::to_string(c));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, RCodeOfForm, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a matrix the script still gives the lines.
TEST(RCode, WithoutAMatrixGivesTheLines) {
  Probe p = BuildProbe("Quant");
  p.form = "Quant";
  p.caption = "Quant";
  const std::string code = RCode(Analyse(p, {}), {.programVersion = "0.1", .written = "now"});
  EXPECT_NE(code.find("this script gives the lines only"), std::string::npos);
  EXPECT_EQ(code.find("V <- matrix"), std::string::npos);
  EXPECT_NE(code.find("cat(\"Simple-effect lines\\n\")"), std::string::npos);
}

// Numbers that R reads back as the same double, and texts that read the
// same in any locale.
TEST(RCode, NumbersAndTextsAsRReadsThem) {
  EXPECT_EQ(RNumber(0.1), "0.10000000000000001");
  EXPECT_EQ(RNumber(-4.131649040738262), "-4.131649040738262");
  EXPECT_EQ(RNumber(5.6295032010865301e-05), "5.6295032010865301e-05");
  EXPECT_EQ(RNumber(28), "28");
  EXPECT_EQ(RString("For \"high\" Z \\ \u00b11 SD\t\u2212"), "\"For \\\"high\\\" Z \\\\ \\u{00b1}1 SD\\t\\u{2212}\"");
}

}  // namespace
}  // namespace marvane
