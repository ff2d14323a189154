// The incomplete-model computation and design by themselves: expected values
// from hand calculation and from the form's layout.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "forms/form_design.h"
#include "models/incomplete.h"
#include "shell/fault.h"

namespace marvane {
namespace {

// --- Folding the held terms into the constant ------------------------------

struct FoldCase {
  const char* name;
  double c;
  std::vector<HeldTerm> terms;
  double expected;
};

void PrintTo(const FoldCase& c, std::ostream* os) { *os << c.name; }

class FoldTerms : public ::testing::TestWithParam<FoldCase> {};

TEST_P(FoldTerms, AdjustedConstant) {
  const FoldCase& f = GetParam();
  EXPECT_EQ(FoldControlTerms(f.c, f.terms), f.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Incomplete, FoldTerms,
    ::testing::Values(
        // 2 + 0.25*4 + (-0.5)*3 = 2 + 1 - 1.5
        FoldCase{"worked_example", 2, {{0.25, 4}, {-0.5, 3}}, 1.5},
        FoldCase{"no_terms_gives_the_constant", 2.5, {}, 2.5},
        // 0.7 * 0.1 is 0.06999999999999999 as a double; its text is 0.07.
        FoldCase{"term_enters_through_its_text", 0, {{0.7, 0.1}}, 0.07},
        // 1/3 enters with the 15 digits its text has.
        FoldCase{"fifteen_digits", 0, {{1.0 / 3.0, 1}}, 0.333333333333333},
        // Left to right: 1e16 + 1 rounds back to 1e16, twice; adding the terms
        // first would give 1e16 + 2.
        FoldCase{"sum_left_to_right", 1e16, {{1, 1}, {1, 1}}, 1e16},
        // A tiny product travels through exponent form: 1.5E-10.
        FoldCase{"exponent_text", 1, {{1e-10, 1.5}}, 1 + 1.5e-10},
        FoldCase{"negative_terms", -1, {{-2, 0.5}, {3, -0.25}}, -2.75}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FoldTerms, RawProductWouldDiffer) {
  // The case above only shows the text form if the raw product is not 0.07.
  EXPECT_NE(0.7 * 0.1, 0.07);
}

// The count is compared with the row as a number and never rounded.
struct CountCase {
  const char* name;
  double n;
  std::vector<int> rowsRead;
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class FoldCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(FoldCount, ReadsRowsUpToTheCount) {
  const CountCase& k = GetParam();
  std::vector<int> read;
  // Row r holds weight 1 at value r, so A = 100 + the sum of the rows read.
  const double a = FoldControlTerms(100, k.n, [&read](int row) {
    read.push_back(row);
    return HeldTerm{1, static_cast<double>(row)};
  });
  EXPECT_EQ(read, k.rowsRead);
  double sum = 100;
  for (int r : k.rowsRead) sum += r;
  EXPECT_EQ(a, sum);
}

INSTANTIATE_TEST_SUITE_P(
    Incomplete, FoldCount,
    ::testing::Values(CountCase{"fraction_ends_after_its_integer_part", 2.5, {1, 2}},
                      CountCase{"just_below_one_reads_nothing", 0.999, {}},
                      CountCase{"zero", 0, {}},
                      CountCase{"negative", -3, {}},
                      CountCase{"whole_number", 3, {1, 2, 3}},
                      CountCase{"just_below_four", 3.999999, {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

// A row that cannot be read ends the fold there: the rows before it were read.
TEST(FoldCount, ReaderFaultStopsAtThatRow) {
  std::vector<int> read;
  try {
    (void)FoldControlTerms(0, 13, [&read](int row) {
      if (row > 12) throw Fault(FaultKind::MissingElement, "row 13");
      read.push_back(row);
      return HeldTerm{1, 1};
    });
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind, FaultKind::MissingElement);
  }
  EXPECT_EQ(read.size(), 12u);
}

// Each term is folded before the next is read: an overflow in row 1's
// product stops the fold before row 2 is looked at.
TEST(FoldCount, ProductOverflowBeforeNextRowIsRead) {
  std::vector<int> read;
  EXPECT_THROW((void)FoldControlTerms(0, 2,
                                      [&read](int row) {
                                        read.push_back(row);
                                        return HeldTerm{1e300, 1e300};
                                      }),
               Fault);
  EXPECT_EQ(read, std::vector<int>{1});
}

TEST(FoldTerms, SumOverflowIsAFault) {
  EXPECT_THROW((void)FoldControlTerms(1.7e308, {{1e308, 1}}), Fault);
}

// --- The three lines -------------------------------------------------------

struct LinesCase {
  const char* name;
  double a, bx, bz, bxz, sx, sz;
  SimpleEffectLine expected[3];
};

void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

class IncompleteLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(IncompleteLines, ThreeLines) {
  const LinesCase& l = GetParam();
  const auto lines = ComputeIncompleteLines(l.a, l.bx, l.bz, l.bxz, l.sx, l.sz);
  const IncompleteInputs in{.a = l.a, .bx = l.bx, .bz = l.bz, .bxz = l.bxz, .sx = l.sx, .sz = l.sz};
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(lines[static_cast<std::size_t>(k - 1)], l.expected[k - 1]) << "line " << k;
    EXPECT_EQ(IncompleteLine(in, k), l.expected[k - 1]) << "line " << k;
  }
  EXPECT_EQ(LineAboveMean(in), l.expected[0]);
  EXPECT_EQ(LineAtMean(in), l.expected[1]);
  EXPECT_EQ(LineBelowMean(in), l.expected[2]);
}

INSTANTIATE_TEST_SUITE_P(
    Incomplete, IncompleteLines,
    ::testing::Values(
        // A = 1.5, bx 0.5, bz 1, bxz 0.25, sx 2, sz 1.5:
        //   b1 = 0.5 + 1.5*0.25 = 0.875, a1 = 1.5 + 1.5 = 3, Y = 3 -/+ 1.75
        //   b2 = 0.5, a2 = 1.5, Y = 1.5 -/+ 1
        //   b3 = 0.5 - 0.375 = 0.125, a3 = 0, Y = -/+ 0.25
        LinesCase{"worked_example", 1.5, 0.5, 1, 0.25, 2, 1.5,
                  {{0.875, 3, -2, 1.25, 2, 4.75}, {0.5, 1.5, -2, 0.5, 2, 2.5}, {0.125, 0, -2, -0.25, 2, 0.25}}},
        // A negative sx is used as typed: X1 = 2 with Y1 = 0 + (-2)*(-1) = 2,
        // X2 = -2 with Y2 = -2.
        LinesCase{"negative_stdx", 0, 1, 0, 0, -2, 1,
                  {{1, 0, 2, 2, -2, -2}, {1, 0, 2, 2, -2, -2}, {1, 0, 2, 2, -2, -2}}},
        // A negative sz swaps lines 1 and 3: b1 = 1 - 2 = -1, a1 = 10 - 3 = 7.
        LinesCase{"negative_stdz", 10, 1, 3, 2, 1, -1,
                  {{-1, 7, -1, 8, 1, 6}, {1, 10, -1, 9, 1, 11}, {3, 13, -1, 10, 1, 16}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Line 2 is bx and A themselves: it depends neither on bz, bxz nor sz, so
// weights that overflow lines 1 and 3 leave it alone.
TEST(IncompleteLines, MeanLineIgnoresZ) {
  const IncompleteInputs in{.a = 0.7, .bx = 0.1, .bz = 1e308, .bxz = 1e308, .sx = 3, .sz = 10};
  const SimpleEffectLine line = LineAtMean(in);
  EXPECT_EQ(line.slope, 0.1);
  EXPECT_EQ(line.intercept, 0.7);
  EXPECT_EQ(line.y1, 0.7 + 3 * -0.1);
  EXPECT_EQ(line.y2, 0.7 + 3 * 0.1);
  EXPECT_THROW((void)LineAboveMean(in), Fault);
  EXPECT_THROW((void)LineBelowMean(in), Fault);
}

TEST(IncompleteLines, OverflowInPlottingPointIsAFault) {
  const IncompleteInputs in{.a = 0, .bx = 1e300, .bz = 0, .bxz = 0, .sx = 1e10, .sz = 0};
  EXPECT_THROW((void)LineAtMean(in), Fault);
}

// --- The design --------------------------------------------------------------

using forms::Control;
using forms::IncompleteDesign;
using forms::Kind;
using forms::Role;

const Control& Find(const char* name) {
  const Control* c = IncompleteDesign().Find(name);
  EXPECT_NE(c, nullptr) << name;
  static const Control none;
  return c != nullptr ? *c : none;
}

TEST(IncompleteDesign, Form) {
  const forms::FormDesign& d = IncompleteDesign();
  EXPECT_EQ(d.name, "Incomplete");
  EXPECT_EQ(d.caption, "Incomplete");
  EXPECT_EQ(d.clientWidth, 11940);
  EXPECT_EQ(d.clientHeight, 8805);
  EXPECT_FALSE(d.position.has_value());
  const auto all = forms::AllDesigns();
  EXPECT_NE(std::find(all.begin(), all.end(), &d), all.end());
}

TEST(IncompleteDesign, TermGrid) {
  for (int i = 0; i <= 12; ++i) {
    const std::string row = std::to_string(i);
    const Control& w = Find(("weight_" + row).c_str());
    const Control& v = Find(("value_" + row).c_str());
    const int top = 600 + 480 * i;
    EXPECT_EQ(w.kind, Kind::TextBox);
    EXPECT_EQ(v.kind, Kind::TextBox);
    EXPECT_EQ((std::vector<int>{w.left, w.top, w.width, w.height}), (std::vector<int>{8760, top, 1215, 375}))
        << row;
    EXPECT_EQ((std::vector<int>{v.left, v.top, v.width, v.height}), (std::vector<int>{10200, top, 1335, 375}))
        << row;
    EXPECT_TRUE(w.bold && v.bold);
    EXPECT_EQ(w.pointSize, 9.75);
    EXPECT_EQ(v.pointSize, i == 0 ? 12 : 9.75);
    EXPECT_EQ(v.caption, i == 0 ? "Constant" : "");
    EXPECT_EQ(w.caption, "");
    if (i > 0) {
      EXPECT_EQ(w.meaning, "the term weight in row " + row);
    }
  }
  EXPECT_EQ(IncompleteDesign().Find("weight_13"), nullptr);
}

TEST(IncompleteDesign, TabOrder) {
  std::vector<std::string> expected = {"bx", "bz", "bxz", "stdx", "stdz", "numvars", "weight_0"};
  for (int i = 1; i <= 12; ++i) {
    expected.push_back("weight_" + std::to_string(i));
    expected.push_back("value_" + std::to_string(i));
  }
  for (const char* last : {"Command2", "Command1", "Command3", "value_0", "Plot", "pasteModel"}) {
    expected.emplace_back(last);
  }

  std::vector<const Control*> tabbed;
  for (const Control& c : IncompleteDesign().controls) {
    if (c.kind != Kind::Label) tabbed.push_back(&c);
  }
  std::stable_sort(tabbed.begin(), tabbed.end(),
                   [](const Control* x, const Control* y) { return x->tabIndex < y->tabIndex; });
  std::vector<std::string> names;
  for (const Control* c : tabbed) names.push_back(c->name);
  EXPECT_EQ(names, expected);
}

TEST(IncompleteDesign, PanelOf41Labels) {
  int panel = 0;
  for (const Control& c : IncompleteDesign().controls) panel += c.role == Role::Panel ? 1 : 0;
  EXPECT_EQ(panel, 41);
  // A few positions straight from the layout, one of each kind.
  const Control& p34 = Find("p34");
  EXPECT_EQ((std::vector<int>{p34.left, p34.top, p34.width}), (std::vector<int>{8040, 8040, 495}));
  const Control& se21 = Find("se21");
  EXPECT_EQ((std::vector<int>{se21.left, se21.top, se21.width, se21.height}),
            (std::vector<int>{1920, 5400, 2535, 255}));
  const Control& p33 = Find("p33");
  EXPECT_EQ((std::vector<int>{p33.left, p33.top, p33.width}), (std::vector<int>{6720, 7920, 1215}));
}

// No two controls share any area: the message label included.
TEST(IncompleteDesign, NothingOverlaps) {
  const auto& cs = IncompleteDesign().controls;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    const Control& a = cs[i];
    EXPECT_LE(a.left + a.width, 11940) << a.name;
    EXPECT_LE(a.top + a.height, 8805) << a.name;
    for (std::size_t j = i + 1; j < cs.size(); ++j) {
      const Control& b = cs[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                         a.top + a.height <= b.top || b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.name << " and " << b.name;
    }
  }
}

}  // namespace
}  // namespace marvane
