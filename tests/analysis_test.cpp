// The plot window's analysis step as data: what the user typed and pasted
// in, everything the three tabs show out. The weights and matrix are those
// of R's lm(mpg ~ x * z, transform(mtcars, x = wt - mean(wt), z = hp -
// mean(hp))) (tests/data/r_fits.R), whose simple slopes emmeans::emtrends
// printed as -2.222300 (SE 0.6858664) at +1 SD of z.

#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"

namespace marvane {
namespace {

const char* const kQuantVcov =
    "              (Intercept)             x             z           x:z\n"
    "(Intercept)  0.2457210730  0.0214806379 -1.070833e-04 -2.356788e-03\n"
    "x            0.0214806379  0.2804317024 -2.616133e-03 -5.017476e-04\n"
    "z           -0.0001070833 -0.0026161330  5.629503e-05  2.501265e-06\n"
    "x:z         -0.0023567883 -0.0005017476  2.501265e-06  5.505017e-05\n";

Probe MtcarsProbe() {
  return QuantProbe({.bx = -4.13164904073826, .bz = -0.0305076357995529, .bxz = 0.0278481483187412,
                     .a = 18.8984000821063, .stdz = 68.5628735217586, .stdx = 0.978457442989697});
}

AnalysisInput Pasted(const std::string& text, const std::string& df = "28") {
  AnalysisInput in;
  in.pasted = text;
  in.df = df;
  return in;
}

const ShownTable& Slopes(const Analysis& a) { return a.significanceTables.at(0); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Analysis, PastedRPrintGivesRsSimpleSlopes) {
  const Analysis a = Analyse(MtcarsProbe(), Pasted(kQuantVcov));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  EXPECT_EQ(a.covarianceStatus.text.rfind("4 \u00d7 4 matrix from R's print; constant = (Intercept)", 0), 0u)
      << a.covarianceStatus.text;
  // Which of x and z is X the names cannot tell: their rows are guesses, said so.
  EXPECT_TRUE(a.covarianceStatus.problem);
  EXPECT_TRUE(Has(a.covarianceStatus.text, "weight of X = `x`, weight of Z = `z` were taken from their places in the "
                                           "paste: check them."))
      << a.covarianceStatus.text;
  EXPECT_EQ(a.mapping.decided, (std::vector<std::string>{"name", "place", "place", "name"}));
  const ShownTable& s = Slopes(a);
  EXPECT_EQ(s.header, (std::vector<std::string>{"line", "estimate", "SE", "t", "df", "p", "lower", "upper"}));
  ASSERT_EQ(s.rows.size(), 3u);
  // The lines are named after the variables the paste names.
  EXPECT_EQ(s.rows[0], (std::vector<std::string>{"z = +1 SD (68.6)", "-2.222", "0.686", "-3.240", "28",
                                                 "0.003", "-3.627", "-0.817"}));
  std::vector<std::size_t> sizes;
  for (const ShownTable& t : a.significanceTables) sizes.push_back(t.rows.size());
  EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 3, 6, 3, 3}));
  EXPECT_EQ(a.regionsTable.rows.size(), 1u);
  ASSERT_EQ(a.crossingsTable.rows.size(), 1u);
  EXPECT_EQ(a.crossingsTable.rows[0][0], "all lines");
  // -bz / bxz, where the form's crossover caption comes from.
  EXPECT_EQ(a.crossingsTable.rows[0][1], "1.095");
}

// df, N and the level as the user types them. The lower bounds are R's:
// b - qnorm(0.975) SE = -3.56657358 and b - qt(0.95, 28) SE = -3.38904868.
struct ReferenceCase {
  const char* why;
  const char* df;
  const char* n;
  const char* level;
  const char* statHeader;  // "t" or "z"
  const char* dfCell;      // the slope table's df cell
  const char* lower;       // the first slope's lower bound, 5 decimals
  const char* note;        // a phrase of the status line
};

class References : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(References, FromDfNAndLevel) {
  const ReferenceCase& c = GetParam();
  AnalysisInput in = Pasted(kQuantVcov, c.df);
  in.sampleSize = c.n;
  in.level = c.level;
  in.decimals = 5;
  const Analysis a = Analyse(MtcarsProbe(), in);
  ASSERT_TRUE(a.ready) << c.why << ": " << a.covarianceStatus.text;
  EXPECT_EQ(Slopes(a).header.at(3), c.statHeader) << c.why;
  EXPECT_EQ(Slopes(a).rows.at(0).at(4), c.dfCell) << c.why;
  EXPECT_EQ(Slopes(a).rows.at(0).at(6), c.lower) << c.why;
  EXPECT_TRUE(Has(a.covarianceStatus.text, c.note)) << c.why << ": " << a.covarianceStatus.text;
}

INSTANTIATE_TEST_SUITE_P(
    Analysis, References,
    ::testing::Values(
        ReferenceCase{"df typed", "28", "", "95", "t", "28", "-3.62723", "4 \u00d7 4 matrix"},
        ReferenceCase{"no df or N: the normal distribution", "", "", "95", "z", "", "-3.56657", "normal distribution"},
        ReferenceCase{"N gives df = N - 4", "", "32", "95", "t", "28", "-3.62723", "df = N \u2212 4 = 28."},
        ReferenceCase{"both, agreeing: df is used", "28", "32", "95", "t", "28", "-3.62723", "df is used"},
        ReferenceCase{"both, disagreeing: said", "28", "100", "95", "t", "28", "-3.62723",
                      "but N = 100 cases and 4 weights leave 96"},
        ReferenceCase{"a level typed as a proportion", "28", "", "0.95", "t", "28", "-3.62723", "0.95 is read as 95"},
        ReferenceCase{"a 90% level narrows the interval", "28", "", "90", "t", "28", "-3.38905", "4 \u00d7 4"}),
    [](const auto& info) { return std::to_string(info.index); });

// Every problem is said in words, the tables stay empty, and nothing reads
// as NaN or infinity.
struct ProblemCase {
  const char* why;
  const char* matrix;
  const char* df;
  const char* n;
  const char* level;
  const char* told;
};

class Problems : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(Problems, AreToldInWords) {
  const ProblemCase& c = GetParam();
  AnalysisInput in = Pasted(c.matrix, c.df);
  in.sampleSize = c.n;
  in.level = c.level;
  const Analysis a = Analyse(MtcarsProbe(), in);
  EXPECT_FALSE(a.ready) << c.why;
  EXPECT_TRUE(a.covarianceStatus.problem) << c.why;
  EXPECT_TRUE(Has(a.covarianceStatus.text, c.told)) << c.why << ": " << a.covarianceStatus.text;
  for (const char* bad : {"nan", "inf", "NaN", "Inf"}) {
    EXPECT_FALSE(Has(a.covarianceStatus.text, bad)) << c.why << ": " << a.covarianceStatus.text;
  }
  for (const ShownTable& t : a.significanceTables) EXPECT_TRUE(t.rows.empty()) << c.why << ": " << t.id;
  EXPECT_TRUE(a.regionsTable.rows.empty()) << c.why;
  EXPECT_TRUE(a.sections.empty()) << c.why;
  EXPECT_TRUE(a.sentences.empty()) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Analysis, Problems,
    ::testing::Values(ProblemCase{"df zero", kQuantVcov, "0", "", "95", "The df must be above 0."},
                      ProblemCase{"df text", kQuantVcov, "many", "", "95", "The df must be a number"},
                      ProblemCase{"N too small", kQuantVcov, "", "4", "95", "leaves no residual df"},
                      ProblemCase{"N text", kQuantVcov, "", "1,000", "95", "The sample size must be a number"},
                      ProblemCase{"level 100", kQuantVcov, "", "", "100", "The confidence level must be"},
                      ProblemCase{"level 0", kQuantVcov, "", "", "0", "The confidence level must be"},
                      ProblemCase{"level empty", kQuantVcov, "", "", "", "The confidence level must be"},
                      ProblemCase{"not a number", "1 2\n2 x", "", "", "95", "\"x\" is not a number"},
                      ProblemCase{"not square", "1 2 3\n4 5 6", "", "", "95", "not square"},
                      ProblemCase{"not symmetric", "1 0.5\n0.2 1", "", "", "95", "symmetric"},
                      ProblemCase{"negative variance", "-1 0\n0 1", "", "", "95", "negative"},
                      ProblemCase{"beyond the range", "1e999 0\n0 1", "", "", "95", "beyond the range"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Analysis, NothingPastedAsksForTheMatrixWithoutAProblem) {
  const Analysis a = Analyse(MtcarsProbe(), Pasted("  \n "));
  EXPECT_FALSE(a.ready);
  EXPECT_FALSE(a.covarianceStatus.problem);
  EXPECT_EQ(a.covarianceStatus.text, "Paste the covariance matrix of the weights to test the lines.");
  EXPECT_TRUE(Has(a.regionsText, "Paste the covariance matrix"));
  EXPECT_FALSE(a.lines.lines.empty()) << "the lines are drawn without a matrix";
}

// The mapping guessed from the names is kept while the numbers are edited,
// as the user changed it; a paste with other names is guessed anew.
TEST(Analysis, MappingKeptWhileTheNumbersAreEdited) {
  const Probe p = MtcarsProbe();
  const Analysis first = Analyse(p, Pasted(kQuantVcov));
  EXPECT_EQ(first.mapping.rows, (std::vector<std::string>{"(Intercept)", "x", "z", "x:z"}));
  EXPECT_EQ(first.mapping.rowOf, (std::vector<int>{0, 1, 2, 3}));

  // No row for the weight of X: the slopes need it, the intercepts do not.
  AnalysisInput in = Pasted(kQuantVcov);
  in.mapping = first.mapping;
  in.mapping->rowOf[1] = -1;
  std::string edited = kQuantVcov;
  edited.replace(edited.find("0.2804317024"), 12, "0.2804317025");
  in.pasted = edited;
  const Analysis kept = Analyse(p, in);
  EXPECT_EQ(kept.mapping.rowOf, (std::vector<int>{0, -1, 2, 3}));
  EXPECT_EQ(Slopes(kept).rows.at(0).at(1), "needs a weight the matrix has no row for");
  EXPECT_NE(kept.significanceTables.at(1).rows.at(0).at(2), "");
  EXPECT_TRUE(Has(kept.covarianceStatus.text, "No pasted row for the weight of X")) << kept.covarianceStatus.text;

  // One row for two weights is refused, in words.
  in.mapping->rowOf[1] = 2;
  const Analysis twice = Analyse(p, in);
  EXPECT_FALSE(twice.ready);
  EXPECT_TRUE(Has(twice.covarianceStatus.text, "\"z\" is chosen for both the weight of X and the weight of Z"))
      << twice.covarianceStatus.text;
  EXPECT_EQ(twice.mapping, *in.mapping) << "the choices shown stay";

  // A paste whose names differ is mapped by its names again.
  in.pasted = "2 0 0 0\n0 2 0 0\n0 0 2 0\n0 0 0 2\n";
  const Analysis bare = Analyse(p, in);
  EXPECT_EQ(bare.mapping.rows, (std::vector<std::string>{"row 1", "row 2", "row 3", "row 4"}));
  EXPECT_EQ(bare.mapping.rowOf, (std::vector<int>{0, 1, 2, 3}));

  // A paste that cannot be read leaves the choices as they were.
  in.pasted = "1 2\n2 x";
  EXPECT_EQ(Analyse(p, in).rowChoices, in.mapping->rows);
}

// A matrix of a model with two covariates more than the form: the tables
// still hold, with a warning that the intercepts are at the covariates = 0.
TEST(Analysis, CovariatesBeyondTheFormAreSaid) {
  const std::string v = "            (Intercept)   x    z   cyl  disp  x:z\n"
                        "(Intercept)        2     0    0    0    0     0\n"
                        "x                  0     2    0    0    0     0\n"
                        "z                  0     0    2    0    0     0\n"
                        "cyl                0     0    0    2    0     0\n"
                        "disp               0     0    0    0    2     0\n"
                        "x:z                0     0    0    0    0     2\n";
  const Analysis a = Analyse(MtcarsProbe(), Pasted(v));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  EXPECT_TRUE(a.covarianceStatus.problem);
  EXPECT_TRUE(Has(a.covarianceStatus.text, "2 pasted rows are not used (cyl, disp)")) << a.covarianceStatus.text;
  EXPECT_TRUE(Has(a.covarianceStatus.text, "at those terms = 0")) << a.covarianceStatus.text;
  EXPECT_EQ(a.mapping.rowOf, (std::vector<int>{0, 1, 2, 5}));
}

// The level is written one way in the tables' sentences, the regions'
// sentences and both figures (98.765% was once 98.8% in the figures).
TEST(Analysis, OneTextOfTheLevelEverywhere) {
  AnalysisInput in = Pasted(kQuantVcov);
  in.level = "98.765";
  in.bands = true;
  in.range = figure::Range::Typed;
  in.xFrom = "-3";
  in.xTo = "5";
  const Analysis a = Analyse(MtcarsProbe(), in);
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  EXPECT_TRUE(Has(a.sentences, "98.765% CI [")) << a.sentences;
  ASSERT_TRUE(a.lines.bracket.has_value());
  EXPECT_TRUE(Has(a.lines.bracket->label, "98.765% CI")) << a.lines.bracket->label;
  EXPECT_EQ(a.regionFigure.bandLegend, "98.765% confidence band");
  EXPECT_EQ(a.regionFigure.spanLegend, "significant, p < .01235");
  EXPECT_TRUE(Has(a.regionsText, "(p < .01235)")) << a.regionsText;
}

// The crossing's verdict is against the lines figure's X range.
struct VerdictCase {
  figure::Range range;
  const char* from;
  const char* to;
  const char* verdict;
};

TEST(Analysis, VerdictFollowsTheXRange) {
  const VerdictCase cases[] = {{figure::Range::Typed, "100", "200", "ordinal"},
                               {figure::Range::Typed, "-1000", "1000", "disordinal"},
                               {figure::Range::Typed, "1", "x", ""},
                               {figure::Range::OneSd, "", "", "undetermined"}};
  for (const VerdictCase& c : cases) {
    AnalysisInput in = Pasted(kQuantVcov);
    in.range = c.range;
    in.xFrom = c.from;
    in.xTo = c.to;
    const Analysis a = Analyse(MtcarsProbe(), in);
    ASSERT_EQ(a.crossingsTable.rows.size(), 1u);
    EXPECT_EQ(a.crossingsTable.rows[0].back(), c.verdict) << c.from << " " << c.to;
  }
  // A typed range that is no range says so instead of a figure.
  AnalysisInput in = Pasted(kQuantVcov);
  in.range = figure::Range::Typed;
  in.xFrom = "1";
  in.xTo = "x";
  const Analysis a = Analyse(MtcarsProbe(), in);
  EXPECT_EQ(a.notice.text, "The typed X range needs two numbers, such as -4 and 4.");
  EXPECT_TRUE(a.notice.problem);
}

TEST(Analysis, NoticesOfTheFigure) {
  AnalysisInput in;
  in.bands = true;
  Analysis a = Analyse(MtcarsProbe(), in);
  EXPECT_TRUE(a.lines.bands.empty());
  EXPECT_TRUE(Has(a.notice.text, "The bands need the covariance matrix")) << a.notice.text;
  in.stale = true;
  in.staleMessage = "Stopped by a division by zero.";
  a = Analyse(MtcarsProbe(), in);
  EXPECT_EQ(a.notice.text,
            "The figure is not up to date: it shows the last Compute that ended without a fault. Stopped by a "
            "division by zero.");
  in = Pasted(kQuantVcov);
  in.bands = true;
  a = Analyse(MtcarsProbe(), in);
  EXPECT_EQ(a.lines.bands.size(), 3u);
  EXPECT_EQ(a.notice.text, "The figure shows the lines of the last Compute.");
  EXPECT_FALSE(a.notice.problem);
  EXPECT_EQ(a.xFromDefault, "-1.95691488597939");
}

// Every effect of the three-way model has its row, its sentence and its
// region figure; a typed region range that is no range is told.
TEST(Analysis, RegionFigureOfTheEffectChosen) {
  const Probe p = Quant3Probe({.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1, .bxzv = 0.05,
                               .a = 10, .stdx = 2, .stdz = 1, .stdv = 4});
  std::string bare;
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) bare += i == j ? "0.01 " : "0 ";
    bare += "\n";
  }
  AnalysisInput in = Pasted(bare);
  for (int k = 0; k < 4; ++k) {
    in.regionEffect = k;
    const Analysis a = Analyse(p, in);
    ASSERT_EQ(a.effectNames.size(), 4u);
    EXPECT_TRUE(a.regionFigure.note.empty()) << a.regionFigure.note;
    EXPECT_EQ(a.regionFigure.xTitle, p.effects[static_cast<std::size_t>(k)].along);
    // The status under the figure is the effect's own sentence.
    EXPECT_TRUE(Has(a.regionsText, a.regionStatus.text)) << a.regionStatus.text;
    EXPECT_FALSE(a.regionStatus.problem);
  }
  in.regionTyped = true;
  in.regionFrom = "a";
  in.regionTo = "2";
  const Analysis a = Analyse(p, in);
  EXPECT_TRUE(a.regionStatus.problem);
  EXPECT_EQ(a.regionStatus.text, "The typed range of the region figure needs two numbers, such as -4 and 4.");
  EXPECT_EQ(a.effectNames[0], "slope of X, V = +1 SD, along Z");
}

// On the three-way model with the SD of V at 0 both effects along Z are at
// V = 0, but each keeps the label of its row.
TEST(Analysis, HeldLabelsComeFromTheRowNotTheValue) {
  const Probe p = Quant3Probe({.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1, .bxzv = 0.05,
                               .a = 10, .stdx = 2, .stdz = 0, .stdv = 0});
  std::vector<std::string> held;
  for (const LinearEffect& e : p.effects) held.push_back(e.heldAt);
  EXPECT_EQ(held, (std::vector<std::string>{"V = +1 SD", "V = -1 SD", "Z = +1 SD", "Z = -1 SD"}));
}

// The lines of a text.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1) {
    out.push_back(text.substr(from, at - from));
  }
  out.push_back(text.substr(from));
  return out;
}

TEST(Analysis, ClipboardSectionsInOrder) {
  const Analysis a = Analyse(MtcarsProbe(), Pasted(kQuantVcov));
  // Each section follows an empty line.
  const std::vector<std::string> lines = Lines(a.sections);
  std::vector<std::string> titles;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i - 1].empty() && !lines[i].empty()) titles.push_back(lines[i]);
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Simple slopes", "Simple intercepts", "Predicted values",
                                              "Slope differences", "Intercept differences",
                                              "Regions of significance", "Crossovers"}));
  EXPECT_EQ(Lines(a.sentences).at(0),
            "z = +1 SD (68.6): b = \u22122.222, SE = 0.686, t(28) = \u22123.24, p = .003, 95% CI "
            "[\u22123.627, \u22120.817]");
  EXPECT_TRUE(Has(a.sentences, "\nThe lines cross at X = ")) << a.sentences;
  // The lines' section names them by the legend, where a name is typed.
  const std::vector<std::string> table = Lines(LinesSection(MtcarsProbe(), {"High", ""}));
  EXPECT_TRUE(Has(a.sentences, "The slope of x is significant (p < .05) for z ")) << a.sentences;
  EXPECT_EQ(table.at(2).substr(0, 5), "High\t");
  EXPECT_EQ(table.at(3).substr(0, 18), "For the mean of Z\t");
}

// A dummy code's pasted name split into its variable and level, as R and
// Stata write them.
TEST(Names, VariableAndLevel) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"suppVC", "supp", "VC"},     {"Diet2", "Diet", "2"},     {"1.mbsmoke", "mbsmoke", "1"},
      {"2b.Diet", "Diet", "2"},     {"genderMale", "gender", "Male"}, {"group", "group", ""},
      {"c.mage", "mage", ""},       {"X", "X", ""},
  };
  for (const auto& [pasted, variable, level] : cases) {
    EXPECT_EQ(VariableAndLevel(pasted), (std::pair<std::string, std::string>{variable, level})) << pasted;
  }
}

// The group forms name their lines after the dummy codes' variable and
// levels; the contrast group is the reference level.
TEST(Names, GroupLinesFromThePaste) {
  const Probe p = Mixed2Probe({.bx = 0.5, .bz = 1, .bxz = 0.25, .a = 2, .stdx = 2});
  const std::string v = "            (Intercept) dose_c suppVC dose_c:suppVC\n"
                        "(Intercept)        2       0      0      0\n"
                        "dose_c             0       2      0      0\n"
                        "suppVC             0       0      2      0\n"
                        "dose_c:suppVC      0       0      0      2\n";
  const Analysis a = Analyse(p, Pasted(v));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  EXPECT_EQ(a.probe.lines[0].name, "supp = VC");
  EXPECT_EQ(a.probe.lines[1].name, "supp = reference level");
  EXPECT_EQ(a.xTitle, "dose_c");
  EXPECT_EQ(a.effectNames.at(0), "supp = VC vs supp = reference level, along dose_c");
  EXPECT_TRUE(Has(a.regionsText, "The difference supp = VC vs supp = reference level is")) << a.regionsText;
  EXPECT_TRUE(Has(a.regionsText, " for dose_c ") || Has(a.regionsText, " of dose_c")) << a.regionsText;
}

// Lines named after the pasted moderator: at the mean +- k SD by the SDs
// (the value too), at typed values by the values as typed, even where one is
// the mean or a whole number of SDs from it.
TEST(Names, ModeratorLinesFromThePaste) {
  struct Case {
    ModeratorChoice choice;
    std::string values;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {ModeratorChoice::AsOnForm, "", {"z = +1 SD (68.6)", "z = mean (0)", "z = -1 SD (-68.6)"}},
      {ModeratorChoice::MeanSd, "", {"z = +1 SD (68.6)", "z = mean (0)", "z = -1 SD (-68.6)"}},
      {ModeratorChoice::Typed, "-50, 0, 68.5628735217586", {"z = -50", "z = 0", "z = 68.5628735217586"}},
      // Not read: the form's lines, named as on the form.
      {ModeratorChoice::Typed, "a, b", {"z = +1 SD (68.6)", "z = mean (0)", "z = -1 SD (-68.6)"}},
  };
  for (const Case& c : cases) {
    AnalysisInput in = Pasted(kQuantVcov);
    in.lines.moderators = c.choice;
    in.lines.values = c.values;
    const Analysis a = Analyse(MtcarsProbe(), in);
    ASSERT_EQ(a.probe.lines.size(), c.lines.size()) << c.values;
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(a.probe.lines[i].name, c.lines[i]) << c.values;
  }
}

// A diagonal matrix with these row and column names.
std::string Diagonal(const std::vector<std::string>& names) {
  std::string out = "x";
  for (const std::string& n : names) out += " " + n;
  for (std::size_t i = 0; i < names.size(); ++i) {
    out += "\n" + names[i];
    for (std::size_t j = 0; j < names.size(); ++j) out += i == j ? " 2" : " 0";
  }
  return out + "\n";
}

// On a form of three groups the dummy codes name the lines only where both
// split into one variable and a level; names that do not split (R's
// "Speciesversicolor") are shown as pasted, never cut at a guessed place;
// a group without its pasted row keeps the form's names.
TEST(Names, ThreeGroupsFromThePaste) {
  const Probe form = Mixed3Probe({.rbx = 0.5f, .bz1 = 1, .bz2 = 2, .bxz1 = 0.25, .bxz2 = 0.5, .a = 2, .stdx = 1});
  struct Case {
    std::vector<std::string> rows;
    bool secondGroupUnmapped;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {{"(Intercept)", "wt", "cyl6", "cyl8", "wt:cyl6", "wt:cyl8"}, false, {"cyl = 6", "cyl = 8", "cyl = reference level"}},
      {{"(Intercept)", "x", "Speciesversicolor", "Speciesvirginica", "x:Speciesversicolor", "x:Speciesvirginica"},
       false,
       {"Speciesversicolor", "Speciesvirginica", "reference level"}},
      {{"(Intercept)", "x", "genderMale", "Diet2", "x:genderMale", "x:Diet2"}, false, {"genderMale", "Diet2", "reference level"}},
      {{"(Intercept)", "wt", "cyl6", "cyl8", "wt:cyl6", "wt:cyl8"},
       true,
       {form.lines[0].name, form.lines[1].name, form.lines[2].name}},
  };
  for (const Case& c : cases) {
    AnalysisInput in = Pasted(Diagonal(c.rows));
    if (c.secondGroupUnmapped) in.mapping = MappingChoice{.rows = c.rows, .rowOf = {0, 1, 2, -1, 4, 5}};
    const Analysis a = Analyse(form, in);
    ASSERT_EQ(a.probe.lines.size(), c.lines.size()) << c.rows[2];
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(a.probe.lines[i].name, c.lines[i]) << c.rows[2];
  }
}

TEST(Analysis, DressingLeavesTheNumbers) {
  const Analysis a = Analyse(MtcarsProbe(), Pasted(kQuantVcov));
  const figure::Figure f = Dressed(a.lines, {.xTitle = "Weight", .yTitle = "", .names = {"", "Mean"}});
  EXPECT_EQ(f.xTitle, "Weight");
  EXPECT_EQ(f.yTitle, "");
  EXPECT_EQ(f.lines[0].name, a.lines.lines[0].name);
  EXPECT_EQ(f.lines[1].name, "Mean");
  EXPECT_EQ(f.lines[1].yTo, a.lines.lines[1].yTo);
}

}  // namespace
}  // namespace marvane
