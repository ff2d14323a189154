// The significance engine against R: every table of every form, at two
// confidence levels, with t and normal reference, compared with the numbers
// emmeans printed for the same fits (tests/data/r_significance.R made
// tests/data/r_significance.txt from the fits of tests/data/r_fits.R).
// Each form's probe is built by the form's own builder from R's weights and
// standard deviations, so the coefficient vectors under test are the ones
// the window gets. The reference distributions are checked against R's qt,
// pt and pnorm from the same file.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "r_fit.h"
#include "stats/inference.h"

namespace marvane::stats {
namespace {

// One fit of the data file, and every reference row printed for it.
struct Fit : rdata::RFit {
  double df = 0;
};

// A result row: its table, reference, level, line indexes (1-based) and
// the numbers after them.
struct PrintedRow {
  std::string table, form, ref;
  double level = 0;
  std::vector<double> numbers;  // as printed, after the level
};

struct RData {
  std::map<std::string, Fit> fits;
  std::vector<PrintedRow> rows;
  std::vector<std::vector<std::string>> distribution;  // critical and twosided lines
};

std::vector<double> Numbers(std::istringstream& in) {
  std::vector<double> v;
  std::string word;
  while (in >> word) v.push_back(std::stod(word));
  return v;
}

const RData& Data() {
  static const RData data = [] {
    RData d;
    std::ifstream file(MARVANE_TEST_DATA_DIR "/r_significance.txt");
    EXPECT_TRUE(file) << "cannot open " MARVANE_TEST_DATA_DIR "/r_significance.txt";
    std::string line, form;
    while (std::getline(file, line)) {
      std::istringstream in(line);
      std::string key;
      if (!(in >> key)) continue;
      if (key == "form") {
        in >> form;
        d.fits[form];
      } else if (key == "df" || key == "stdx" || key == "stdz" || key == "stdv") {
        double v = 0;
        in >> v;
        Fit& f = d.fits[form];
        (key == "df" ? f.df : key == "stdx" ? f.stdx : key == "stdz" ? f.stdz : f.stdv) = v;
      } else if (key == "zvalues") {
        d.fits[form].zvalues = Numbers(in);
      } else if (key == "held") {
        d.fits[form].held = Numbers(in);
      } else if (key == "weight") {
        std::string box, value;
        in >> box >> value;
        d.fits[form].boxes.push_back(box);
        d.fits[form].weights[box] = std::stod(value);
      } else if (key == "vcov") {
        std::string box;
        in >> box;
        d.fits[form].vcov[box] = Numbers(in);
      } else if (key == "critical" || key == "twosided") {
        std::vector<std::string> words{key};
        std::string w;
        while (in >> w) words.push_back(w);
        d.distribution.push_back(words);
      } else {
        PrintedRow r;
        r.table = key;
        std::string level;
        in >> r.form >> r.ref >> level;
        r.level = std::stod(level);
        r.numbers = Numbers(in);
        d.rows.push_back(r);
      }
    }
    return d;
  }();
  return data;
}

Probe BuildProbe(const std::string& form, const Fit& f) { return rdata::ProbeOfFit(form, f); }

// R's matrix in the probe's order of weights, found by the weights' boxes.
WeightCovariance MapCovariance(const Probe& p, const Fit& f) {
  WeightCovariance v;
  v.size = p.weights.size();
  v.cells.assign(v.size * v.size, 0.0);
  v.known.assign(v.size, true);
  for (std::size_t i = 0; i < v.size; ++i) {
    const std::vector<double>& row = f.vcov.at(p.weights[i].box);
    for (std::size_t j = 0; j < v.size; ++j) {
      std::size_t col = 0;
      while (f.boxes.at(col) != p.weights[j].box) ++col;
      v.cells[i * v.size + j] = row.at(col);
    }
  }
  return v;
}

bool Close(double ours, double r, double tolerance) {
  return std::fabs(ours - r) <= tolerance * std::fabs(r);
}

// R's pnorm and pt give 0 for a tail below the smallest normal double;
// Boost goes on into the subnormal numbers, so there a p of ours only has
// to lie below that.
bool CloseP(double ours, double r, double tolerance) {
  if (r == 0) return ours >= 0 && ours < std::numeric_limits<double>::min();
  return Close(ours, r, tolerance);
}

#define EXPECT_CLOSE(ours, r, tolerance, where) \
  EXPECT_PRED3(Close, ours, r, tolerance) << where << " (" #ours ")"

using Case = std::tuple<std::string, std::string, double>;  // form, "t" or "z", level

class AgainstR : public ::testing::TestWithParam<Case> {};

// Mixed3 keeps the weight of X as an IEEE single, as its form does: the
// probe widens that single, so every number rbx enters (the lines' slopes
// and predicted values, with their statistics, p values and bounds) is off
// R's double weight by up to 2^-24 relative of rbx, and is compared to
// 1e-6 there. The SEs do not depend on the weights, and the differences
// between lines cancel rbx, so those stay at 1e-9.
constexpr double kTight = 1e-9;
constexpr double kSingle = 1e-6;

// One test against a printed row: estimate, SE, stat, p, lower, upper from
// r[at] on.
void ExpectTestNear(const Test& t, const std::vector<double>& r, std::size_t at, bool single,
                    const std::string& where) {
  const double tol = single ? kSingle : kTight;
  ASSERT_EQ(t.state, Test::State::Tested) << where;
  EXPECT_CLOSE(t.estimate, r[at], tol, where);
  EXPECT_CLOSE(t.se, r[at + 1], kTight, where);
  EXPECT_CLOSE(t.stat, r[at + 2], tol, where);
  EXPECT_PRED3(CloseP, t.p, r[at + 3], tol) << where << " (t.p)";
  EXPECT_CLOSE(t.lower, r[at + 4], tol, where);
  EXPECT_CLOSE(t.upper, r[at + 5], tol, where);
}

TEST_P(AgainstR, EveryTable) {
  const auto& [form, refName, level] = GetParam();
  const RData& data = Data();
  ASSERT_TRUE(data.fits.count(form)) << form;
  const Fit& fit = data.fits.at(form);
  const Probe probe = BuildProbe(form, fit);
  const Reference ref{.normal = refName == "z", .df = refName == "z" ? 0 : fit.df, .level = level};
  const Tables t = Analyse(probe, MapCovariance(probe, fit), ref);
  EXPECT_EQ(t.problem, "");
  const bool mixed3 = form == "Mixed3";

  std::size_t slopes = 0, intercepts = 0, points = 0, slopePairs = 0, interceptPairs = 0;
  for (const PrintedRow& row : data.rows) {
    if (row.form != form || row.ref != refName || row.level != level) continue;
    const std::vector<double>& n = row.numbers;
    const std::string where = form + " " + refName + " " + std::to_string(level) + " " + row.table + " line " +
                              std::to_string(static_cast<int>(n[0]));
    const std::size_t k = static_cast<std::size_t>(n[0]) - 1;
    if (row.table == "slope" || row.table == "intercept") {
      const bool isSlope = row.table == "slope";
      const std::vector<stats::Row>& rows = t.Rows(isSlope ? Table::Kind::Slopes : Table::Kind::Intercepts);
      (isSlope ? slopes : intercepts)++;
      ASSERT_LT(k, rows.size()) << where;
      EXPECT_EQ(rows[k].name, probe.lines[k].name) << where;
      const bool single = mixed3 && isSlope;
      ExpectTestNear(rows[k].test, n, 1, single, where);
    } else if (row.table == "point") {
      // Two rows per line, -stdx first: the r-th printed row of line k.
      const std::size_t at = 2 * k + (n[1] < 0 ? 0 : 1);
      ++points;
      ASSERT_LT(at, t.Rows(Table::Kind::Points).size()) << where;
      const stats::Row& p = t.Rows(Table::Kind::Points)[at];
      EXPECT_EQ(p.name, probe.lines[k].name) << where;
      EXPECT_CLOSE(p.x, n[1], kTight, where);
      // The table of predicted values has no test: no p value.
      const double tol = mixed3 ? kSingle : kTight;
      ASSERT_EQ(p.test.state, stats::Test::State::Tested) << where;
      EXPECT_CLOSE(p.test.estimate, n[2], tol, where);
      EXPECT_CLOSE(p.test.se, n[3], kTight, where);
      EXPECT_CLOSE(p.test.stat, n[4], tol, where);
      EXPECT_CLOSE(p.test.lower, n[6], tol, where);
      EXPECT_CLOSE(p.test.upper, n[7], tol, where);
      EXPECT_EQ(p.test.p, 1) << where;
    } else {
      const bool isSlope = row.table == "slopediff";
      const std::vector<stats::Row>& rows =
          t.Rows(isSlope ? Table::Kind::SlopeDifferences : Table::Kind::InterceptDifferences);
      const std::size_t l = static_cast<std::size_t>(n[1]) - 1;
      const stats::Row* pair = nullptr;
      for (const stats::Row& pr : rows) {
        if (pr.k == k && pr.l == l) pair = &pr;
      }
      ASSERT_NE(pair, nullptr) << where << " vs " << l + 1;
      (isSlope ? slopePairs : interceptPairs)++;
      EXPECT_EQ(pair->name, PairName(probe.lines[k], probe.lines[l])) << where;
      // A difference of two lines cancels rbx: R's numbers hold to 1e-9.
      // Printed: estimate, SE, stat, p, p Holm, lower, upper.
      const std::vector<double> plain{n[0], n[1], n[2], n[3], n[4], n[5], n[7], n[8]};
      ExpectTestNear(pair->test, plain, 2, false, where);
      EXPECT_PRED3(CloseP, pair->test.pHolm, n[6], kTight) << where << " (pHolm)";
    }
  }
  const std::size_t lines = probe.lines.size(), pairs = lines * (lines - 1) / 2;
  EXPECT_EQ(slopes, lines);
  EXPECT_EQ(intercepts, lines);
  EXPECT_EQ(points, 2 * lines);
  EXPECT_EQ(slopePairs, pairs);
  EXPECT_EQ(interceptPairs, pairs);
  EXPECT_EQ(t.Rows(Table::Kind::Slopes).size(), lines);
  EXPECT_EQ(t.Rows(Table::Kind::Points).size(), 2 * lines);
  EXPECT_EQ(t.Rows(Table::Kind::SlopeDifferences).size(), pairs);
  EXPECT_EQ(t.Rows(Table::Kind::InterceptDifferences).size(), pairs);
}

INSTANTIATE_TEST_SUITE_P(Forms, AgainstR,
                         ::testing::Combine(::testing::Values("Quant", "QuantZ", "Mixed2", "Mixed3", "Quant3",
                                                              "Incomplete"),
                                            ::testing::Values("t", "z"), ::testing::Values(0.95, 0.90)),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::get<0>(info.param) + "_" + std::get<1>(info.param) + "_" +
                                  (std::get<2>(info.param) == 0.95 ? "95" : "90");
                         });

// qt, pt and pnorm at levels from 50 to 99.9999 percent and statistics out
// to 1e150, where the two-sided p lies far below 1e-16 (down to subnormal
// numbers for the normal) and only an upper tail of its own keeps digits.
TEST(ReferenceAgainstR, CriticalValuesAndTwoSidedP) {
  std::size_t checked = 0;
  for (const std::vector<std::string>& w : Data().distribution) {
    ASSERT_EQ(w.size(), 5u);
    const Reference ref{.normal = w[1] == "z", .df = std::stod(w[2]), .level = w[0] == "critical" ? std::stod(w[3]) : 0.95};
    const double r = std::stod(w[4]);
    const std::string where = w[0] + " " + w[1] + " df " + w[2] + " at " + w[3];
    const double ours = w[0] == "critical" ? Critical(ref) : TwoSidedP(std::stod(w[3]), ref);
    EXPECT_PRED3(CloseP, ours, r, 1e-12) << where;
    ++checked;
  }
  EXPECT_GE(checked, 70u);
}

}  // namespace
}  // namespace marvane::stats
