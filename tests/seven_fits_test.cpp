// Seven ordinary fits on R's own datasets, as a user pastes them into the
// plot window: the summary with the covariance matrix after it, in the term
// order of the fit and in the other order; the matrix alone; and the common
// wrong pastes. What R printed is in tests/data/models (make_models.R).

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"

namespace marvane {
namespace {

std::string Read(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MODEL_DATA) + "/" + file);
  EXPECT_TRUE(in) << file;
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// R's estimates by term, from <fit>_a_truth.txt.
std::map<std::string, double> Estimates(const std::string& fit) {
  std::map<std::string, double> out;
  std::istringstream in(Read(fit + "_a_truth.txt"));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    out[line.substr(0, tab)] = std::stod(line.substr(tab + 1));
  }
  return out;
}

// The probe of the form a user would fill from the fit, with X the
// variable the issue's examples make X.
Probe FormOf(const std::string& fit) {
  const std::map<std::string, double> b = Estimates(fit);
  auto e = [&](const char* term) { return b.at(term); };
  if (fit == "airquality") {
    return QuantProbe({.bx = e("Temp_c"), .bz = e("Wind_c"), .bxz = e("Wind_c:Temp_c"), .a = e("(Intercept)"),
                       .stdz = 3.5, .stdx = 9.5});
  }
  if (fit == "savings" || fit == "savings6") {
    return QuantProbe({.bx = e("dpi_c"), .bz = e("pop15_c"), .bxz = e("pop15_c:dpi_c"), .a = e("(Intercept)"),
                       .stdz = 9, .stdx = 990});
  }
  if (fit == "toothgrowth") {
    return Mixed2Probe({.bx = e("dose_c"), .bz = e("suppVC"), .bxz = e("suppVC:dose_c"), .a = e("(Intercept)"),
                        .stdx = 0.6});
  }
  if (fit == "chickweight") {
    return Mixed3Probe({.rbx = static_cast<float>(e("Time_c")), .bz1 = e("Diet2"), .bz2 = e("Diet3"),
                        .bxz1 = e("Diet2:Time_c"), .bxz2 = e("Diet3:Time_c"), .a = e("(Intercept)"), .stdx = 6.7});
  }
  if (fit == "stackloss") {
    return Quant3Probe({.bx = e("Air.Flow_c"), .bz = e("Water.Temp_c"), .bv = e("Acid.Conc._c"),
                        .bxz = e("Air.Flow_c:Water.Temp_c"), .bxv = e("Air.Flow_c:Acid.Conc._c"),
                        .bzv = e("Water.Temp_c:Acid.Conc._c"), .bxzv = e("Air.Flow_c:Water.Temp_c:Acid.Conc._c"),
                        .a = e("(Intercept)"), .stdx = 9.2, .stdz = 3.2, .stdv = 5.4});
  }
  // swiss on Incomplete: Catholic and Infant.Mortality held at 41 and 20.
  const std::vector<HeldTerm> held{{.weight = e("Catholic"), .value = 41}, {.weight = e("Infant.Mortality"), .value = 20}};
  const double c = e("(Intercept)");
  return IncompleteProbe(c, held, {.a = FoldControlTerms(c, held), .bx = e("Education_c"), .bz = e("Agriculture_c"),
                                   .bxz = e("Education_c:Agriculture_c"), .sx = 9.6, .sz = 22.7});
}

Analysis Pasting(const std::string& fit, const std::string& text) {
  AnalysisInput in;
  in.pasted = text;
  return Analyse(FormOf(fit), in);
}

class SevenFits : public ::testing::TestWithParam<std::string> {};

// The summary and the matrix in either term order give the same tables, and
// every weight's row is decided by its estimate: nothing is a guess.
TEST_P(SevenFits, EitherTermOrderGivesTheSameTables) {
  const std::string fit = GetParam();
  const Analysis a = Pasting(fit, Read(fit + "_a_summary.txt") + "\n" + Read(fit + "_a_vcov.txt"));
  const Analysis b = Pasting(fit, Read(fit + "_b_summary.txt") + "\n" + Read(fit + "_b_vcov.txt"));
  ASSERT_TRUE(a.ready) << a.covarianceStatus.text;
  ASSERT_TRUE(b.ready) << b.covarianceStatus.text;
  for (const Analysis* x : {&a, &b}) {
    for (const std::string& decided : x->mapping.decided) EXPECT_EQ(decided, "estimate") << fit;
    EXPECT_EQ(x->covarianceStatus.text.find("place"), std::string::npos) << x->covarianceStatus.text;
    // The residual df is taken from the summary.
    EXPECT_NE(x->covarianceStatus.text.find("as printed with the coefficients"), std::string::npos) << fit;
  }
  ASSERT_EQ(a.significanceTables.size(), b.significanceTables.size());
  for (std::size_t t = 0; t < a.significanceTables.size(); ++t) {
    EXPECT_EQ(a.significanceTables[t].rows, b.significanceTables[t].rows) << fit << " " << a.significanceTables[t].id;
  }
  EXPECT_EQ(a.regionsTable.rows, b.regionsTable.rows) << fit;
  EXPECT_EQ(a.crossingsTable.rows, b.crossingsTable.rows) << fit;
}

// The matrix alone, in either order: no row goes by place unmarked, and a
// product whose row is not the product of its parts' rows gives no tables
// but words that name them (the three-group fit, whose first main effect by
// place is a group code, not X).
TEST_P(SevenFits, AMatrixAloneSaysWhatItGuessed) {
  const std::string fit = GetParam();
  for (const char* order : {"a", "b"}) {
    const Analysis m = Pasting(fit, Read(fit + "_" + order + "_vcov.txt"));
    if (!m.ready) {
      EXPECT_NE(m.covarianceStatus.text.find("a product's row must be the product of its parts' rows"),
                std::string::npos)
          << fit << " " << order << ": " << m.covarianceStatus.text;
      continue;
    }
    bool guessed = false;
    for (const std::string& decided : m.mapping.decided) guessed = guessed || decided == "place";
    EXPECT_EQ(guessed, m.covarianceStatus.text.find("place in the paste") != std::string::npos ||
                           m.covarianceStatus.text.find("places in the paste") != std::string::npos)
        << fit << " " << order << ": " << m.covarianceStatus.text;
    if (guessed) {
      EXPECT_TRUE(m.covarianceStatus.problem) << fit;
    }
  }
}

// The wrong pastes a user makes, each told in words with no tables.
TEST_P(SevenFits, WrongPastesAreToldInWords) {
  const std::string fit = GetParam();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Read(fit + "_a_summary.txt"), "This is the model's summary: paste vcov(fit) with it"},
      {Read(fit + "_a_cor.txt"), "This looks like correlations, not covariances"},
  };
  for (const auto& [text, told] : cases) {
    const Analysis a = Pasting(fit, text);
    EXPECT_FALSE(a.ready) << fit;
    EXPECT_TRUE(a.covarianceStatus.problem) << fit;
    EXPECT_NE(a.covarianceStatus.text.find(told), std::string::npos) << fit << ": " << a.covarianceStatus.text;
    for (const ShownTable& t : a.significanceTables) EXPECT_TRUE(t.rows.empty()) << fit;
  }
  // A matrix printed with three digits, and one written by write.csv2, are
  // read (with the summary, which proves which row is which weight).
  const std::string summary = Read(fit + "_a_summary.txt") + "\n";
  const Analysis few = Pasting(fit, summary + Read(fit + "_a_vcov3.txt"));
  EXPECT_TRUE(few.ready) << few.covarianceStatus.text;
  // R's digits = 3 prints 0.000094 with two.
  EXPECT_TRUE(few.covarianceStatus.text.find("read with 2 significant digits") != std::string::npos ||
              few.covarianceStatus.text.find("read with 3 significant digits") != std::string::npos)
      << few.covarianceStatus.text;
  const Analysis csv2 = Pasting(fit, summary + Read(fit + "_a_vcov2.csv"));
  EXPECT_TRUE(csv2.ready) << csv2.covarianceStatus.text;
  EXPECT_EQ(csv2.significanceTables.at(0).rows,
            Pasting(fit, summary + Read(fit + "_a_vcov.csv")).significanceTables.at(0).rows);
}

INSTANTIATE_TEST_SUITE_P(R, SevenFits,
                         ::testing::Values("airquality", "toothgrowth", "chickweight", "savings", "savings6",
                                           "stackloss", "swiss"));

// The issue's first example: Temp typed as X, the matrix pasted as R prints
// `Ozone ~ Wind_c * Temp_c`, Wind_c first. By place X would be Wind_c; the
// window says so. With the summary pasted before it, X is Temp_c by its
// estimate and the slope's SE is R's 0.299 at +1 SD of Wind... and no guess.
TEST(SevenFits, TheIssuesOzoneExample) {
  const Analysis guessed = Pasting("airquality", Read("airquality_a_vcov.txt"));
  EXPECT_NE(guessed.covarianceStatus.text.find("weight of X = `Wind_c`"), std::string::npos)
      << guessed.covarianceStatus.text;
  const Analysis proved =
      Pasting("airquality", Read("airquality_a_summary.txt") + "\n" + Read("airquality_a_vcov.txt"));
  ASSERT_EQ(proved.mapping.rowOf.size(), 4u);
  EXPECT_EQ(proved.mapping.rows.at(static_cast<std::size_t>(proved.mapping.rowOf[1])), "Temp_c");
  EXPECT_EQ(proved.mapping.rows.at(static_cast<std::size_t>(proved.mapping.rowOf[2])), "Wind_c");
  // The slope of X at Z = 0 is the weight of Temp_c, its SE R's.
  EXPECT_EQ(proved.significanceTables.at(0).rows.at(1).at(2), "0.234");
}

// A matrix that does not belong to the model its SEs come from: told, no tables.
TEST(SevenFits, AMatrixOfAnotherModelIsTold) {
  const Analysis a = Pasting("airquality", Read("airquality_a_summary.txt") + "\n" + Read("savings_a_vcov.txt"));
  EXPECT_FALSE(a.ready);
  EXPECT_TRUE(a.covarianceStatus.problem);
  EXPECT_NE(a.covarianceStatus.text.find("does not belong to this model"), std::string::npos)
      << a.covarianceStatus.text;
}

}  // namespace
}  // namespace marvane
