// The significance tables as texts: rounding to the nearest at the chosen
// decimals, p values, the clipboard's sections and the report sentences.

#include "analysis/report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace marvane::stats {
namespace {

struct FixedCase {
  double value;
  int decimals;
  const char* text;
};

TEST(Report, RoundsToTheNearestWithoutLocaleOrNegativeZero) {
  const FixedCase cases[] = {
      {0.74951, 3, "0.750"},   {0.7494, 3, "0.749"},  {-0.0004, 3, "0.000"}, {-0.0006, 3, "-0.001"},
      {1234.5, 1, "1234.5"},   {2.5, 0, "2"},         {0.125, 2, "0.12"},    {-3.14159, 6, "-3.141590"},
      {1e20, 3, "1E+20"},      {-7.5e16, 2, "-7.5E+16"}, {0, 4, "0.0000"},
  };
  for (const FixedCase& c : cases) EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value << " at " << c.decimals;
}

struct PCase {
  double p;
  int decimals;
  const char* cell;
  const char* phrase;
};

TEST(Report, PValuesInCellsAndSentences) {
  const PCase cases[] = {
      {0.0234, 3, "0.023", "p = .023"}, {0.0234, 1, "0.023", "p = .023"}, {0.0234, 5, "0.02340", "p = .023"},
      {0.00099, 3, "< .001", "p < .001"}, {1e-300, 6, "< .001", "p < .001"}, {0.001, 3, "0.001", "p = .001"},
      {1, 3, "1.000", "p = 1.000"},     {0.9996, 3, "1.000", "p = 1.000"},
  };
  for (const PCase& c : cases) {
    EXPECT_EQ(PCell(c.p, c.decimals), c.cell) << c.p;
    EXPECT_EQ(PPhrase(c.p), c.phrase) << c.p;
  }
}

Test Tested(double estimate, double se, double stat, double p, double lower, double upper) {
  Test t;
  t.estimate = estimate;
  t.se = se;
  t.stat = stat;
  t.p = p;
  t.pHolm = std::min(1.0, 2 * p);
  t.lower = lower;
  t.upper = upper;
  t.variance = se * se;
  return t;
}

Test InState(stats::Test::State s, double estimate = 0) {
  Test t;
  t.state = s;
  t.estimate = estimate;
  return t;
}

using K = Table::Kind;

std::vector<Row>& Rows(Tables& t, K kind) { return t.list[static_cast<std::size_t>(kind)].rows; }
const Table& Of(const Tables& t, K kind) { return t.list[static_cast<std::size_t>(kind)]; }

TEST(Report, SectionsNameTheStatisticAndLeaveEmptyWhatHasNoNumber) {
  Tables t;
  Rows(t, K::Slopes) = {{"For 1 std above the mean of Z", Tested(0.75, 0.1, 7.5, 2e-11, 0.551, 0.949)},
                        {"For the mean of Z", InState(stats::Test::State::NotTestable, 0.5)}};
  Rows(t, K::Intercepts) = {{"For the mean of Z", InState(stats::Test::State::NeedsUnknown)}};
  Rows(t, K::SlopeDifferences) = {{"A vs B", Tested(-0.25, 0.125, -2, 0.05, -0.5, 0), 0, 0, 1}};
  const Reference withT{.normal = false, .df = 96, .level = 0.95};
  const Reference normal{.normal = true, .df = 0, .level = 0.9};

  EXPECT_EQ(Section(Of(t, K::Slopes), withT),
            "Simple slopes\nline\testimate\tSE\tt\tdf\tp\tlower\tupper\n"
            "For 1 std above the mean of Z\t0.75\t0.1\t7.5\t96\t2E-11\t0.551\t0.949\n"
            "For the mean of Z\t0.5\t0\t\t\t\t\t");
  // The normal reference: z for t and no df.
  const std::string header = "Simple slopes\nline\testimate\tSE\tz\tdf\tp\tlower\tupper\n";
  EXPECT_EQ(Section(Of(t, K::Slopes), normal).substr(0, header.size()), header);
  EXPECT_NE(Section(Of(t, K::Slopes), normal).find("\t7.5\t\t2E-11\t"), std::string::npos);
  // A section none of whose rows has a number is left out.
  EXPECT_EQ(Section(Of(t, K::Intercepts), withT), "");
  EXPECT_EQ(Section(Of(t, K::Points), withT), "");
  EXPECT_EQ(Section(Of(t, K::SlopeDifferences), withT),
            "Slope differences\nlines\testimate\tSE\tt\tdf\tp\tp Holm\tlower\tupper\n"
            "A vs B\t-0.25\t0.125\t-2\t96\t0.05\t0.1\t-0.5\t0");
}

TEST(Report, SentencesForTestedRowsAndPairs) {
  Tables t;
  Rows(t, K::Slopes) = {{"For 1 std above the mean of Z", Tested(0.75, 0.1, 7.5, 2e-11, 0.551, 0.949)}};
  Rows(t, K::Intercepts) = {{"For the mean of Z", InState(stats::Test::State::NeedsUnknown)}};
  Rows(t, K::SlopeDifferences) = {{"A vs B", Tested(-0.25, 0.125, -2, 0.0481, -0.5, 0), 0, 0, 1}};
  const std::vector<std::string> s = Sentences(t, {.normal = false, .df = 96, .level = 0.95}, 3);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "For 1 std above the mean of Z: b = 0.750, SE = 0.100, t(96) = 7.50, p < .001, 95% CI [0.551, 0.949]");
  EXPECT_EQ(s[1],
            "A vs B, difference in slope: b = \u22120.250, SE = 0.125, t(96) = \u22122.00, p = .048, p (Holm) = .096, "
            "95% CI [\u22120.500, 0.000]");
}

struct RegionCase {
  Region region;
  double sd;
  const char* sentence;
};

TEST(Report, RegionSentencesForEachKind) {
  const RegionCase cases[] = {
      {{Region::Kind::Outside, -0.53, 3.21}, 1.99375,
       "The slope of X is significant (p < .05) for Z below \u22120.53 and above 3.21, that is below \u22120.27 SD "
       "and above 1.61 SD."},
      {{Region::Kind::Between, -1, 2}, 0, "The slope of X is significant (p < .05) for Z between \u22121.00 and 2.00."},
      {{Region::Kind::Above, 1.5, 0}, 3, "The slope of X is significant (p < .05) for Z above 1.50, that is above 0.50 SD."},
      {{Region::Kind::Below, 1.5, 0}, 0, "The slope of X is significant (p < .05) for Z below 1.50."},
      {{Region::Kind::Everywhere, 0, 0}, 1, "The slope of X is significant (p < .05) for every value of Z."},
      {{Region::Kind::Nowhere, 0, 0}, 1, "The slope of X is not significant (p < .05) for any value of Z."},
  };
  for (const RegionCase& c : cases) {
    EffectRegion e{.name = "slope of X", .along = "Z", .heldAt = "", .sd = c.sd, .state = stats::Test::State::Tested,
                   .region = c.region};
    EXPECT_EQ(RegionSentence(e, {.normal = true, .df = 0, .level = 0.95}, 2), c.sentence);
  }
  EffectRegion held{.name = "slope of X", .along = "Z", .heldAt = "V = +1 SD", .sd = 0,
                    .state = stats::Test::State::NeedsUnknown, .region = {}};
  EXPECT_EQ(RegionSentence(held, {.normal = true, .df = 0, .level = 0.9}, 2),
            "The slope of X at V = +1 SD has no region: it needs a weight the pasted matrix has no row for.");
}

TEST(Report, RegionsSectionLeavesUnusedBoundsEmpty) {
  const std::vector<EffectRegion> rows = {
      {.name = "slope of X", .along = "Z", .heldAt = "V = -1 SD", .sd = 2, .state = stats::Test::State::Tested,
       .region = {Region::Kind::Above, 1, 0}},
      {.name = "slope of X", .along = "V", .heldAt = "Z = +1 SD", .sd = 0, .state = stats::Test::State::Tested,
       .region = {Region::Kind::Outside, -1, 3}},
      {.name = "slope of X", .along = "V", .heldAt = "Z = -1 SD", .sd = 4, .state = stats::Test::State::Tested,
       .region = {Region::Kind::Nowhere, 0, 0}},
  };
  EXPECT_EQ(RegionsSection(rows),
            "Regions of significance\neffect\talong\theld at\tkind\tbound 1\tbound 2\tbound 1 in SD\tbound 2 in SD\n"
            "slope of X\tZ\tV = -1 SD\tabove\t1\t\t0.5\t\n"
            "slope of X\tV\tZ = +1 SD\toutside\t-1\t3\t\t\n"
            "slope of X\tV\tZ = -1 SD\tnowhere\t\t\t\t");
}

struct CrossCase {
  Crossover::Kind kind;
  Verdict verdict;
  const char* sentence;
  const char* row;
};

TEST(Report, CrossoverSentencesAndRows) {
  const CrossCase cases[] = {
      {Crossover::Kind::Interval, Verdict::Disordinal,
       "The lines cross at X = \u22122.00 (SE = 0.50), 95% CI [\u22123.10, \u22120.90] (Fieller), within \u00b11 SD "
       "of X: a disordinal interaction.",
       "all lines\t-2\t0.5\tinterval\t-3.1\t-0.9\tdisordinal"},
      {Crossover::Kind::Outside, Verdict::Undetermined,
       "The lines cross at X = \u22122.00 (SE = 0.50), 95% CI (\u2212\u221e, \u22123.10] and [\u22120.90, \u221e) "
       "(Fieller), not wholly inside or outside \u00b11 SD of X: whether the interaction is disordinal is "
       "undetermined.",
       "all lines\t-2\t0.5\toutside\t-3.1\t-0.9\tundetermined"},
      {Crossover::Kind::Everywhere, Verdict::Undetermined,
       "The lines cross at X = \u22122.00 (SE = 0.50), 95% CI unbounded: every X (Fieller), not wholly inside or "
       "outside \u00b11 SD of X: whether the interaction is disordinal is undetermined.",
       "all lines\t-2\t0.5\teverywhere\t\t\tundetermined"},
  };
  for (const CrossCase& c : cases) {
    const Crossover x{.name = "all lines", .allLines = true, .state = stats::Test::State::Tested, .x = -2, .se = 0.5, .kind = c.kind,
                      .lower = -3.1, .upper = -0.9};
    EXPECT_EQ(CrossoverSentence(x, c.verdict, "\u00b11 SD of X", {.normal = true, .df = 0, .level = 0.95}, 2),
              c.sentence);
    EXPECT_EQ(CrossoversSection({x}, {c.verdict}),
              std::string("Crossovers\nlines\tX\tSE\tkind\tlower\tupper\tverdict\n") + c.row);
  }
}

}  // namespace
}  // namespace marvane::stats
