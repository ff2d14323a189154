// The reader of pasted models, on what R itself printed for seven fits on R's
// own datasets, each in two term orders (tests/data/models/make_models.R made
// them), and on Stata's and SPSS's documented layouts imitated with R's
// numbers (imitate_models.R; those files start with "# " lines that say so).
// Every coefficient is compared with R's own numbers in 17 digits (the
// *_truth.txt files) to the digits printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stats/model_reader.h"

namespace marvane::stats {
namespace {

std::string Sample(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MODEL_DATA) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << "no sample " << file;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = ss.str();
  while (text.rfind("# ", 0) == 0) text.erase(0, std::min(text.find('\n'), text.size() - 1) + 1);
  return text;
}

struct Truth {
  double df = 0;
  std::vector<std::string> terms;
  std::vector<double> estimates, ses;
};

Truth ReadTruth(const std::string& stem) {
  std::istringstream in(Sample(stem + "truth.txt"));
  Truth t;
  std::string word, line;
  double n = 0;
  in >> word >> t.df >> word >> n;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream row(line);
    std::string term;
    double estimate = 0, se = 0;
    std::getline(row, term, '\t');
    row >> estimate >> se;
    t.terms.push_back(term);
    t.estimates.push_back(estimate);
    t.ses.push_back(se);
  }
  return t;
}

// Half a unit of the last of `digits` significant digits of x, and what a double's last bit adds.
double HalfUnit(double x, int digits) {
  return std::pow(10.0, std::floor(std::log10(std::fabs(x))) - digits + 1) / 2 * (1 + 1e-9) + std::fabs(x) * 1e-15;
}

// --- R's own prints of the seven fits, in both orders ------------------------

const char* const kFits[] = {"airquality", "toothgrowth", "chickweight", "savings", "savings6", "stackloss", "swiss"};

struct RFormat {
  const char* file;    // after "<fit>_<order>_"
  const char* format;  // as read
  bool se, df;         // printed: the SEs, the residual df
};

const RFormat kRFormats[] = {
    {"summary.txt", "R's summary", true, true},
    {"coefs.txt", "R's coef(summary(fit))", true, false},
    {"coef.txt", "R's coef(fit)", false, false},
    {"coef_w40.txt", "R's coef(fit)", false, false},
    {"coefs.csv", "a table of coefficients", true, false},
};

void ExpectAsPrinted(const ModelReadResult& r, const Truth& t, const RFormat& f, const std::string& what) {
  ASSERT_TRUE(r.ok) << what << ": " << r.error;
  EXPECT_EQ(r.model.format, f.format) << what;
  ASSERT_EQ(r.model.coefficients.size(), t.terms.size()) << what;
  for (std::size_t k = 0; k < t.terms.size(); ++k) {
    const PastedCoefficient& c = r.model.coefficients[k];
    EXPECT_EQ(c.term, t.terms[k]) << what;
    EXPECT_GT(c.estimateDigits, 0) << what << " " << c.term;
    EXPECT_LE(std::fabs(c.estimate - t.estimates[k]), HalfUnit(c.estimate, c.estimateDigits))
        << what << " " << c.term << " read " << c.estimate << " in " << c.estimateDigits << " digits";
    ASSERT_EQ(c.se.has_value(), f.se) << what << " " << c.term;
    if (f.se) {
      EXPECT_LE(std::fabs(*c.se - t.ses[k]), HalfUnit(*c.se, c.seDigits)) << what << " " << c.term;
    }
  }
  ASSERT_EQ(r.model.df.has_value(), f.df) << what;
  if (f.df) {
    EXPECT_EQ(*r.model.df, t.df) << what;
  }
}

TEST(ReadPastedModel, EveryRPrintOfTheSevenFitsInBothOrders) {
  for (const char* fit : kFits) {
    for (const char* order : {"a", "b"}) {
      const std::string stem = std::string(fit) + "_" + order + "_";
      const Truth truth = ReadTruth(stem);
      for (const RFormat& f : kRFormats) {
        const ModelReadResult r = ReadPastedModel(Sample(stem + f.file));
        ExpectAsPrinted(r, truth, f, stem + f.file);
        EXPECT_FALSE(r.model.matrix.has_value()) << stem + f.file;
      }
    }
  }
}

// The matrix pasted after the coefficients, or before them, in every layout R
// printed or wrote it; compared with R's write.csv of the same fit.
TEST(ReadPastedModel, TheMatrixPastedBeforeOrAfterInEveryLayout) {
  const char* const matrices[] = {"vcov.txt", "vcov3.txt", "vcov.csv", "vcov2.csv"};
  for (const char* fit : kFits) {
    for (const char* order : {"a", "b"}) {
      const std::string stem = std::string(fit) + "_" + order + "_";
      const Truth truth = ReadTruth(stem);
      const ReadResult csv = ReadPastedMatrix(Sample(stem + "vcov.csv"));
      ASSERT_TRUE(csv.ok) << csv.error;
      for (const RFormat& f : kRFormats) {
        for (const char* m : matrices) {
          for (bool after : {true, false}) {
            const std::string what = stem + f.file + (after ? " then " : " after ") + m;
            const std::string text = after ? Sample(stem + f.file) + Sample(stem + m)
                                           : Sample(stem + m) + "\n" + Sample(stem + f.file);
            const ModelReadResult r = ReadPastedModel(text);
            ExpectAsPrinted(r, truth, f, what);
            ASSERT_TRUE(r.model.matrix.has_value()) << what;
            ASSERT_EQ(r.model.matrix->names, csv.matrix.names) << what;
            // R prints 7 significant digits, with digits = 3 three (write.csv 15).
            const double relative = std::string(m) == "vcov3.txt" ? 5e-3 : 5e-7;
            for (std::size_t k = 0; k < csv.matrix.cells.size(); ++k) {
              const double want = csv.matrix.cells[k];
              EXPECT_NEAR(r.model.matrix->cells[k], want, relative * std::fabs(want) + 1e-15) << what << " cell " << k;
            }
          }
        }
      }
    }
  }
}

// --- Stata's and SPSS's layouts, imitated with R's numbers --------------------

struct LayoutCase {
  const char* files;  // joined by '+'
  const char* format;
  std::vector<std::string> terms;
  const char* truth;               // R's fit with these numbers
  std::vector<std::size_t> order;  // of each term among R's terms
  double df;                       // 0: none printed
  const char* matrix;              // its format, or "" for none
  int digits;                      // the fewest significant digits of an SE read
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.files; }

class Layouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, ReadAsPrinted) {
  const LayoutCase& c = GetParam();
  std::string text, files = c.files;
  for (std::size_t b = 0, e = 0; b < files.size(); b = e + 1) {
    e = std::min(files.find('+', b), files.size());
    text += Sample(files.substr(b, e - b));
  }
  const ModelReadResult r = ReadPastedModel(text);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.model.format, c.format);
  const Truth truth = ReadTruth(c.truth);
  ASSERT_EQ(r.model.coefficients.size(), c.terms.size());
  for (std::size_t k = 0; k < c.terms.size(); ++k) {
    const PastedCoefficient& got = r.model.coefficients[k];
    EXPECT_EQ(got.term, c.terms[k]);
    ASSERT_TRUE(got.se.has_value()) << got.term;
    EXPECT_GE(got.seDigits, c.digits) << got.term;
    EXPECT_LE(std::fabs(got.estimate - truth.estimates[c.order[k]]), HalfUnit(got.estimate, got.estimateDigits))
        << got.term;
    EXPECT_LE(std::fabs(*got.se - truth.ses[c.order[k]]), HalfUnit(*got.se, got.seDigits)) << got.term;
  }
  EXPECT_EQ(r.model.df.value_or(0), c.df);
  EXPECT_EQ(r.model.matrix ? r.model.matrix->format : "", c.matrix);
}

INSTANTIATE_TEST_SUITE_P(
    StataAndSpss, Layouts,
    ::testing::Values(
        LayoutCase{"stata_airquality_regress.txt", "Stata's regress",
                   {"wind_c", "temp_c", "c.wind_c#c.temp_c", "_cons"}, "airquality_a_", {1, 2, 3, 0}, 112, "", 7},
        LayoutCase{"stata_airquality_regress.txt+stata_airquality_vce.txt", "Stata's regress",
                   {"wind_c", "temp_c", "c.wind_c#c.temp_c", "_cons"}, "airquality_a_", {1, 2, 3, 0}, 112,
                   "Stata's matrix list", 7},
        // The levels of a factor under its name: named as Stata names them, with the level's label.
        LayoutCase{"stata_toothgrowth_regress.txt", "Stata's regress", {"VC.supp", "dosec", "VC.supp#dosec", "_cons"},
                   "toothgrowth_a_", {1, 2, 3, 0}, 0, "", 7},
        // The ANOVA table above gives df; three decimals leave few digits of a small SE.
        LayoutCase{"spss_airquality_coefficients.txt", "SPSS's coefficients",
                   {"(Constant)", "Wind_c", "Temp_c", "WindTemp"}, "airquality_a_", {0, 1, 2, 3}, 112, "", 2}));

// --- Small texts --------------------------------------------------------------

struct TextCase {
  const char* title;
  std::string text;
  std::vector<std::string> terms;
  std::vector<double> estimates;
  std::string error;  // when the text is no model
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.title; }

class Texts : public ::testing::TestWithParam<TextCase> {};

TEST_P(Texts, Read) {
  const TextCase& c = GetParam();
  const ModelReadResult r = ReadPastedModel(c.text);
  EXPECT_EQ(r.error, c.error);
  ASSERT_EQ(r.ok, c.error.empty());
  std::vector<std::string> terms;
  std::vector<double> estimates;
  for (const PastedCoefficient& k : r.model.coefficients) {
    terms.push_back(k.term);
    estimates.push_back(k.estimate);
  }
  EXPECT_EQ(terms, c.terms);
  EXPECT_EQ(estimates, c.estimates);
}

INSTANTIATE_TEST_SUITE_P(
    Read, Texts,
    ::testing::Values(
        TextCase{"a named vector with a name that holds blanks", "(Intercept) poly(wt, 2)1\n        1.5        -2.25\n",
                 {"(Intercept)", "poly(wt, 2)1"}, {1.5, -2.25}, ""},
        TextCase{"a table of term, estimate and SE with its own headings", "term,estimate,se\nx,0.5,0.1\nz,-1,0.2\n",
                 {"x", "z"}, {0.5, -1}, ""},
        TextCase{"tab-separated with decimal commas", "\tB\tStd. Error\n(Constant)\t1,5\t0,25\nx\t-0,75\t0,5\n",
                 {"(Constant)", "x"}, {1.5, -0.75}, ""},
        TextCase{"R's echo of the command is left out",
                 "> coef(summary(fit))\n   Estimate Std. Error\nx       0.5        0.1\n", {"x"}, {0.5}, ""}));

INSTANTIATE_TEST_SUITE_P(
    Errors, Texts,
    ::testing::Values(
        TextCase{"nothing", "", {}, {},
                 "No coefficients were found: paste what R's summary(fit), coef(summary(fit)) or coef(fit) printed, "
                 "or Stata's regress table or SPSS's Coefficients table."},
        TextCase{"a matrix alone", "   x   z\nx  1  0\nz  0  1\n", {}, {},
                 "No coefficients were found: paste what R's summary(fit), coef(summary(fit)) or coef(fit) printed, "
                 "or Stata's regress table or SPSS's Coefficients table."},
        TextCase{"an aliased term", "   Estimate Std. Error\nx       0.5        0.1\nz        NA         NA\n", {}, {},
                 "Line 3 (z): the estimate \"NA\" is not a number."},
        TextCase{"a standard error that is no number", "term,estimate,se\nx,0.5,abc\n", {}, {},
                 "Line 2 (x): the standard error \"abc\" is not a number."},
        TextCase{"a term twice", "term,estimate,se\nx,0.5,0.1\nx,1,0.1\n", {}, {},
                 "The term \"x\" is printed twice; line 3 holds it again."},
        TextCase{"a broken matrix after the coefficients",
                 "   Estimate Std. Error\nx       0.5        0.1\n\n   x   z\nx  1  0\nz  0\n", {}, {},
                 "The coefficients were read, but not the matrix pasted with them: Row 2 (z) has 1 number, row 1 has "
                 "2: the rows are of unequal length."}));

// R's summary alone has no matrix: the window then tells to paste vcov(fit).
TEST(ReadPastedModel, ASummaryAloneHasNoMatrix) {
  const ModelReadResult r = ReadPastedModel(Sample("airquality_a_summary.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.model.format, "R's summary");
  EXPECT_FALSE(r.model.matrix.has_value());
}

// The lines of a matrix after the coefficients keep their numbers in the text.
TEST(ReadPastedModel, TheMatrixErrorsCountLinesInTheWholeText) {
  const std::string summary = Sample("airquality_a_summary.txt");
  const ModelReadResult r = ReadPastedModel(summary + "   a   b\na  1  0\nb  0  1\n   c\n");
  EXPECT_FALSE(r.ok);
  const std::size_t line = static_cast<std::size_t>(std::count(summary.begin(), summary.end(), '\n')) + 4;
  EXPECT_NE(r.error.find("starts on line " + std::to_string(line) + " "), std::string::npos) << r.error;
}

}  // namespace
}  // namespace marvane::stats
