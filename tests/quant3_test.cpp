// The three-predictor computation and the layout of its form, without a
// window. Expected values come from the worked example (each value rounded to
// double by hand, step by step) and from small whole numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/form_design.h"
#include "models/quant3.h"
#include "shell/fault.h"

namespace marvane {
namespace {

// bx=1, bz=2, bv=3, bxz=0.5, bxv=0.25, bzv=0.1, bxzv=0.05, a=10, stdx=2,
// stdz=1, stdv=4.
constexpr Quant3Inputs kWorked{.bx = 1, .bz = 2, .bv = 3, .bxz = 0.5, .bxv = 0.25, .bzv = 0.1,
                               .bxzv = 0.05, .a = 10, .stdx = 2, .stdz = 1, .stdv = 4};

struct WorkedRow {
  int k;
  SimpleEffectLine line;  // slope, intercept, x1, y1, x2, y2
};

void PrintTo(const WorkedRow& r, std::ostream* os) { *os << "row " << r.k; }

class Quant3WorkedExample : public ::testing::TestWithParam<WorkedRow> {};

// Every value to the last bit. Row 2's intercept is 10 + ((2 - 12) - 0.4):
// -10 - 0.4 rounds to -10.4 (a little below), and adding 10 leaves
// -0.40000000000000036, not the double nearest -0.4.
TEST_P(Quant3WorkedExample, ExactDoubles) {
  const WorkedRow& row = GetParam();
  const SimpleEffectLine got = Quant3Row(kWorked, row.k);
  EXPECT_EQ(got.slope, row.line.slope);
  EXPECT_EQ(got.intercept, row.line.intercept);
  EXPECT_EQ(got.x1, row.line.x1);
  EXPECT_EQ(got.y1, row.line.y1);
  EXPECT_EQ(got.x2, row.line.x2);
  EXPECT_EQ(got.y2, row.line.y2);
  EXPECT_EQ(ComputeQuant3Lines(kWorked)[static_cast<std::size_t>(row.k - 1)], row.line);
}

INSTANTIATE_TEST_SUITE_P(
    Quant3, Quant3WorkedExample,
    ::testing::Values(
        // 2.7, 24.4, -2, 19, 2, 29.799999999999997
        WorkedRow{1, {0x1.599999999999ap+1, 0x1.8666666666666p+4, -2, 19, 2, 0x1.dccccccccccccp+4}},
        // 0.3, -0.40000000000000036, -2, -1.0000000000000004, 2, 0.19999999999999962
        WorkedRow{2, {0x1.3333333333333p-2, -0x1.99999999999a0p-2, -2, -0x1.0000000000002p+0, 2,
                      0x1.999999999998cp-3}},
        // 1.3, 19.6, -2, 17, 2, 22.200000000000003
        WorkedRow{3, {0x1.4cccccccccccdp+0, 0x1.399999999999ap+4, -2, 17, 2, 0x1.6333333333334p+4}},
        // -0.3, -3.5999999999999996, -2, -2.9999999999999996, 2, -4.199999999999999
        WorkedRow{4, {-0x1.3333333333333p-2, -0x1.cccccccccccccp+1, -2, -0x1.7ffffffffffffp+1, 2,
                      -0x1.0ccccccccccccp+2}}),
    [](const auto& info) { return "row" + std::to_string(info.param.k); });

// The same terms summed in another order land on other doubles; the form's
// grouping is the one that gives the values above.
TEST(Quant3Grouping, AnotherOrderGivesOtherBits) {
  // Row 2: z = 1, v = -4.
  volatile double z = 1, v = -4;
  const double aFirst = ((10.0 + 2.0 * z) + 3.0 * v) + (0.1 * z) * v;  // a added first
  const double bxLast = ((0.5 * z + 0.25 * v) + (0.05 * z) * v) + 1.0;  // bx added last
  EXPECT_EQ(aFirst, -0.4);
  EXPECT_EQ(bxLast, 0.30000000000000004);
  const SimpleEffectLine row2 = Quant3Row(kWorked, 2);
  EXPECT_NE(row2.intercept, aFirst);
  EXPECT_NE(row2.slope, bxLast);
  EXPECT_EQ(row2.intercept, -0.40000000000000036);
  EXPECT_EQ(row2.slope, 0.3);

  // Row 4: z = -1, v = -4; a added first would give -3.6 itself.
  z = -1;
  const double aFirst4 = ((10.0 + 2.0 * z) + 3.0 * v) + (0.1 * z) * v;
  EXPECT_EQ(aFirst4, -3.6);
  EXPECT_EQ(Quant3Row(kWorked, 4).intercept, -3.5999999999999996);
}

// Which row is which combination of signs: weights of different orders of
// magnitude make every (Z, V) pair give its own slope and intercept.
struct SignCase {
  int k;
  double slope, intercept;
};

void PrintTo(const SignCase& c, std::ostream* os) { *os << "row " << c.k; }

class Quant3RowOrder : public ::testing::TestWithParam<SignCase> {};

TEST_P(Quant3RowOrder, ZThenVSigns) {
  // b = bxz*z + bxv*v; a' = bz*z + bv*v + bzv*z*v, with z, v = +/-1.
  const Quant3Inputs in{.bx = 0, .bz = 100, .bv = 1000, .bxz = 1, .bxv = 10, .bzv = 10000,
                        .bxzv = 0, .a = 0, .stdx = 1, .stdz = 1, .stdv = 1};
  const SignCase& c = GetParam();
  const auto lines = ComputeQuant3Lines(in);
  const SimpleEffectLine& line = lines[static_cast<std::size_t>(c.k - 1)];
  EXPECT_EQ(line.slope, c.slope);
  EXPECT_EQ(line.intercept, c.intercept);
  EXPECT_EQ(line.y1, c.intercept - c.slope);
  EXPECT_EQ(line.y2, c.intercept + c.slope);
}

INSTANTIATE_TEST_SUITE_P(Quant3, Quant3RowOrder,
                         ::testing::Values(SignCase{1, 11, 11100},    // (+, +)
                                           SignCase{2, -9, -10900},   // (+, -)
                                           SignCase{3, 9, -9100},     // (-, +)
                                           SignCase{4, -11, 8900}),   // (-, -)
                         [](const auto& info) { return "row" + std::to_string(info.param.k); });

TEST(Quant3Lines, ZeroDeviationsOfZAndVGiveOneLine) {
  const Quant3Inputs in{.bx = 1.5, .bz = 2, .bv = 3, .bxz = 4, .bxv = 5, .bzv = 6, .bxzv = 7,
                        .a = -2.25, .stdx = 1, .stdz = 0, .stdv = 0};
  for (const SimpleEffectLine& line : ComputeQuant3Lines(in)) {
    EXPECT_EQ(line, (SimpleEffectLine{1.5, -2.25, -1, -3.75, 1, -0.75}));
  }
}

TEST(Quant3Lines, NegativeStdxSwapsThePlottingPoints) {
  Quant3Inputs in = kWorked;
  in.stdx = -2;
  const SimpleEffectLine line = Quant3Row(in, 1);
  EXPECT_EQ(line.x1, 2);
  EXPECT_EQ(line.x2, -2);
  EXPECT_EQ(line.y1, 0x1.dccccccccccccp+4);  // 24.4 + 2 * 2.7: the former Y2
  EXPECT_EQ(line.y2, 19);
}

TEST(Quant3Lines, ZeroStdxGivesNegativeZeroX1) {
  const SimpleEffectLine line = Quant3Row(Quant3Inputs{}, 1);
  EXPECT_EQ(line.x1, 0);
  EXPECT_TRUE(std::signbit(line.x1));
  EXPECT_FALSE(std::signbit(line.x2));
}

// Only an overflow can stop this computation; the rows where it happens
// depend on the signs.
struct OverflowCase {
  const char* name;
  Quant3Inputs in;
  bool faults[4];  // rows 1..4
};

void PrintTo(const OverflowCase& c, std::ostream* os) { *os << c.name; }

class Quant3Overflow : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(Quant3Overflow, FaultsInTheRowsWhereItHappens) {
  const OverflowCase& c = GetParam();
  for (int k = 1; k <= 4; ++k) {
    if (c.faults[k - 1]) {
      try {
        (void)Quant3Row(c.in, k);
        ADD_FAILURE() << "row " << k << ": no fault";
      } catch (const Fault& f) {
        EXPECT_EQ(f.kind, FaultKind::Overflow) << "row " << k;
      }
    } else {
      EXPECT_NO_THROW((void)Quant3Row(c.in, k)) << "row " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quant3, Quant3Overflow,
    ::testing::Values(
        // 1.5e308 + 1e308 with Z above its mean; 0.5e308 below it.
        OverflowCase{"slope_sum", {.bx = 1.5e308, .bxz = 1e308, .stdz = 1}, {true, true, false, false}},
        // (bxzv*z)*v: 1e300 * 1e10 already overflows, in every row.
        OverflowCase{"three_way_product", {.bxzv = 1e300, .stdz = 1e10, .stdv = 1}, {true, true, true, true}},
        // bz*z + bv*v: 1e308 + 1e308 only where Z and V have the same sign.
        OverflowCase{"intercept_sum", {.bz = 1e308, .bv = 1e308, .stdz = 1, .stdv = 1}, {true, false, false, true}},
        // a + ...: the constant added last, 1e308 + 1e308 where V is above its mean.
        OverflowCase{"constant_last", {.bv = 1e308, .a = 1e308, .stdv = 1}, {true, false, true, false}},
        // Y2 = 1e308 + 1e308 faults; Y1 = 1e308 - 1e308 would not.
        OverflowCase{"y2", {.bx = 1e308, .a = 1e308, .stdx = 1}, {true, true, true, true}},
        // Y2 = -1e308 + 1e308 is 0, but Y1 = -1e308 - 1e308 faults.
        OverflowCase{"y1", {.bx = 1e308, .a = -1e308, .stdx = 1}, {true, true, true, true}},
        // Huge but in range: no fault at all.
        OverflowCase{"in_range", {.bx = 1e307, .a = 1e307, .stdx = 1, .stdz = 1e150, .stdv = 1e150},
                     {false, false, false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The form's layout ----------------------------------------------------

using forms::Control;
using forms::Quant3Design;

const Control& Get(const char* name) {
  const Control* c = Quant3Design().Find(name);
  if (c == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *c;
}

TEST(Quant3Design, Window) {
  const auto& d = Quant3Design();
  EXPECT_EQ(d.name, "Quant3");
  EXPECT_EQ(d.caption, "Quant 3-way");
  EXPECT_EQ(d.clientWidth, 13230);
  EXPECT_EQ(d.clientHeight, 7455);
  EXPECT_FALSE(d.position.has_value());  // the window system places it
  bool listed = false;
  for (const auto* design : forms::AllDesigns()) listed = listed || design == &d;
  EXPECT_TRUE(listed);
}

TEST(Quant3Design, NoteIsFourSentencesAndTheirBlanks) {
  const std::string& note = Get("Label6").caption;
  EXPECT_EQ(note.size(), 438u);
  const std::vector<std::pair<std::string, std::size_t>> parts = {
      {"\"X\" is the x-axis variable", 40},
      {"\"Z\" and \"V\" are the other main effect variables", 83},
      {"Plotting points for the X-Y relationship at each combination of +/- 1 std of Z and V will be given", 104},
      {"Enter values to at least 3 decimals", 5},
  };
  std::size_t at = 0;
  for (const auto& [sentence, blanks] : parts) {
    ASSERT_EQ(note.compare(at, sentence.size(), sentence), 0) << sentence;
    at += sentence.size();
    EXPECT_EQ(note.find_first_not_of(' ', at), at + blanks == note.size() ? std::string::npos : at + blanks)
        << "blanks after: " << sentence;
    at += blanks;
  }
  EXPECT_EQ(at, note.size());
  EXPECT_EQ(Get("Label6").left, 6240);
  EXPECT_EQ(Get("Label6").height, 1695);
  EXPECT_EQ(Get("Label6").pointSize, 9.75);
  EXPECT_TRUE(Get("Label6").bold);
}

TEST(Quant3Design, PanelHasFiftyFourLabels) {
  int panel = 0;
  for (const Control& c : Quant3Design().controls) panel += c.role == forms::Role::Panel ? 1 : 0;
  EXPECT_EQ(panel, 54);
  for (const char* name : {"se", "p", "se45", "p48", "se13", "p18"}) {
    EXPECT_EQ(Get(name).role, forms::Role::Panel) << name;
  }
}

// Every control, the message label included, has its own piece of the form.
TEST(Quant3Design, NothingOverlapsAndAllIsInside) {
  const auto& d = Quant3Design();
  ASSERT_NE(d.Find("message"), nullptr);
  for (std::size_t i = 0; i < d.controls.size(); ++i) {
    const Control& a = d.controls[i];
    EXPECT_GE(a.left, 0) << a.name;
    EXPECT_LE(a.left + a.width, d.clientWidth) << a.name;
    EXPECT_LE(a.top + a.height, d.clientHeight) << a.name;
    for (std::size_t j = i + 1; j < d.controls.size(); ++j) {
      const Control& b = d.controls[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                         a.top + a.height <= b.top || b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
    }
  }
}

}  // namespace
}  // namespace marvane
