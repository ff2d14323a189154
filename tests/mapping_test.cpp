// Which pasted row is which weight, and how that was decided; the SE, df and
// level checks; the picks of Paste model. The seven fits are R's own
// (tests/data/models/make_models.R), each fitted in two term orders: pasted
// with their coefficients, both orders give every weight the same term.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/mapping.h"
#include "models/probe.h"
#include "stats/matrix_reader.h"
#include "stats/model_reader.h"

namespace marvane::mapping {
namespace {

using stats::PastedCoefficient;

std::string Sample(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MODEL_DATA) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << "no sample " << file;
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A term as a set of parts, so that "Wind_c:Temp_c" and "Temp_c:Wind_c" are one.
std::vector<std::string> Parts(const std::string& term) {
  std::vector<std::string> parts;
  std::stringstream ss(term);
  for (std::string part; std::getline(ss, part, ':');) parts.push_back(part);
  std::sort(parts.begin(), parts.end());
  return parts;
}

ModelWeight Held(int row, double value) {
  return {.box = "weight_" + std::to_string(row), .meaning = "term weight in row " + std::to_string(row),
          .kind = ModelWeight::Kind::Held, .variable = {}, .parts = {}, .value = value};
}

// --- The seven fits ---------------------------------------------------------------

// A form's weights, each with the R term it stands for; the values are R's estimates of those terms, as a user types
// them from the paste (Mixed3's X through a float, as the form holds it).
struct FitCase {
  const char* fit;
  std::vector<ModelWeight> weights;
  std::vector<std::string> terms;  // by weight
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.fit; }

std::vector<ModelWeight> WithValues(std::vector<ModelWeight> weights, const std::vector<std::string>& terms,
                                    const stats::PastedModel& truth) {
  for (std::size_t w = 0; w < weights.size(); ++w) {
    for (const PastedCoefficient& c : truth.coefficients) {
      if (Parts(c.term) == Parts(terms[w])) weights[w].value = c.estimate;
    }
    if (weights[w].box == "rbx") weights[w].value = static_cast<double>(static_cast<float>(weights[w].value));
  }
  return weights;
}

class SevenFits : public ::testing::TestWithParam<FitCase> {};

// Pasted with their coefficients, in either order: every weight gets its own term, by its estimate, and the matrix
// agrees with the SEs.
TEST_P(SevenFits, BothOrdersGiveEveryWeightItsTerm) {
  const FitCase& c = GetParam();
  for (const char* order : {"a", "b"}) {
    const std::string stem = std::string(c.fit) + "_" + order + "_";
    const stats::ModelReadResult pasted =
        stats::ReadPastedModel(Sample(stem + "summary.txt") + Sample(stem + "vcov.txt"));
    ASSERT_TRUE(pasted.ok) << pasted.error;
    const stats::PastedMatrix& m = *pasted.model.matrix;
    const std::vector<ModelWeight> weights = WithValues(c.weights, c.terms, pasted.model);
    const Mapping map = Map(weights, {m.names, m.size, pasted.model.coefficients, {}});
    EXPECT_EQ(map.problem, "") << stem;
    for (std::size_t w = 0; w < weights.size(); ++w) {
      ASSERT_GE(map.rows[w].row, 0) << stem << " " << weights[w].meaning;
      EXPECT_EQ(Parts(m.names[static_cast<std::size_t>(map.rows[w].row)]), Parts(c.terms[w]))
          << stem << " " << weights[w].meaning;
      EXPECT_STREQ(Words(map.rows[w].by), "estimate") << stem << " " << weights[w].meaning;
    }
    EXPECT_EQ(CheckStandardErrors(pasted.model.coefficients, m), "") << stem;
    const stats::ReadResult three = stats::ReadPastedMatrix(Sample(stem + "vcov3.txt"));
    EXPECT_EQ(CheckStandardErrors(pasted.model.coefficients, three.matrix), "") << stem << " printed to 3 digits";
  }
}

// The matrix alone: no weight is decided by an estimate, and the main effects go by place only, which the window
// marks as a guess.
TEST_P(SevenFits, WithoutCoefficientsTheMainEffectsAreGuesses) {
  const FitCase& c = GetParam();
  for (const char* order : {"a", "b"}) {
    const stats::ReadResult m = stats::ReadPastedMatrix(Sample(std::string(c.fit) + "_" + order + "_vcov.txt"));
    ASSERT_TRUE(m.ok) << m.error;
    const Mapping map = Map(c.weights, {m.matrix.names, m.matrix.size, {}, {}});
    for (std::size_t w = 0; w < c.weights.size(); ++w) {
      const ModelWeight::Kind kind = c.weights[w].kind;
      const std::string by = Words(map.rows[w].by);
      const bool guessed = kind == ModelWeight::Kind::Main || kind == ModelWeight::Kind::Held;
      const std::string want = guessed ? "place" : kind == ModelWeight::Kind::Constant ? "name" : by;
      EXPECT_EQ(by, want) << c.weights[w].meaning;
      EXPECT_TRUE(by == "name" || by == "place") << c.weights[w].meaning;
    }
  }
}

const std::vector<ModelWeight> kQuant = {ConstantWeight("a", 0), MainWeight("bx", "weight of X", "X", 0),
                                         MainWeight("bz", "weight of Z", "Z", 0),
                                         ProductWeight("bxz", "weight of X*Z", {1, 2}, 0)};

INSTANTIATE_TEST_SUITE_P(
    R, SevenFits,
    ::testing::Values(
        // The issue's first case: Temp typed as X.
        FitCase{"airquality", kQuant, {"(Intercept)", "Temp_c", "Wind_c", "Wind_c:Temp_c"}},
        FitCase{"toothgrowth",
                {ConstantWeight("a", 0), MainWeight("bx", "weight of X", "X", 0),
                 MainWeight("bz", "weight of the group code", "group", 0),
                 ProductWeight("bxz", "weight of X*group", {1, 2}, 0)},
                {"(Intercept)", "dose_c", "suppVC", "suppVC:dose_c"}},
        FitCase{"chickweight",
                {ConstantWeight("a", 0), MainWeight("rbx", "weight of X", "X", 0),
                 MainWeight("bz1", "weight of DC1", "DC1", 0), MainWeight("bz2", "weight of DC2", "DC2", 0),
                 ProductWeight("bxz1", "weight of X*DC1", {1, 2}, 0),
                 ProductWeight("bxz2", "weight of X*DC2", {1, 3}, 0)},
                {"(Intercept)", "Time_c", "Diet2", "Diet3", "Diet2:Time_c", "Diet3:Time_c"}},
        FitCase{"savings", kQuant, {"(Intercept)", "dpi_c", "pop15_c", "pop15_c:dpi_c"}},
        // Two covariates: a 6 x 6 matrix for four weights.
        FitCase{"savings6", kQuant, {"(Intercept)", "pop15_c", "dpi_c", "pop15_c:dpi_c"}},
        FitCase{"stackloss",
                {ConstantWeight("a", 0), MainWeight("bx", "weight of X", "X", 0),
                 MainWeight("bz", "weight of Z", "Z", 0), MainWeight("bv", "weight of V", "V", 0),
                 ProductWeight("bxz", "weight of X*Z", {1, 2}, 0), ProductWeight("bxv", "weight of X*V", {1, 3}, 0),
                 ProductWeight("bzv", "weight of Z*V", {2, 3}, 0),
                 ProductWeight("bxzv", "weight of X*Z*V", {1, 2, 3}, 0)},
                {"(Intercept)", "Water.Temp_c", "Acid.Conc._c", "Air.Flow_c", "Water.Temp_c:Acid.Conc._c",
                 "Water.Temp_c:Air.Flow_c", "Acid.Conc._c:Air.Flow_c", "Air.Flow_c:Water.Temp_c:Acid.Conc._c"}},
        // Incomplete, its held terms typed in another order than either of R's.
        FitCase{"swiss",
                {ConstantWeight("weight_0", 0), MainWeight("bx", "weight of X", "X", 0),
                 MainWeight("bz", "weight of Z", "Z", 0), ProductWeight("bxz", "weight of XZ", {1, 2}, 0),
                 Held(1, 0), Held(2, 0)},
                {"(Intercept)", "Agriculture_c", "Education_c", "Education_c:Agriculture_c", "Infant.Mortality",
                 "Catholic"}}));

// --- The rules, on small pastes -----------------------------------------------------

PastedCoefficient Coef(std::string term, double estimate, int digits, double se = 0, int seDigits = 0) {
  PastedCoefficient c{std::move(term), estimate, digits, std::nullopt, seDigits};
  if (seDigits > 0) c.se = se;
  return c;
}

struct RuleCase {
  const char* title;
  std::vector<ModelWeight> weights;
  Paste paste;
  std::vector<int> rows;
  std::vector<std::string> by;
  std::string problem = "";
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.title; }

class Rules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(Rules, Decide) {
  const RuleCase& c = GetParam();
  const Mapping map = Map(c.weights, c.paste);
  std::vector<int> rows;
  std::vector<std::string> by;
  for (const RowOfWeight& r : map.rows) {
    rows.push_back(r.row);
    by.push_back(Words(r.by));
  }
  EXPECT_EQ(rows, c.rows);
  EXPECT_EQ(by, c.by);
  EXPECT_EQ(map.problem, c.problem);
}

std::vector<ModelWeight> QuantAt(double a, double bx, double bz, double bxz) {
  return {ConstantWeight("a", a), MainWeight("bx", "weight of X", "X", bx), MainWeight("bz", "weight of Z", "Z", bz),
          ProductWeight("bxz", "weight of X*Z", {1, 2}, bxz)};
}

const std::vector<std::string> kR = {"(Intercept)", "x", "z", "x:z"};
const std::vector<PastedCoefficient> kRCoefficients = {Coef("(Intercept)", 38.28232, 7), Coef("x", -3.10119, 6),
                                                      Coef("z", 1.86751, 6), Coef("x:z", -0.22391, 5)};

INSTANTIATE_TEST_SUITE_P(
    Value, Rules,
    ::testing::Values(
        // X is the paste's second main effect: its estimate says so, whatever the order.
        RuleCase{"by the estimates", QuantAt(38.28232, 1.86751, -3.10119, -0.22391), {kR, 4, kRCoefficients, {}},
                 {0, 2, 1, 3}, {"estimate", "estimate", "estimate", "estimate"}},
        RuleCase{"bare rows, the coefficients in their order", QuantAt(38.28232, 1.86751, -3.10119, -0.22391),
                 {{}, 4, kRCoefficients, {}}, {0, 2, 1, 3}, {"estimate", "estimate", "estimate", "estimate"}},
        // Typed to fewer digits: to 3 of them the estimate still tells; to 2 it does not.
        RuleCase{"three digits typed", QuantAt(38.3, 1.87, -3.1, -0.224), {kR, 4, kRCoefficients, {}}, {0, 2, 1, 3},
                 {"estimate", "estimate", "place", "estimate"}},
        // Two coefficients of one estimate prove nothing.
        RuleCase{"an estimate printed twice", QuantAt(10.25, 0.5, 0.5, 2.75),
                 {kR, 4, {Coef("(Intercept)", 10.25, 4), Coef("x", 0.5, 1), Coef("z", 0.5, 1), Coef("x:z", 2.75, 3)},
                  {}},
                 {0, 1, 2, 3}, {"estimate", "place", "place", "estimate"}},
        // At one printed digit, 1 stands for 0.5 to 1.5: the weights 0.5 and 1 both agree with it.
        RuleCase{"one digit leaves room", QuantAt(1, 0.5, 3, 4),
                 {kR, 4, {Coef("(Intercept)", 1, 1), Coef("x", 7, 1), Coef("z", 3, 1), Coef("x:z", 4, 1)}, {}},
                 {0, 1, 2, 3}, {"name", "place", "estimate", "estimate"}},
        // SPSS leaves out the constant.
        RuleCase{"no row for the constant", QuantAt(38.28232, 1.86751, -3.10119, -0.22391),
                 {{"x", "z", "x:z"}, 3, kRCoefficients, {}}, {-1, 1, 0, 2},
                 {"none", "estimate", "estimate", "estimate"}}));

INSTANTIATE_TEST_SUITE_P(
    NameAndPlace, Rules,
    ::testing::Values(
        RuleCase{"names: the intercept and the product", QuantAt(1, 2, 3, 4), {kR, 4, {}, {}}, {0, 1, 2, 3},
                 {"name", "place", "place", "name"}},
        RuleCase{"Stata's names", QuantAt(1, 2, 3, 4), {{"x", "z", "c.x#c.z", "_cons"}, 4, {}, {}}, {3, 0, 1, 2},
                 {"name", "place", "place", "name"}},
        RuleCase{"no names", QuantAt(1, 2, 3, 4), {{}, 4, {}, {}}, {0, 1, 2, 3}, {"place", "place", "place", "place"}},
        // The estimates decide X and Z the other way round; the product follows its parts by name.
        RuleCase{"the product follows the estimates of its parts", QuantAt(7, 1.86751, -3.10119, 99),
                 {kR, 4, kRCoefficients, {}}, {0, 2, 1, 3}, {"name", "estimate", "estimate", "name"}}));

INSTANTIATE_TEST_SUITE_P(
    ModelAndProblems, Rules,
    ::testing::Values(
        RuleCase{"the picks of Paste model", QuantAt(0, 0, 0, 0), {kR, 4, kRCoefficients, {0, 2, 1, 3}}, {0, 2, 1, 3},
                 {"model", "model", "model", "model"}},
        // The issue's Mixed3 case: X = Diet2, DC1 = Diet3 and X*DC1 = Diet3:Time_c, each typed from the paste.
        RuleCase{"a product on a term of other parts",
                 {ConstantWeight("a", 104.2), MainWeight("rbx", "weight of X", "X", 16.63),
                  MainWeight("bz1", "weight of DC1", "DC1", 36.38), MainWeight("bz2", "weight of DC2", "DC2", 6.842),
                  ProductWeight("bxz1", "weight of X*DC1", {1, 2}, 4.581),
                  ProductWeight("bxz2", "weight of X*DC2", {1, 3}, 1.767)},
                 {{"(Intercept)", "Diet2", "Diet3", "Time_c", "Diet2:Time_c", "Diet3:Time_c"},
                  6,
                  {Coef("(Intercept)", 104.2, 4), Coef("Diet2", 16.63, 4), Coef("Diet3", 36.38, 4),
                   Coef("Time_c", 6.842, 4), Coef("Diet2:Time_c", 1.767, 4), Coef("Diet3:Time_c", 4.581, 4)},
                  {}},
                 {0, 1, 2, 3, 5, 4},
                 {"estimate", "estimate", "estimate", "estimate", "estimate", "estimate"},
                 "The weight of X*DC1 is mapped to `Diet3:Time_c`, but its parts are mapped to `Diet2` and `Diet3`: "
                 "a product's row must be the product of its parts' rows."},
        // Incomplete's held terms typed in the other order: their estimates find them.
        RuleCase{"held terms found by their estimates",
                 {ConstantWeight("weight_0", 1.5), MainWeight("bx", "weight of X", "X", 0.25),
                  MainWeight("bz", "weight of Z", "Z", -0.75), ProductWeight("bxz", "weight of XZ", {1, 2}, 0.125),
                  Held(1, 2.5), Held(2, -4.25)},
                 {{"(Intercept)", "x", "z", "t1", "t2", "x:z"},
                  6,
                  {Coef("(Intercept)", 1.5, 2), Coef("x", 0.25, 2), Coef("z", -0.75, 2), Coef("t1", -4.25, 3),
                   Coef("t2", 2.5, 2), Coef("x:z", 0.125, 3)},
                  {}},
                 {0, 1, 2, 5, 4, 3},
                 {"estimate", "estimate", "estimate", "estimate", "estimate", "estimate"}},
        RuleCase{"held terms by place", {ConstantWeight("weight_0", 1), MainWeight("bx", "weight of X", "X", 2),
                                         MainWeight("bz", "weight of Z", "Z", 3),
                                         ProductWeight("bxz", "weight of XZ", {1, 2}, 4), Held(1, 5), Held(2, 6)},
                 {{"(Intercept)", "x", "z", "t1", "t2", "x:z"}, 6, {}, {}},
                 {0, 1, 2, 5, 3, 4},
                 {"name", "place", "place", "name", "place", "place"}}));

// --- The SE check ---------------------------------------------------------------------

TEST(CheckStandardErrors, TheIssuesWords) {
  stats::PastedMatrix m;
  m.names = {"Wind_c", "Temp_c"};
  m.size = 2;
  m.cells = {0.0894, 0, 0, 0.653 * 0.653};
  m.digits = 7;
  EXPECT_EQ(CheckStandardErrors({Coef("Wind_c", -3.1, 2, 0.299, 3), Coef("Temp_c", 1.9, 2, 0.299, 3)}, m),
            "The SE of `Temp_c` is 0.299 in the model, \u221aV gives 0.653: the matrix does not belong to this model.");
}

// One fit's summary against another fit's matrix, or its own with two rows' names swapped.
TEST(CheckStandardErrors, AnotherModelsMatrix) {
  const stats::ModelReadResult summary = stats::ReadPastedModel(Sample("airquality_a_summary.txt"));
  ASSERT_TRUE(summary.ok);
  std::string text = Sample("airquality_a_vcov.txt");
  for (const auto& [from, to] : {std::pair{"Wind_c", "@"}, std::pair{"Temp_c", "Wind_c"}, std::pair{"@", "Temp_c"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
      text.replace(at, std::string(from).size(), to);
  }
  stats::ReadResult swapped = stats::ReadPastedMatrix(text);
  ASSERT_TRUE(swapped.ok) << swapped.error;
  EXPECT_EQ(CheckStandardErrors(summary.model.coefficients, swapped.matrix),
            "The SE of `Wind_c` is 0.62 in the model, \u221aV gives 0.234: the matrix does not belong to this model.");
  // Another fit's matrix: only the intercept has a row, and it tells.
  const stats::ReadResult tooth = stats::ReadPastedMatrix(Sample("toothgrowth_a_vcov.txt"));
  EXPECT_EQ(CheckStandardErrors(summary.model.coefficients, tooth.matrix),
            "The SE of `(Intercept)` is 2.11 in the model, \u221aV gives 0.745: the matrix does not belong to this "
            "model.");
  const stats::ReadResult other = stats::ReadPastedMatrix("   a   b\na  1  0\nb  0  1\n");
  EXPECT_EQ(CheckStandardErrors(summary.model.coefficients, other.matrix),
            "None of the pasted terms names a row of the matrix: the matrix does not belong to this model.");
  // The other order of the same fit is the same model.
  const stats::ReadResult reordered = stats::ReadPastedMatrix(Sample("airquality_b_vcov.txt"));
  EXPECT_EQ(CheckStandardErrors(summary.model.coefficients, reordered.matrix), "");
}

// --- df against N, and the level ------------------------------------------------------

TEST(CheckDegrees, NMinusTheWeights) {
  EXPECT_EQ(CheckDegrees(112, 116, 4), "");
  EXPECT_EQ(CheckDegrees(std::nullopt, 116, 4), "");
  EXPECT_EQ(CheckDegrees(112, std::nullopt, 4), "");
  EXPECT_EQ(CheckDegrees(110, 116, 4),
            "df is 110, but N = 116 cases and 4 weights leave 112 residual df: check df and N, or leave one of them "
            "empty.");
}

TEST(LevelPercent, AProportionIsReadAsPercent) {
  struct Case {
    double typed, percent;
    const char* note;
  };
  for (const Case& c : {Case{0.95, 95, "0.95 is read as 95 %."}, Case{0.9, 90, "0.9 is read as 90 %."},
                        Case{0.999, 99.9, "0.999 is read as 99.9 %."}, Case{95, 95, ""}, Case{99.9, 99.9, ""},
                        Case{1, 1, ""}, Case{0, 0, ""}}) {
    std::string note = "left over";
    EXPECT_EQ(LevelPercent(c.typed, note), c.percent) << c.typed;
    EXPECT_EQ(note, c.note) << c.typed;
  }
}

// --- The picks of Paste model ----------------------------------------------------------

std::vector<std::string> TermsOf(const std::vector<int>& picks, const std::vector<PastedCoefficient>& terms) {
  std::vector<std::string> out;
  for (int k : picks) out.push_back(k < 0 ? "-" : terms[static_cast<std::size_t>(k)].term);
  return out;
}

TEST(Picks, DefaultsFollowThePasteAndTheProducts) {
  struct Case {
    const char* file;
    std::vector<ModelWeight> weights;
    std::vector<std::string> picks;
  };
  const std::vector<ModelWeight> mixed3 = {
      ConstantWeight("a", 0), MainWeight("rbx", "weight of X", "X", 0), MainWeight("bz1", "weight of DC1", "DC1", 0),
      MainWeight("bz2", "weight of DC2", "DC2", 0), ProductWeight("bxz1", "weight of X*DC1", {1, 2}, 0),
      ProductWeight("bxz2", "weight of X*DC2", {1, 3}, 0)};
  const std::vector<ModelWeight> incomplete = {ConstantWeight("weight_0", 0), MainWeight("bx", "weight of X", "X", 0),
                                               MainWeight("bz", "weight of Z", "Z", 0),
                                               ProductWeight("bxz", "weight of XZ", {1, 2}, 0), Held(1, 0)};
  for (const Case& c : {
           Case{"airquality_a_coefs.txt", kQuant, {"-", "Wind_c", "Temp_c", "-"}},
           Case{"airquality_b_coefs.txt", kQuant, {"-", "Temp_c", "Wind_c", "-"}},
           // X is in both products: the term in both products is X's.
           Case{"chickweight_a_coefs.txt", mixed3, {"-", "Time_c", "Diet2", "Diet3", "-", "-"}},
           Case{"chickweight_b_coefs.txt", mixed3, {"-", "Time_c", "Diet2", "Diet3", "-", "-"}},
           // The covariates come after the terms in products.
           Case{"swiss_b_coefs.txt", incomplete, {"-", "Agriculture_c", "Education_c", "-", "-"}},
       }) {
    const stats::ModelReadResult r = stats::ReadPastedModel(Sample(c.file));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(TermsOf(DefaultPicks(c.weights, r.model.coefficients), r.model.coefficients), c.picks) << c.file;
  }
}

TEST(Picks, EveryWeightFollowsFromTheMainEffects) {
  const stats::ModelReadResult r = stats::ReadPastedModel(Sample("swiss_b_summary.txt") + Sample("swiss_b_vcov.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  const std::vector<PastedCoefficient>& terms = r.model.coefficients;
  const std::vector<ModelWeight> weights = {ConstantWeight("weight_0", 0), MainWeight("bx", "weight of X", "X", 0),
                                            MainWeight("bz", "weight of Z", "Z", 0),
                                            ProductWeight("bxz", "weight of XZ", {1, 2}, 0), Held(1, 0), Held(2, 0)};
  // Terms of swiss_b: (Intercept), Infant.Mortality, Catholic, Agriculture_c, Education_c, Agriculture_c:Education_c.
  const Picks p = ApplyPicks(weights, terms, {-1, 4, 3, -1, -1, -1});
  EXPECT_EQ(p.faults, std::vector<std::string>{});
  EXPECT_EQ(TermsOf(p.term, terms), (std::vector<std::string>{"(Intercept)", "Education_c", "Agriculture_c",
                                                              "Agriculture_c:Education_c", "Infant.Mortality",
                                                              "Catholic"}));
  EXPECT_EQ(TermsOf(p.held, terms), (std::vector<std::string>{"Infant.Mortality", "Catholic"}));
  // The picks decide the mapping: every row by the model.
  const stats::PastedMatrix& m = *r.model.matrix;
  const Mapping map = Map(weights, {m.names, m.size, terms, p.term});
  for (std::size_t w = 0; w < weights.size(); ++w) {
    EXPECT_STREQ(Words(map.rows[w].by), "model");
    EXPECT_EQ(m.names[static_cast<std::size_t>(map.rows[w].row)], TermsOf(p.term, terms)[w]);
  }
}

TEST(Picks, WhatIsMissingInWords) {
  const std::vector<PastedCoefficient> terms = {Coef("(Intercept)", 1, 1), Coef("Diet2", 1, 1), Coef("Diet3", 1, 1),
                                                Coef("Time_c", 1, 1), Coef("Diet2:Time_c", 1, 1),
                                                Coef("Diet3:Time_c", 1, 1)};
  const std::vector<ModelWeight> weights = {
      ConstantWeight("a", 0), MainWeight("rbx", "weight of X", "X", 0), MainWeight("bz1", "weight of DC1", "DC1", 0),
      MainWeight("bz2", "weight of DC2", "DC2", 0), ProductWeight("bxz1", "weight of X*DC1", {1, 2}, 0),
      ProductWeight("bxz2", "weight of X*DC2", {1, 3}, 0)};
  EXPECT_EQ(ApplyPicks(weights, terms, {-1, 1, 2, 3, -1, -1}).faults,
            (std::vector<std::string>{
                "No pasted term is the product of `Diet2` and `Diet3`, for the weight of X*DC1."}));
  EXPECT_EQ(ApplyPicks(weights, terms, {-1, 3, 1, 1, -1, -1}).faults,
            (std::vector<std::string>{"`Diet2` is picked twice: pick a term of its own for DC2."}));
  EXPECT_EQ(ApplyPicks(weights, terms, {-1, 3, -1, 2, -1, -1}).faults,
            (std::vector<std::string>{"No pasted term is picked for DC1."}));
}

}  // namespace
}  // namespace marvane::mapping
