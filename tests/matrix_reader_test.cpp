// The reader of pasted covariance matrices and the guess of which row is
// which weight.
//
// The samples are in tests/data/matrices/: the r_* files are what R itself
// printed and wrote (make_matrices.R made them); the stata_*, spss_*, sheet_*
// and bare_* files imitate the documented layouts of Stata, SPSS and
// spreadsheets with R's numbers (imitate_layouts.R made them; each starts
// with "# " lines that say so, which the test leaves out). Every sample is
// compared cell by cell with R's write.csv of the same fit, within what its
// printed digits allow, and a few cells are checked exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stats/matrix_reader.h"
#include "stats/pasted_cells.h"
#include "stats/term_mapping.h"

namespace marvane::stats {
namespace {

std::string ReadSample(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MATRIX_DATA) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << "no sample " << file;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = ss.str();
  // The comment lines of the imitated layouts.
  while (text.rfind("# ", 0) == 0) {
    const std::size_t end = text.find('\n');
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
  }
  return text;
}

// --- Layouts, each compared with R's own numbers ----------------------------

struct CellCheck {
  std::size_t i, j;
  double value;  // exactly as read (the mean where the two entries differ)
};

struct LayoutCase {
  const char* file;
  const char* format;
  std::vector<std::string> names;  // empty: none expected
  std::vector<CellCheck> cells;
  // R's write.csv of the same fit and, for each row read, its row there.
  const char* csv;
  std::vector<std::size_t> csvRows;
  double absTolerance = 0, relTolerance = 0;
  bool commaDecimals = false;
  std::vector<std::string> dropped = {};
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.file; }

std::vector<std::size_t> Rows(std::size_t n) {
  std::vector<std::size_t> r(n);
  for (std::size_t k = 0; k < n; ++k) r[k] = k;
  return r;
}

class Layouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, ReadAsPrinted) {
  const LayoutCase& c = GetParam();
  const ReadResult r = ReadPastedMatrix(ReadSample(c.file));
  ASSERT_TRUE(r.ok) << r.error;
  const PastedMatrix& m = r.matrix;
  EXPECT_EQ(m.format, c.format);
  EXPECT_EQ(m.size, c.csvRows.size());
  EXPECT_EQ(m.names, c.names);
  EXPECT_EQ(m.commaDecimals, c.commaDecimals);
  EXPECT_EQ(m.dropped, c.dropped);
  ASSERT_EQ(m.cells.size(), m.size * m.size);
  for (const CellCheck& k : c.cells) {
    EXPECT_EQ(m.At(k.i, k.j), k.value) << "cell " << k.i + 1 << "," << k.j + 1;
  }
  for (std::size_t i = 0; i < m.size; ++i) {
    for (std::size_t j = 0; j < m.size; ++j) {
      ASSERT_TRUE(std::isfinite(m.At(i, j)));
      EXPECT_EQ(m.At(i, j), m.At(j, i)) << "cell " << i + 1 << "," << j + 1;
    }
  }

  const ReadResult csv = ReadPastedMatrix(ReadSample(c.csv));
  ASSERT_TRUE(csv.ok) << csv.error;
  for (std::size_t i = 0; i < m.size; ++i) {
    for (std::size_t j = 0; j < m.size; ++j) {
      const double want = csv.matrix.At(c.csvRows[i], c.csvRows[j]);
      EXPECT_NEAR(m.At(i, j), want, c.absTolerance + c.relTolerance * std::fabs(want))
          << "cell " << i + 1 << "," << j + 1;
    }
  }
}

// R prints 7 significant digits; where a column is printed in fixed form,
// the row and column of a pair may show different digits and read as their
// mean.
const std::vector<std::string> kQuantNames = {"(Intercept)", "x", "z", "x:z"};
const std::vector<std::string> kQuant3Names = {"(Intercept)", "x", "z", "v", "x:z", "x:v", "z:v", "x:z:v"};
const std::vector<std::string> kMixed3Names = {"(Intercept)",      "x",
                                               "Speciesversicolor", "Speciesvirginica",
                                               "x:Speciesversicolor", "x:Speciesvirginica"};
const std::vector<std::string> kWideNames = {"(Intercept)", "wt",         "hp",         "disp",
                                             "qsec",        "wt:hp",      "wt:disp",    "hp:disp",
                                             "wt:qsec",     "hp:qsec",    "disp:qsec",  "wt:hp:disp",
                                             "wt:hp:qsec",  "wt:disp:qsec", "hp:disp:qsec", "wt:hp:disp:qsec"};

INSTANTIATE_TEST_SUITE_P(
    RPrint, Layouts,
    ::testing::Values(
        LayoutCase{"r_print_quant.txt", "R's print", kQuantNames,
                   {{0, 0, 0.2457210730}, {3, 3, 5.505017e-05}, {2, 0, (-0.0001070833 + -1.070833e-04) / 2}},
                   "r_csv_quant.csv", Rows(4), 0, 1e-6},
        LayoutCase{"r_print_mixed2.txt", "R's print", {"(Intercept)", "x", "g", "x:g"},
                   {{0, 0, 5.557351e-01}, {1, 0, -6.254166e-17}, {3, 1, -1.429033e+00}},
                   "r_csv_mixed2.csv", Rows(4), 0, 1e-6},
        LayoutCase{"r_print_mixed3.txt", "R's print", kMixed3Names,
                   {{0, 0, 0.007641138}, {1, 0, -0.010180502 / 2 + -0.01018050 / 2}, {5, 5, 0.06541096}},
                   "r_csv_mixed3.csv", Rows(6), 0, 1e-6},
        LayoutCase{"r_print_mixed3_width60.txt", "R's print", kMixed3Names,
                   {{4, 4, 0.067543781}, {5, 3, -0.007018370 / 2 + -0.00701837 / 2}},
                   "r_csv_mixed3.csv", Rows(6), 0, 1e-6},
        LayoutCase{"r_print_quant3.txt", "R's print", kQuant3Names,
                   {{0, 0, 2.071463e+00}, {7, 7, 6.548421e-08}, {7, 4, -2.761531e-07}},
                   "r_csv_quant3.csv", Rows(8), 0, 1e-6},
        LayoutCase{"r_print_quant3_width60.txt", "R's print", kQuant3Names,
                   {{3, 0, 4.212580e-03}, {6, 5, 9.956809e-06}},
                   "r_csv_quant3.csv", Rows(8), 0, 1e-6},
        LayoutCase{"r_print_incomplete.txt", "R's print", {"(Intercept)", "x", "z", "t1", "t2", "x:z"},
                   {{0, 0, 3.995759e-01}, {1, 0, -2.059522e-01 / 2 + -0.205952227 / 2}, {5, 5, 7.078397e-05}},
                   "r_csv_incomplete.csv", Rows(6), 0, 1e-6},
        LayoutCase{"r_print_wide16.txt", "R's print", kWideNames,
                   {{0, 0, 5.109429e+04}, {15, 15, 2.483062e-08}, {15, 0, 3.250490e-02}, {9, 4, -1.053319e+00}},
                   "r_csv_wide16.csv", Rows(16), 0, 1e-6},
        LayoutCase{"r_print_wide16_width60.txt", "R's print", kWideNames,
                   {{14, 13, 1.401370e-05}, {15, 14, -7.670548e-08}},
                   "r_csv_wide16.csv", Rows(16), 0, 1e-6},
        // Names with blanks and commas, cut at the number columns.
        LayoutCase{"r_print_poly.txt", "R's print",
                   {"(Intercept)", "poly(wt, 2)1", "poly(wt, 2)2", "hp", "poly(wt, 2)1:hp", "poly(wt, 2)2:hp"},
                   {{0, 0, 4.10106924}, {5, 5, 0.0055363879}, {3, 3, 0.0001389492}},
                   // No write.csv of this one: compared with itself.
                   "r_print_poly.txt", Rows(6), 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    RWriteCsv, Layouts,
    ::testing::Values(
        LayoutCase{"r_csv_quant.csv", "R's write.csv", kQuantNames,
                   {{0, 0, 0.245721073026372}, {3, 2, 2.50126508176254e-06}}, "r_csv_quant.csv", Rows(4), 0, 0},
        LayoutCase{"r_csv_mixed3.csv", "R's write.csv", kMixed3Names,
                   {{5, 5, 0.0654109639994399}}, "r_csv_mixed3.csv", Rows(6), 0, 0},
        LayoutCase{"r_csv_wide16.csv", "R's write.csv", kWideNames, {{0, 0, 51094.2895055507}},
                   "r_csv_wide16.csv", Rows(16), 0, 0}));

// Stata's order puts _cons last and names the products c.x#c.z; the base
// terms' zero rows are dropped.
INSTANTIATE_TEST_SUITE_P(
    StataMatrixList, Layouts,
    ::testing::Values(
        LayoutCase{"stata_quant.txt", "Stata's matrix list", {"x", "z", "c.x#c.z", "_cons"},
                   {{0, 0, .2804317}, {1, 1, 5.630e-05}, {3, 0, .021480638}, {0, 3, .021480638}},
                   "r_csv_quant.csv", {1, 2, 3, 0}, 0, 1e-3},
        // Two column blocks; the names of the products broken over two and
        // three header lines.
        LayoutCase{"stata_quant3.txt", "Stata's matrix list",
                   {"agri", "educ", "c.agri#c.educ", "cath", "c.agri#c.cath", "c.educ#c.cath", "c.agri#c.educ#c.cath",
                    "_cons"},
                   {{0, 0, .006162606}, {7, 7, 2.0714626}, {6, 4, 2.708e-07}, {4, 6, 2.708e-07}},
                   "r_csv_quant3.csv", {1, 2, 4, 3, 5, 6, 7, 0}, 0, 1e-3},
        LayoutCase{"stata_mixed3.txt", "Stata's matrix list",
                   {"x", "2.species", "3.species", "2.species#c.x", "3.species#c.x", "_cons"},
                   {{0, 0, .027465383}, {3, 3, .067543781}, {4, 3, .027465383}},
                   "r_csv_mixed3.csv", {1, 2, 3, 4, 5, 0}, 0, 1e-3, false, {"1b.species", "1b.species#co.x"}},
        LayoutCase{"stata_incomplete.txt", "Stata's matrix list", {"x", "z", "c.x#c.z", "t1", "1.t2", "_cons"},
                   {{4, 4, 1.9619964}, {5, 5, .39957591}, {5, 4, -.55445515}},
                   "r_csv_incomplete.csv", {1, 2, 5, 3, 4, 0}, 0, 1e-3, false, {"0b.t2"}}));

// SPSS lists the weights last entered first; the reader turns them back.
INSTANTIATE_TEST_SUITE_P(
    SpssCoefficientCorrelations, Layouts,
    ::testing::Values(LayoutCase{"spss_quant.txt", "SPSS's coefficient correlations", {"X", "Z", "XZ"},
                                 {{0, 0, .280}, {2, 2, 5.505E-5}, {1, 0, -.003}, {2, 1, 2.501E-6}},
                                 "r_csv_quant.csv", {1, 2, 3}, 5e-4, 1e-3},
                      LayoutCase{"spss_quant3_text.txt", "SPSS's coefficient correlations",
                                 {"X", "Z", "V", "XZ", "XV", "ZV", "XZV"},
                                 {{0, 0, .006163}, {6, 6, 6.548E-8}, {6, 0, .000005}},
                                 "r_csv_quant3.csv", {1, 2, 3, 4, 5, 6, 7}, 5e-7, 1e-3}));

INSTANTIATE_TEST_SUITE_P(
    TabSeparated, Layouts,
    ::testing::Values(LayoutCase{"sheet_quant_names.tsv", "a tab-separated table", kQuantNames,
                                 {{0, 0, 0.245721073026372}}, "r_csv_quant.csv", Rows(4), 0, 1e-14},
                      LayoutCase{"sheet_quant_comma_decimals.tsv", "a tab-separated table",
                                 {"Konstante", "x", "z", "x:z"},
                                 {{0, 0, 0.245721073026372}, {3, 3, 5.50501741696744e-05}},
                                 "r_csv_quant.csv", Rows(4), 0, 1e-14, true},
                      LayoutCase{"sheet_quant_bare.tsv", "bare numbers", {}, {{1, 1, 0.280431702358988}},
                                 "r_csv_quant.csv", Rows(4), 0, 1e-14}));

INSTANTIATE_TEST_SUITE_P(CommaSeparated, Layouts,
                         ::testing::Values(LayoutCase{"sheet_quant_names.csv", "a comma-separated table", kQuantNames,
                                                      {{2, 3, 2.50126508176254e-06}}, "r_csv_quant.csv", Rows(4), 0,
                                                      1e-14}));

INSTANTIATE_TEST_SUITE_P(
    BareNumbers, Layouts,
    ::testing::Values(LayoutCase{"bare_quant_full.txt", "bare numbers", {}, {{0, 1, 0.0214806378547031}},
                                 "r_csv_quant.csv", Rows(4), 0, 1e-14},
                      LayoutCase{"bare_quant_commas.txt", "bare numbers", {}, {{3, 3, 5.50501741696744e-05}},
                                 "r_csv_quant.csv", Rows(4), 0, 1e-14},
                      LayoutCase{"bare_quant_lower.txt", "a bare lower triangle", {},
                                 {{0, 3, -0.00235678827289576}, {3, 0, -0.00235678827289576}}, "r_csv_quant.csv",
                                 Rows(4), 0, 1e-14},
                      LayoutCase{"bare_quant_lower_tabs.txt", "a bare lower triangle", {},
                                 {{1, 2, -0.00261613297640679}}, "r_csv_quant.csv", Rows(4), 0, 1e-14}));

// --- The one reading of a number text -----------------------------------------

struct NumberCase {
  const char* text;
  char point;
  pasted::Kind kind;
  double value;  // for a Number
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.text << " with '" << c.point << "'"; }

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, ReadOneWay) {
  const NumberCase& c = GetParam();
  double value = 0;
  ASSERT_EQ(pasted::ReadNumber(c.text, c.point, value), c.kind);
  if (c.kind != pasted::Kind::Number) return;
  EXPECT_EQ(value, c.value);
  EXPECT_EQ(std::signbit(value), std::signbit(c.value));
}

using enum pasted::Kind;
INSTANTIATE_TEST_SUITE_P(
    Texts, Numbers,
    ::testing::Values(NumberCase{"-0.25", '.', Number, -0.25}, NumberCase{"+.5", '.', Number, 0.5},
                      NumberCase{"5.", '.', Number, 5}, NumberCase{"-2.5E-04", '.', Number, -2.5e-4},
                      NumberCase{"1e+3", '.', Number, 1000}, NumberCase{"-0", '.', Number, -0.0},
                      // Below the smallest double: a zero of its sign; beyond the largest: Huge, either sign.
                      NumberCase{"-1e-400", '.', Number, -0.0}, NumberCase{"0.0001e-320", '.', Number, 0},
                      NumberCase{"1e999", '.', Huge, 0}, NumberCase{"-18e307", '.', Huge, 0},
                      NumberCase{"0.01e311", '.', Huge, 0},
                      // Not numbers: two signs, no digits, an exponent without digits, hexadecimal, inf and nan,
                      // anything after the number.
                      NumberCase{"+-1", '.', Word, 0}, NumberCase{"--1", '.', Word, 0}, NumberCase{".", '.', Word, 0},
                      NumberCase{"1e", '.', Word, 0}, NumberCase{"1e+", '.', Word, 0},
                      NumberCase{"0x10", '.', Word, 0}, NumberCase{"inf", '.', Word, 0},
                      NumberCase{"-nan", '.', Word, 0}, NumberCase{"1.5.2", '.', Word, 0},
                      NumberCase{"1e999x", '.', Word, 0}, NumberCase{"2 x", '.', Word, 0},
                      // The decimal comma variant: a full stop is then no point.
                      NumberCase{"0,5", ',', Number, 0.5}, NumberCase{"-1,5e3", ',', Number, -1500},
                      NumberCase{"1.5", ',', Word, 0}, NumberCase{"1,5", '.', Word, 0},
                      NumberCase{"1,,5", ',', Word, 0}));

// --- Small texts: what else is read ------------------------------------------

struct TextCase {
  const char* title;
  std::string text;
  const char* format;
  std::vector<std::string> names;
  std::vector<double> cells;  // all of them, row by row
  bool commaDecimals = false;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.title; }

class Texts : public ::testing::TestWithParam<TextCase> {};

TEST_P(Texts, Read) {
  const TextCase& c = GetParam();
  const ReadResult r = ReadPastedMatrix(c.text);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.matrix.format, c.format);
  EXPECT_EQ(r.matrix.names, c.names);
  EXPECT_EQ(r.matrix.cells, c.cells);
  EXPECT_EQ(r.matrix.size * r.matrix.size, c.cells.size());
  EXPECT_EQ(r.matrix.commaDecimals, c.commaDecimals);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Texts,
    ::testing::Values(
        TextCase{"unicode minus", "1 \xE2\x88\x92" "0.5\n\xE2\x88\x92" ".5 2", "bare numbers", {}, {1, -0.5, -0.5, 2}},
        TextCase{"exponents", "1E-3 -2.5e-4\n-2.5E-04 4e+00", "bare numbers", {}, {1e-3, -2.5e-4, -2.5e-4, 4}},
        TextCase{"points without digits on one side", ".5 -.25\n-.25 5.", "bare numbers", {}, {.5, -.25, -.25, 5}},
        TextCase{"a plus sign", "+1 0\n0 +2", "bare numbers", {}, {1, 0, 0, 2}},
        TextCase{"below the smallest double: zero", "1 1e-400\n1e-400 1", "bare numbers", {}, {1, 0, 0, 1}},
        TextCase{"subnormal", "4.9406564584124654e-324", "bare numbers", {}, {4.9406564584124654e-324}},
        TextCase{"one number", "0.25", "bare numbers", {}, {0.25}},
        TextCase{"decimal commas in bare tab-separated numbers", "0,5\t0,25\n0,25\t2", "bare numbers", {},
                 {0.5, 0.25, 0.25, 2}, true},
        TextCase{"whole numbers in tab-separated text: no commas read", "2\t1\n1\t2", "bare numbers", {},
                 {2, 1, 1, 2}, false},
        TextCase{"within the tolerance: the mean", "1 0.5\n0.500001 1", "bare numbers", {},
                 {1, 0.5 / 2 + 0.500001 / 2, 0.5 / 2 + 0.500001 / 2, 1}}));

INSTANTIATE_TEST_SUITE_P(
    TextAround, Texts,
    ::testing::Values(
        TextCase{"CR LF line ends and a byte-order mark", "\xEF\xBB\xBF" "\tx\tz\r\nx\t1\t0.5\r\nz\t0.5\t2\r\n",
                 "a tab-separated table", {"x", "z"}, {1, 0.5, 0.5, 2}},
        TextCase{"no-break spaces", "x\xC2\xA0" "1\xC2\xA0" "0\nz 0 1", "R's print", {"x", "z"}, {1, 0, 0, 1}},
        TextCase{"R's prompt echoed", "> vcov(fit)\n   a   b\na  1  0\nb  0  1\n> ", "R's print", {"a", "b"},
                 {1, 0, 0, 1}},
        TextCase{"blank lines around", "\n\n  1 0\n\n  0 1\n\n", "bare numbers", {}, {1, 0, 0, 1}},
        TextCase{"trailing tabs of a spreadsheet row", "1\t0\t\n0\t1\t\t\n", "bare numbers", {}, {1, 0, 0, 1}}));

INSTANTIATE_TEST_SUITE_P(
    Names, Texts,
    ::testing::Values(
        TextCase{"column names only", "x z\n1 .5\n.5 2", "R's print", {"x", "z"}, {1, .5, .5, 2}},
        TextCase{"row names only", "x 1 .5\nz .5 2", "R's print", {"x", "z"}, {1, .5, .5, 2}},
        TextCase{"a corner label", "term,x,z\nx,1,.5\nz,.5,2", "a comma-separated table", {"x", "z"},
                 {1, .5, .5, 2}},
        TextCase{"columns in another order than the rows", "\tz\tx\nx\t0.5\t1\nz\t2\t0.5", "a tab-separated table",
                 {"x", "z"}, {1, .5, .5, 2}},
        TextCase{"a named lower triangle in a spreadsheet", "\tx\tz\nx\t1\nz\t.5\t2", "a tab-separated table",
                 {"x", "z"}, {1, .5, .5, 2}},
        TextCase{"quoted names with a comma and a quote", "\"\",\"a, b\",\"c\"\"\"\n\"a, b\",1,0\n\"c\"\"\",0,1",
                 "R's write.csv", {"a, b", "c\""}, {1, 0, 0, 1}}));

// Comma-separated numbers are read where they stand when only blanks follow
// them to the comma; anything else after a number makes the cell a word.
INSTANTIATE_TEST_SUITE_P(
    CommaCells, Texts,
    ::testing::Values(
        TextCase{"blanks around the numbers", " 1 , -.5 \n -.5 ,2  ", "bare numbers", {},
                 {1, -.5, -.5, 2}},
        TextCase{"exponents, a plus sign, a bare point", "1e-3,+2.5E+1\n25.,4", "bare numbers", {},
                 {1e-3, 25, 25, 4}},
        TextCase{"a number below the double range is a zero", "1,1e-400\n1e-400,1", "bare numbers", {},
                 {1, 0, 0, 1}}));

INSTANTIATE_TEST_SUITE_P(
    StataVariants, Texts,
    ::testing::Values(
        TextCase{"no header line", "            x       _cons\n    x   .25\n_cons  -.125   1.5",
                 "Stata's matrix list", {"x", "_cons"}, {.25, -.125, -.125, 1.5}},
        TextCase{"the command echoed, a row name broken over two lines",
                 ". matrix list e(V)\n\nsymmetric e(V)[2,2]\n                      c.weight#\n"
                 "                       c.length       _cons\nc.weight#\n  c.length   1.234e-07\n"
                 "     _cons  -.00212213   2.5",
                 "Stata's matrix list", {"c.weight#c.length", "_cons"}, {1.234e-07, -.00212213, -.00212213, 2.5}},
        TextCase{"the full matrix (nohalf)", "symmetric e(V)[2,2]\n        x   _cons\n    x  .5  .25\n_cons .25  2",
                 "Stata's matrix list", {"x", "_cons"}, {.5, .25, .25, 2}},
        TextCase{"omitted term o.x", "symmetric e(V)[3,3]\n   x   o.z   _cons\nx  1\no.z  0  0\n_cons  .5  0  2",
                 "Stata's matrix list", {"x", "_cons"}, {1, .5, .5, 2}}));

INSTANTIATE_TEST_SUITE_P(
    SpssVariants, Texts,
    ::testing::Values(
        // Two models: the covariance block of the last one is taken.
        TextCase{"two models",
                 "Model\t\t\tX\n1\tCorrelations\tX\t1.000\n\tCovariances\tX\t.500\n"
                 "2\tCorrelations\tXZ\t1.000\t.1\n\t\tX\t.1\t1.000\n\tCovariances\tXZ\t.040\t.002\n\t\tX\t.002\t.250\n"
                 "a. Dependent Variable: y",
                 "SPSS's coefficient correlations", {"X", "XZ"}, {.250, .002, .002, .040}},
        TextCase{"a covariance block alone", "Covariances  Z  2.0  -1.234E-5\n             X  -1.234E-5  .012",
                 "SPSS's coefficient correlations", {"X", "Z"}, {.012, -1.234E-5, -1.234E-5, 2.0}},
        // The label in any case, as a user may have retyped it.
        TextCase{"the label as CoVariances", "CoVariances  Z  2.0  -1.234E-5\n             X  -1.234E-5  .012",
                 "SPSS's coefficient correlations", {"X", "Z"}, {.012, -1.234E-5, -1.234E-5, 2.0}},
        TextCase{"the label as COVariance, tab-separated", "\tCOVariance\tZ\t2.0\t.1\n\t\tX\t.1\t.5\n",
                 "SPSS's coefficient correlations", {"X", "Z"}, {.5, .1, .1, 2.0}}));

// --- Errors ------------------------------------------------------------------

struct ErrorCase {
  const char* title;
  std::string text;
  std::string error;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.title; }

class Errors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(Errors, TellWhatIsWrong) {
  const ReadResult r = ReadPastedMatrix(GetParam().text);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    EmptyText, Errors,
    ::testing::Values(ErrorCase{"nothing", "", "The text is empty: paste a covariance matrix."},
                      ErrorCase{"blanks and line ends", " \t\n\r\n  \n",
                                "The text is empty: paste a covariance matrix."},
                      ErrorCase{"only the prompt", "> ", "The text is empty: paste a covariance matrix."},
                      ErrorCase{"words only", "hello there", "The text has no numbers."}));

INSTANTIATE_TEST_SUITE_P(
    Cells, Errors,
    ::testing::Values(
        ErrorCase{"a word among the numbers", "1 2\n2 abc", "Row 2, column 2: \"abc\" is not a number."},
        ErrorCase{"R's NA, with the row's name", "   a   b\na  1  NA\nb  NA  1",
                  "Row 1 (a), column 2: \"NA\" is not a number."},
        ErrorCase{"a word in the first column of bare numbers", "1 2\nabc 1",
                  "Row 2, column 1: \"abc\" is not a number."},
        ErrorCase{"an empty cell", "1\t\t2\n2\t1\t1\n2\t1\t1", "Row 1, column 2 is empty."},
        ErrorCase{"a decimal comma where a number has a full stop", "0,5\t0.1\n0.1\t2",
                  "Row 1, column 1: \"0,5\" is not a number (a decimal comma is read only in tab-separated text in "
                  "which no number has a full stop)."},
        ErrorCase{"a decimal comma in blank-separated text", "0,5 1\n1 2",
                  "Row 1, column 2: \"5 1\" is not a number."},
        ErrorCase{"beyond the double range", "1e999 0\n0 1",
                  "Row 1, column 1: \"1e999\" is beyond the range of double-precision numbers."},
        ErrorCase{"beyond the double range, negative", "1 -1.8e308\n-1.8e308 1",
                  "Row 1, column 2: \"-1.8e308\" is beyond the range of double-precision numbers."},
        ErrorCase{"a number and a word in one comma-separated cell", "1,2 x\n2,1",
                  "Row 1, column 2: \"2 x\" is not a number."},
        ErrorCase{"a number run into a word in a comma-separated cell", "1,2x\n2,1",
                  "Row 1, column 2: \"2x\" is not a number."},
        ErrorCase{"beyond the double range in a comma-separated cell", "1,-1e999\n-1e999,1",
                  "Row 1, column 2: \"-1e999\" is beyond the range of double-precision numbers."},
        ErrorCase{"Stata's missing value", "symmetric e(V)[2,2]\n   x  _cons\nx  .\n_cons  0  1",
                  "Row 1 (x), column 1: \".\" is not a number."}));

INSTANTIATE_TEST_SUITE_P(
    Shape, Errors,
    ::testing::Values(
        ErrorCase{"rows of unequal length", "1 2 3\n2 1\n3 1 1",
                  "Row 2 has 2 numbers, row 1 has 3: the rows are of unequal length."},
        ErrorCase{"a broken lower triangle", "1\n2 1\n3 1",
                  "Row 3 has 2 numbers, where row 3 of a lower triangle has 3: the rows are of unequal length."},
        ErrorCase{"not square", "1 2\n2 1\n3 3", "The matrix is not square: it has 3 rows of 2 numbers."},
        ErrorCase{"one row", "1 2", "The matrix is not square: it has 1 row of 2 numbers."},
        ErrorCase{"more names than columns", "a b c\n1 0\n0 1",
                  "The first line names 3 columns, but the matrix has 2."},
        ErrorCase{"a column block with fewer rows", "   a   b\na  1  0\nb  0  1\n   c\na  0\n",
                  "The column block that starts on line 4 has 1 row, the first has 2."},
        ErrorCase{"Stata's header against the rows", "symmetric e(V)[3,3]\n   x  _cons\nx  1\n_cons  0  1",
                  "Stata's header \"e(V)[3,3]\" gives 3 rows, but 2 were read."},
        ErrorCase{"Stata's header not square", "e(V)[2,3]\n   x  _cons\nx  1\n_cons  0  1",
                  "The matrix is not square: Stata's header \"e(V)[2,3]\" gives 2 rows and 3 columns."},
        ErrorCase{"Stata's triangle with a number missing", "symmetric e(V)[2,2]\n   x  _cons\nx  1\n_cons  0",
                  "Row 2 (_cons), column 2 (_cons) is missing: the rows are of unequal length for a lower triangle."},
        ErrorCase{"an SPSS block with a row too short",
                  "\tCovariances\tZ\t2.0\t.1\n\t\tX\t.1\n",
                  "Row 2 (X) of the covariance block has 1 number, row 1 has 2: the rows are of unequal length."}));

INSTANTIATE_TEST_SUITE_P(
    Names, Errors,
    ::testing::Values(
        // A repeated column name is told as one: "every column needs ...".
        ErrorCase{"a name given twice", "\tx\tx\nx\t1\t0\nx\t0\t1",
                  "The name \"x\" is given to columns 1 and 2; every column needs a name of its own."},
        ErrorCase{"a column name given twice, no row names", "x  y  x\n1  0  0\n0  1  0\n0  0  1",
                  "The name \"x\" is given to columns 1 and 3; every column needs a name of its own."},
        ErrorCase{"a column name given twice in R's write.csv",
                  "\"\",\"a\",\"b\",\"b\"\n\"a\",1,0,0\n\"b\",0,1,0\n\"c\",0,0,1",
                  "The name \"b\" is given to columns 2 and 3; every column needs a name of its own."},
        ErrorCase{"a row name given twice", "x 1 0 0\nz 0 1 0\nx 0 0 1",
                  "The name \"x\" is given to rows 1 and 3; every row needs a name of its own."},
        ErrorCase{"a row without a name", "\tx\tz\nx\t1\t0\n\t0\t1",
                  "Row 2 has no name, where the other rows have one."},
        ErrorCase{"rows and columns named differently", "\tx\tz\nx\t1\t0\nv\t0\t1",
                  "Column 2 is named \"z\", but row 2 is named \"v\": the rows and columns must name the same "
                  "weights."},
        ErrorCase{"a Stata block naming another row",
                  "symmetric e(V)[2,2]\n   x\nx  1\n_cons  0\n\n   _cons\nq  1",
                  "The row \"q\" on line 7 is not among the rows of the first column block."}));

INSTANTIATE_TEST_SUITE_P(
    Values, Errors,
    ::testing::Values(
        ErrorCase{"not symmetric", "1 0.5\n0.4 1",
                  "The matrix is not symmetric: row 2, column 1 holds 0.4 but row 1, column 2 holds 0.5."},
        ErrorCase{"not symmetric, with names", "   a   b\na  1  0.5\nb  0.4  1",
                  "The matrix is not symmetric: row 2 (b), column 1 (a) holds 0.4 but row 1 (a), column 2 (b) holds "
                  "0.5."},
        ErrorCase{"just beyond the tolerance", "1 0.5\n0.50002 1",
                  "The matrix is not symmetric: row 2, column 1 holds 0.50002 but row 1, column 2 holds 0.5."},
        ErrorCase{"a zero variance leaves no tolerance", "0 1e-300\n0 1",
                  "The matrix is not symmetric: row 2, column 1 holds 0 but row 1, column 2 holds 1e-300."},
        ErrorCase{"a negative variance", "1 0\n0 -0.25",
                  "Row 2: the variance -0.25 is negative; a covariance matrix has no negative numbers on its "
                  "diagonal."},
        ErrorCase{"a negative variance, named", "   a   b\na  1  0\nb  0  -2",
                  "Row 2 (b): the variance -2 is negative; a covariance matrix has no negative numbers on its "
                  "diagonal."}));

TEST(ReadPastedMatrix, TheToleranceIsRelativeToTheVariances) {
  // 1e-5 * sqrt(4e6 * 1e6) = 20: a difference of 19 is within it.
  const ReadResult r = ReadPastedMatrix("4e6 1000\n1019 1e6");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.matrix.At(0, 1), 1009.5);
  EXPECT_EQ(r.matrix.At(1, 0), 1009.5);
  EXPECT_EQ(r.matrix.averaged, 1u);
  EXPECT_FALSE(ReadPastedMatrix("4e6 1000\n1021 1e6").ok);
}

// --- Written out and read back ------------------------------------------------

TEST(WriteMatrix, ReadsBackToTheSameNumbersAndNames) {
  for (const char* file : {"r_print_wide16.txt", "r_csv_mixed3.csv", "stata_mixed3.txt", "bare_quant_lower.txt"}) {
    const ReadResult r = ReadPastedMatrix(ReadSample(file));
    ASSERT_TRUE(r.ok) << file << ": " << r.error;
    const std::string text = WriteMatrix(r.matrix);
    const ReadResult back = ReadPastedMatrix(text);
    ASSERT_TRUE(back.ok) << file << ": " << back.error << "\n" << text;
    EXPECT_EQ(back.matrix.format, "a tab-separated table");
    ASSERT_EQ(back.matrix.size, r.matrix.size);
    for (std::size_t k = 0; k < r.matrix.cells.size(); ++k) {
      EXPECT_EQ(std::memcmp(&back.matrix.cells[k], &r.matrix.cells[k], sizeof(double)), 0) << file << " cell " << k;
    }
    if (r.matrix.names.empty()) {
      for (std::size_t i = 0; i < r.matrix.size; ++i) EXPECT_EQ(back.matrix.names[i], "row " + std::to_string(i + 1));
    } else {
      EXPECT_EQ(back.matrix.names, r.matrix.names) << file;
    }
  }
}

TEST(WriteMatrix, TabsNamesAndSeventeenDigits) {
  PastedMatrix m;
  m.size = 2;
  m.cells = {0.1, -0.0, -0.0, 1e-300};
  EXPECT_EQ(WriteMatrix(m), "\trow 1\trow 2\nrow 1\t0.10000000000000001\t-0\nrow 2\t-0\t1e-300\n");
}

// --- Which row is which weight ----------------------------------------------

using K = WeightSlot::Kind;

// The weight layouts of the forms, in their order (R's for y ~ x * z and alike).
const std::vector<WeightSlot> kQuant = {{K::Constant, {}}, {K::Main, {}}, {K::Main, {}}, {K::Product, {1, 2}}};
const std::vector<WeightSlot> kMixed3 = {{K::Constant, {}}, {K::Main, {}},         {K::Main, {}},
                                         {K::Main, {}},     {K::Product, {1, 2}}, {K::Product, {1, 3}}};
const std::vector<WeightSlot> kQuant3 = {{K::Constant, {}},    {K::Main, {}},        {K::Main, {}},
                                         {K::Main, {}},        {K::Product, {1, 2}}, {K::Product, {1, 3}},
                                         {K::Product, {2, 3}}, {K::Product, {1, 2, 3}}};
const std::vector<WeightSlot> kIncomplete = {{K::Constant, {}},    {K::Main, {}}, {K::Main, {}},
                                             {K::Product, {1, 2}}, {K::Held, {}}, {K::Held, {}}};

struct MappingCase {
  const char* title;
  std::vector<WeightSlot> weights;
  std::vector<std::string> names;
  std::size_t rows;
  std::vector<int> expected;
};

void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.title; }

class Mapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(Mapping, Guess) {
  const MappingCase& c = GetParam();
  const std::vector<int> map = GuessMapping(c.weights, c.names, c.rows);
  EXPECT_EQ(map, c.expected);
  // Never one row for two weights, never a row that is not there.
  std::vector<int> used;
  for (int r : map) {
    if (r < 0) continue;
    EXPECT_LT(static_cast<std::size_t>(r), c.rows);
    EXPECT_EQ(std::count(used.begin(), used.end(), r), 0) << "row " << r << " twice";
    used.push_back(r);
  }
}

INSTANTIATE_TEST_SUITE_P(
    RNames, Mapping,
    ::testing::Values(
        MappingCase{"Quant", kQuant, {"(Intercept)", "x", "z", "x:z"}, 4, {0, 1, 2, 3}},
        MappingCase{"Mixed2", kQuant, {"(Intercept)", "x", "g", "x:g"}, 4, {0, 1, 2, 3}},
        MappingCase{"Mixed3", kMixed3, kMixed3Names, 6, {0, 1, 2, 3, 4, 5}},
        MappingCase{"Mixed3, products written factor first",
                    kMixed3,
                    {"(Intercept)", "x", "Speciesversicolor", "Speciesvirginica", "Speciesvirginica:x",
                     "Speciesversicolor:x"},
                    6,
                    {0, 1, 2, 3, 5, 4}},
        MappingCase{"Quant3", kQuant3, kQuant3Names, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        // The names cannot tell which variable is the form's Z: the main
        // effects go in the names' order, the products follow their parts.
        MappingCase{"Quant3, fitted as y ~ x * v * z", kQuant3,
                    {"(Intercept)", "x", "v", "z", "x:v", "x:z", "v:z", "x:v:z"}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        MappingCase{"Quant3, products in another order", kQuant3,
                    {"(Intercept)", "x", "z", "v", "z:v", "x:v", "x:z", "x:z:v"}, 8, {0, 1, 2, 3, 6, 5, 4, 7}},
        MappingCase{"Incomplete", kIncomplete, {"(Intercept)", "x", "z", "t1", "t2", "x:z"}, 6, {0, 1, 2, 5, 3, 4}},
        MappingCase{"Incomplete, a held product", kIncomplete, {"(Intercept)", "x", "z", "t1", "x:z", "t1:x"}, 6,
                    {0, 1, 2, 4, 3, 5}}));

INSTANTIATE_TEST_SUITE_P(
    StataNames, Mapping,
    ::testing::Values(
        MappingCase{"Quant", kQuant, {"x", "z", "c.x#c.z", "_cons"}, 4, {3, 0, 1, 2}},
        MappingCase{"Mixed2, a factor", kQuant, {"x", "1.g", "1.g#c.x", "_cons"}, 4, {3, 0, 1, 2}},
        MappingCase{"Mixed2, levels compared without their number", kQuant, {"x", "g", "1.g#c.x", "_cons"}, 4,
                    {3, 0, 1, 2}},
        MappingCase{"Mixed3", kMixed3, {"x", "2.species", "3.species", "2.species#c.x", "3.species#c.x", "_cons"}, 6,
                    {5, 0, 1, 2, 3, 4}},
        MappingCase{"Mixed3, the products first", kMixed3,
                    {"x", "2.species", "3.species", "3.species#c.x", "2.species#c.x", "_cons"}, 6,
                    {5, 0, 1, 2, 4, 3}},
        MappingCase{"Quant3", kQuant3,
                    {"x", "z", "c.x#c.z", "v", "c.x#c.v", "c.z#c.v", "c.x#c.z#c.v", "_cons"}, 8,
                    {7, 0, 1, 3, 2, 4, 5, 6}},
        MappingCase{"Incomplete", kIncomplete, {"x", "z", "c.x#c.z", "t1", "1.t2", "_cons"}, 6, {5, 0, 1, 2, 3, 4}}));

// SPSS leaves out the constant: one row fewer than weights.
INSTANTIATE_TEST_SUITE_P(
    SpssNamesWithoutConstant, Mapping,
    ::testing::Values(
        MappingCase{"Quant", kQuant, {"X", "Z", "XZ"}, 3, {-1, 0, 1, 2}},
        MappingCase{"Quant, the product entered second", kQuant, {"X", "X_Z", "Z"}, 3, {-1, 0, 2, 1}},
        MappingCase{"Quant, a product named otherwise", kQuant, {"X", "Z", "inter"}, 3, {-1, 0, 1, 2}},
        MappingCase{"Mixed3", kMixed3, {"X", "DC1", "DC2", "XDC1", "XDC2"}, 5, {-1, 0, 1, 2, 3, 4}},
        MappingCase{"Quant3", kQuant3, {"X", "Z", "V", "XZ", "XV", "ZV", "XZV"}, 7, {-1, 0, 1, 2, 3, 4, 5, 6}},
        MappingCase{"Quant3, lower case and another order", kQuant3, {"x", "z", "v", "zv", "xv", "xz", "xzv"}, 7,
                    {-1, 0, 1, 2, 5, 4, 3, 6}},
        MappingCase{"Incomplete", kIncomplete, {"X", "Z", "T1", "T2", "XZ"}, 5, {-1, 0, 1, 4, 2, 3}}));

INSTANTIATE_TEST_SUITE_P(
    NoNames, Mapping,
    ::testing::Values(
        MappingCase{"Quant", kQuant, {}, 4, {0, 1, 2, 3}},
        MappingCase{"Quant, one row short: no constant", kQuant, {}, 3, {-1, 0, 1, 2}},
        MappingCase{"Quant, two rows short", kQuant, {}, 2, {0, 1, -1, -1}},
        MappingCase{"Quant, rows to spare", kQuant, {}, 5, {0, 1, 2, 3}},
        MappingCase{"Mixed3", kMixed3, {}, 6, {0, 1, 2, 3, 4, 5}},
        MappingCase{"Mixed3, one short", kMixed3, {}, 5, {-1, 0, 1, 2, 3, 4}},
        MappingCase{"Quant3", kQuant3, {}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        MappingCase{"Quant3, one short", kQuant3, {}, 7, {-1, 0, 1, 2, 3, 4, 5, 6}},
        MappingCase{"Incomplete", kIncomplete, {}, 6, {0, 1, 2, 3, 4, 5}},
        MappingCase{"Incomplete, one short", kIncomplete, {}, 5, {-1, 0, 1, 2, 3, 4}},
        MappingCase{"empty matrix", kQuant, {}, 0, {-1, -1, -1, -1}},
        // Names of the user's own that say nothing: by position.
        MappingCase{"the form's boxes as names", kQuant, {"a", "bx", "bz", "bxz"}, 4, {0, 1, 2, 3}},
        MappingCase{"the rows named by WriteMatrix", kQuant, {"row 1", "row 2", "row 3", "row 4"}, 4, {0, 1, 2, 3}},
        MappingCase{"names not one per row", kQuant, {"(Intercept)", "x"}, 4, {0, 1, 2, 3}}));

INSTANTIATE_TEST_SUITE_P(
    Leftovers, Mapping,
    ::testing::Values(
        MappingCase{"a second intercept name goes nowhere", kQuant, {"(Intercept)", "_cons", "x", "z", "x:z"}, 5,
                    {0, 2, 3, 4}},
        MappingCase{"a main effect missing", kQuant, {"(Intercept)", "x", "x:z"}, 3, {0, 1, -1, 2}},
        MappingCase{"more mains than the form has", kQuant, {"(Intercept)", "x", "z", "w", "x:z"}, 5, {0, 1, 2, 4}},
        MappingCase{"the constant last, R's names", kQuant, {"x", "z", "x:z", "(Intercept)"}, 4, {3, 0, 1, 2}}));

TEST(GuessMapping, NamesThatRunTogetherInManyWaysEndQuickly) {
  // "a" ... "aaaa...a": every name is a run-together of others in very many
  // ways; the search is bounded and every row still goes to one weight at most.
  std::vector<std::string> names;
  for (int k = 1; k <= 40; ++k) names.push_back(std::string(static_cast<std::size_t>(k), 'a'));
  const std::vector<int> map = GuessMapping(kQuant3, names, names.size());
  ASSERT_EQ(map.size(), kQuant3.size());
  std::vector<int> used;
  for (int r : map) {
    if (r < 0) continue;
    EXPECT_EQ(std::count(used.begin(), used.end(), r), 0);
    used.push_back(r);
  }
}

TEST(IsInterceptName, TheNamesOfThePackages) {
  for (const char* n : {"(Intercept)", "Intercept", "_cons", "const", "Constant", "(Constant)", " (Intercept) ",
                        "CONSTANT", "intercept"}) {
    EXPECT_TRUE(IsInterceptName(n)) << n;
  }
  for (const char* n : {"", "x", "cons", "(Intercept", "b0", "_cons_", "Intercepts"}) {
    EXPECT_FALSE(IsInterceptName(n)) << n;
  }
}

}  // namespace
}  // namespace marvane::stats

namespace marvane::stats {
namespace {

// --- R's matrices of seven fits, in every layout R printed or wrote them -----
//
// tests/data/models/make_models.R made them: print(vcov(fit)), the same with
// digits = 3, write.csv and write.csv2 of it, and cov2cor(vcov(fit)). Each is
// compared with R's write.csv of the same fit to the digits R printed.

std::string ModelSample(const std::string& file) {
  std::ifstream in(std::string(MARVANE_MODEL_DATA) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << "no sample " << file;
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct FitLayout {
  const char* file;    // after "<fit>_<order>_"
  const char* format;
  bool commaDecimals, correlations;
  int mostDigits;      // PastedMatrix::digits is at most this (and at least 1)
  double relative;     // the cells agree with write.csv to this, relative to the entry
};

const FitLayout kFitLayouts[] = {
    {"vcov.txt", "R's print", false, false, 7, 5e-7},
    {"vcov3.txt", "R's print", false, false, 3, 5e-3},
    {"vcov.csv", "R's write.csv", false, false, 15, 0},
    {"vcov2.csv", "R's write.csv2", true, false, 15, 0},
    {"cor.txt", "R's print", false, true, 7, 5e-7},
};

TEST(ReadPastedMatrix, TheSevenFitsInEveryLayoutInBothOrders) {
  for (const char* fit : {"airquality", "toothgrowth", "chickweight", "savings", "savings6", "stackloss", "swiss"}) {
    for (const char* order : {"a", "b"}) {
      const std::string stem = std::string(fit) + "_" + order + "_";
      const ReadResult csv = ReadPastedMatrix(ModelSample(stem + "vcov.csv"));
      ASSERT_TRUE(csv.ok) << csv.error;
      const PastedMatrix& v = csv.matrix;
      for (const FitLayout& l : kFitLayouts) {
        const std::string what = stem + l.file;
        const ReadResult r = ReadPastedMatrix(ModelSample(stem + l.file));
        ASSERT_TRUE(r.ok) << what << ": " << r.error;
        const PastedMatrix& m = r.matrix;
        EXPECT_EQ(m.format, l.format) << what;
        EXPECT_EQ(m.names, v.names) << what;
        EXPECT_EQ(m.commaDecimals, l.commaDecimals) << what;
        EXPECT_EQ(m.looksLikeCorrelations, l.correlations) << what;
        EXPECT_GE(m.digits, 1) << what;
        EXPECT_LE(m.digits, l.mostDigits) << what;
        for (std::size_t i = 0; i < m.size; ++i) {
          for (std::size_t j = 0; j < m.size; ++j) {
            // cov2cor: V_ij / sqrt(V_ii V_jj).
            const double want = l.correlations ? v.At(i, j) / std::sqrt(v.At(i, i) * v.At(j, j)) : v.At(i, j);
            EXPECT_EQ(m.At(i, j), m.At(j, i)) << what;
            EXPECT_NEAR(m.At(i, j), want, l.relative * std::fabs(want) + 1e-15 * std::fabs(v.At(i, i)))
                << what << " cell " << i + 1 << "," << j + 1;
          }
        }
      }
    }
  }
}

// --- Semicolons, printed digits, correlations ----------------------------------

struct AdditionCase {
  const char* title;
  std::string text;
  const char* format;
  std::vector<std::string> names;
  std::vector<double> cells;
  bool commaDecimals;
  int digits;
  bool correlations;
  std::size_t averaged = 0;
};

void PrintTo(const AdditionCase& c, std::ostream* os) { *os << c.title; }

class Additions : public ::testing::TestWithParam<AdditionCase> {};

TEST_P(Additions, Read) {
  const AdditionCase& c = GetParam();
  const ReadResult r = ReadPastedMatrix(c.text);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.matrix.format, c.format);
  EXPECT_EQ(r.matrix.names, c.names);
  EXPECT_EQ(r.matrix.cells, c.cells);
  EXPECT_EQ(r.matrix.commaDecimals, c.commaDecimals);
  EXPECT_EQ(r.matrix.digits, c.digits);
  EXPECT_EQ(r.matrix.looksLikeCorrelations, c.correlations);
  EXPECT_EQ(r.matrix.averaged, c.averaged);
}

INSTANTIATE_TEST_SUITE_P(
    Semicolons, Additions,
    ::testing::Values(
        AdditionCase{"R's write.csv2", "\"\";\"a\";\"b\"\n\"a\";0,5;-0,25\n\"b\";-0,25;2\n", "R's write.csv2",
                     {"a", "b"}, {0.5, -0.25, -0.25, 2}, true, 1, false},
        AdditionCase{"a semicolon table with a corner word and full stops", "term;a;b\na;0.5;0.1\nb;0.1;2\n",
                     "a semicolon-separated table", {"a", "b"}, {0.5, 0.1, 0.1, 2}, false, 1, false},
        AdditionCase{"bare numbers with semicolons", "4;1,5\n1,5;9\n", "bare numbers", {}, {4, 1.5, 1.5, 9}, true, 1,
                     false},
        // A comma inside a quoted name is no separator, and neither is it in a semicolon table.
        AdditionCase{"a name with a comma", "\"\";\"poly(wt, 2)1\"\n\"poly(wt, 2)1\";0,125\n", "R's write.csv2",
                     {"poly(wt, 2)1"}, {0.125}, true, 3, false}));

// R prints every column of a matrix in one shape; a pair that agrees to the
// digits of both entries is symmetric, however few they are.
INSTANTIATE_TEST_SUITE_P(
    PrintedDigits, Additions,
    ::testing::Values(
        // 0.1234 and 0.123 agree to three digits (a half unit of each: 0.00005 + 0.0005); 1e-5 of the variances
        // would not hold them.
        AdditionCase{"columns of four and three decimals", "        a      b\na  1.0000  0.123\nb  0.1234  2.000\n",
                     "R's print", {"a", "b"}, {1, 0.1234 / 2 + 0.123 / 2, 0.1234 / 2 + 0.123 / 2, 2}, false, 3, false,
                     1},
        AdditionCase{"columns in exponent form", "          a        b\na  1.23e-04 -4.6e-06\nb -4.57e-06  8.1e-05\n",
                     "R's print", {"a", "b"}, {1.23e-4, -4.57e-6 / 2 + -4.6e-6 / 2, -4.57e-6 / 2 + -4.6e-6 / 2, 8.1e-5},
                     false, 2, false, 1},
        // Digits: the fewest of a cell that is not zero.
        AdditionCase{"the fewest digits", "0.2500 0.0000\n0.0000 12.5\n", "bare numbers", {}, {0.25, 0, 0, 12.5},
                     false, 3, false},
        AdditionCase{"all zero", "0 0\n0 0\n", "bare numbers", {}, {0, 0, 0, 0}, false, 0, false}));

INSTANTIATE_TEST_SUITE_P(
    Correlations, Additions,
    ::testing::Values(
        AdditionCase{"a unit diagonal", "1 -0.5\n-0.5 1\n", "bare numbers", {}, {1, -0.5, -0.5, 1}, false, 1, true},
        AdditionCase{"a unit diagonal printed to seven digits", "1.0000000 0.6565400\n0.6565400 1.0000000\n",
                     "bare numbers", {}, {1, 0.65654, 0.65654, 1}, false, 7, true},
        AdditionCase{"an entry beyond 1", "1 1.5\n1.5 1\n", "bare numbers", {}, {1, 1.5, 1.5, 1}, false, 1, false},
        AdditionCase{"a variance not 1", "1 0.5\n0.5 2\n", "bare numbers", {}, {1, 0.5, 0.5, 2}, false, 1, false},
        AdditionCase{"one variance of 1", "1", "bare numbers", {}, {1}, false, 1, false}));

struct AdditionError {
  const char* title;
  std::string text;
  std::string error;
};

void PrintTo(const AdditionError& c, std::ostream* os) { *os << c.title; }

class AdditionErrors : public ::testing::TestWithParam<AdditionError> {};

TEST_P(AdditionErrors, TellWhatIsWrong) {
  const ReadResult r = ReadPastedMatrix(GetParam().text);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Additions, AdditionErrors,
    ::testing::Values(
        // 0.1264 and 0.123 differ by more than their printed digits allow.
        AdditionError{"beyond the printed digits", "        a      b\na  1.0000  0.123\nb  0.1264  2.000\n",
                      "The matrix is not symmetric: row 2 (b), column 1 (a) holds 0.1264 but row 1 (a), column 2 (b) "
                      "holds 0.123."},
        // Equal digits that differ by one unit: a symmetric matrix prints the same number twice.
        AdditionError{"one unit apart at the same digits", "      a     b\na  1.00  0.12\nb  0.13  2.00\n",
                      "The matrix is not symmetric: row 2 (b), column 1 (a) holds 0.13 but row 1 (a), column 2 (b) "
                      "holds 0.12."},
        AdditionError{"a decimal comma in semicolon text with full stops", "0,5;0.1\n0.1;2\n",
                      "Row 1, column 1: \"0,5\" is not a number (a decimal comma is read only in tab- or "
                      "semicolon-separated text in which no number has a full stop)."}));

}  // namespace
}  // namespace marvane::stats
