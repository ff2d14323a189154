// Number texts: lenient and strict reading, the canonical writer, display
// rounding. Expected values are decimal facts worked out by hand.

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "shell/fault.h"
#include "shell/number_text.h"

namespace marvane {
namespace {

struct ReadCase {
  const char* text;
  double value;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

// --- LenientParse -----------------------------------------------------------

class LenientReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LenientReads, Value) {
  const double v = LenientParse(GetParam().text);
  EXPECT_EQ(v, GetParam().value);
  EXPECT_EQ(std::signbit(v), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(NoLeadingNumberReadsZero, LenientReads,
                         ::testing::Values(ReadCase{"", 0}, ReadCase{"abc", 0}, ReadCase{".", 0},
                                           ReadCase{"-", 0}, ReadCase{"+", 0}, ReadCase{"e5", 0},
                                           ReadCase{"   ", 0}, ReadCase{",5", 0}, ReadCase{"&H10", 0}));

INSTANTIATE_TEST_SUITE_P(BlanksAnywhere, LenientReads,
                         ::testing::Values(ReadCase{"1 2", 12}, ReadCase{" 2", 2}, ReadCase{" -.5 ", -0.5},
                                           ReadCase{"\t3\n", 3}, ReadCase{"- 5", -5}, ReadCase{"1 e 3", 1000},
                                           ReadCase{"1 . 2 5", 1.25}, ReadCase{"1e - 2", 0.01}));

INSTANTIATE_TEST_SUITE_P(FirstForeignCharacterEnds, LenientReads,
                         ::testing::Values(ReadCase{"1,5", 1}, ReadCase{"12abc", 12}, ReadCase{"1.2.3", 1.2},
                                           ReadCase{"1D3", 1}, ReadCase{"2.50abc", 2.5}, ReadCase{"7%", 7},
                                           ReadCase{"1e", 1}, ReadCase{"1e+", 1}, ReadCase{"3-4", 3},
                                           ReadCase{"1\r2", 1}));

INSTANTIATE_TEST_SUITE_P(SignsAndExponents, LenientReads,
                         ::testing::Values(ReadCase{"1e3", 1000}, ReadCase{"3e2", 300}, ReadCase{"1.50", 1.5},
                                           ReadCase{"+7", 7}, ReadCase{"-0", -0.0}, ReadCase{"1E-2", 0.01},
                                           ReadCase{"-1.5e+1", -15}, ReadCase{"000123", 123},
                                           ReadCase{"0.000001e6", 1}, ReadCase{"5.", 5}));

// Decimal to double must be correctly rounded, including halfway cases and
// the ends of the range.
INSTANTIATE_TEST_SUITE_P(
    CorrectRounding, LenientReads,
    ::testing::Values(ReadCase{"0.1", 0x1.999999999999ap-4},
                      ReadCase{"0.30000000000000004", 0x1.3333333333334p-2},
                      ReadCase{"9007199254740993", 9007199254740992.0},  // tie: to even
                      ReadCase{"9007199254740995", 9007199254740996.0},  // tie: to even
                      ReadCase{"9007199254740993.0000000000000000000001", 9007199254740994.0},
                      ReadCase{"1.7976931348623157e308", DBL_MAX},
                      ReadCase{"2.2250738585072014e-308", DBL_MIN},
                      ReadCase{"4.9406564584124654e-324", 0x1p-1074},
                      ReadCase{"1e-400", 0}, ReadCase{"-1e-400", -0.0},
                      ReadCase{"0.0000000000000000000000000000000000000000000000001e49", 1}));

struct OverflowCase {
  const char* text;
};

class LenientOverflow : public ::testing::TestWithParam<const char*> {};

TEST_P(LenientOverflow, IsAFault) {
  try {
    (void)LenientParse(GetParam());
    FAIL() << "read as a number";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind, FaultKind::Overflow);
  }
}

INSTANTIATE_TEST_SUITE_P(BeyondTheDoubleRange, LenientOverflow,
                         ::testing::Values("1e309", "-1e309", "1.8e308", "1.7976931348623159e308",
                                           "1e99999999999999999999", "100000000000000000000e300"));

// --- StrictParse ------------------------------------------------------------

class StrictReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StrictReads, Value) { EXPECT_EQ(StrictParse(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(PlainNumberTexts, StrictReads,
                         ::testing::Values(ReadCase{"0", 0}, ReadCase{"-0.5", -0.5}, ReadCase{"+3", 3},
                                           ReadCase{" 2\t", 2}, ReadCase{"1E+15", 1e15},
                                           ReadCase{"1.5E-10", 1.5e-10}, ReadCase{".5", 0.5},
                                           ReadCase{"5.", 5}, ReadCase{"1e3", 1000},
                                           ReadCase{"-1.79769313486231E+308", -1.79769313486231e308}));

class StrictRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(StrictRejects, TypeMismatch) {
  try {
    (void)StrictParse(GetParam());
    FAIL() << "accepted";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind, FaultKind::TypeMismatch);
  }
}

INSTANTIATE_TEST_SUITE_P(NotANumberText, StrictRejects,
                         ::testing::Values("", " ", "abc", "1,5", "1,000", "12abc", "1 2", "1.2.3", "-", ".",
                                           "e5", "1e", "1e+", "&H10", "--1", "1e3.5", "1D3", "- 1",
                                           "1\n"));

TEST(StrictParse, BeyondTheDoubleRangeIsAnOverflow) {
  try {
    (void)StrictParse("1E+309");
    FAIL();
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind, FaultKind::Overflow);
  }
}

// --- NumberToText -----------------------------------------------------------

struct WriteCase {
  double value;
  int digits;
  const char* text;
};

class Writes : public ::testing::TestWithParam<WriteCase> {};

TEST_P(Writes, Text) { EXPECT_EQ(NumberToText(GetParam().value, GetParam().digits), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(PlainForms, Writes,
                         ::testing::Values(WriteCase{3, 15, "3"}, WriteCase{0.5, 15, "0.5"},
                                           WriteCase{-0.25, 15, "-0.25"}, WriteCase{100, 15, "100"},
                                           WriteCase{-1.5, 15, "-1.5"}, WriteCase{0.0001, 15, "0.0001"},
                                           WriteCase{999999999999999, 15, "999999999999999"}));

INSTANTIATE_TEST_SUITE_P(SignOfZero, Writes,
                         ::testing::Values(WriteCase{0.0, 15, "0"}, WriteCase{-0.0, 15, "0"},
                                           WriteCase{-0.0, 7, "0"}));

INSTANTIATE_TEST_SUITE_P(FifteenSignificantDigits, Writes,
                         ::testing::Values(WriteCase{0.1 + 0.2, 15, "0.3"},
                                           WriteCase{1.0 / 3, 15, "0.333333333333333"},
                                           WriteCase{2.0 / 3, 15, "0.666666666666667"},
                                           WriteCase{-1.0 / 3, 15, "-0.333333333333333"},
                                           WriteCase{29.799999999999997, 15, "29.8"},
                                           WriteCase{123456.78901234567, 15, "123456.789012346"}));

INSTANTIATE_TEST_SUITE_P(SwitchToExponentForm, Writes,
                         ::testing::Values(WriteCase{1e15, 15, "1E+15"}, WriteCase{1.5e20, 15, "1.5E+20"},
                                           WriteCase{1.5e-10, 15, "1.5E-10"}, WriteCase{0.00001, 15, "1E-05"},
                                           WriteCase{-0.000012345, 15, "-1.2345E-05"},
                                           WriteCase{999999999999999.9, 15, "1E+15"},
                                           WriteCase{123456789012345678.0, 15, "1.23456789012346E+17"},
                                           WriteCase{DBL_MAX, 15, "1.79769313486232E+308"},
                                           WriteCase{0x1p-1074, 15, "4.94065645841247E-324"}));

INSTANTIATE_TEST_SUITE_P(SevenDigits, Writes,
                         ::testing::Values(WriteCase{12345.677734375, 7, "12345.68"},
                                           WriteCase{0.699999988079071, 7, "0.7"},
                                           WriteCase{9999999, 7, "9999999"},
                                           WriteCase{12345678, 7, "1.234568E+07"},
                                           WriteCase{9999999.5, 7, "1E+07"}));

// --- RoundForDisplay --------------------------------------------------------

struct RoundCase {
  double value;
  int factor;
  const char* caption;
};

class Rounds : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Rounds, Caption) { EXPECT_EQ(RoundForDisplay(GetParam().value, GetParam().factor), GetParam().caption); }

INSTANTIATE_TEST_SUITE_P(WorkedValues, Rounds,
                         ::testing::Values(RoundCase{0.12345, 1000, "0.123"}, RoundCase{-0.12345, 1000, "-0.124"},
                                           RoundCase{2, 1000, "2"}, RoundCase{0.0004, 1000, "0"},
                                           RoundCase{-0.0004, 1000, "-0.001"},
                                           RoundCase{1.005, 1000, "1.004"},  // 1004.9999999999999 as a double
                                           RoundCase{3.14159, 100, "3.14"}, RoundCase{-3.14159, 100, "-3.15"}));

INSTANTIATE_TEST_SUITE_P(FlooringOfNegatives, Rounds,
                         ::testing::Values(RoundCase{-0.1231, 1000, "-0.124"}, RoundCase{2.999, 100, "2.99"},
                                           RoundCase{-2.999, 100, "-3"}, RoundCase{-0.375, 100, "-0.38"},
                                           RoundCase{-0.001, 1000, "-0.001"},
                                           RoundCase{-0.40000000000000036, 1000, "-0.401"},
                                           RoundCase{-0.0, 1000, "0"}));

TEST(RoundForDisplay, ScalingBeyondTheRangeIsAnOverflow) {
  EXPECT_EQ(RoundForDisplay(1e305, 1000), "1E+305");
  EXPECT_THROW(RoundForDisplay(1e306, 1000), Fault);
  EXPECT_THROW(RoundForDisplay(-1e307, 100), Fault);
}

// --- Properties over random doubles of every magnitude ----------------------

// x rounded to `digits` significant digits, by a path that does not go
// through the code under test.
double RoundedTo(double x, int digits) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, digits - 1);
  double y = 0;
  std::from_chars(buf, r.ptr, y);
  return y;
}

TEST(NumberTextProperties, RoundTripOverRandomDoubles) {
  std::mt19937_64 rng(20261208);
  int checked = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::uint64_t bits = rng();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    ++checked;
    const std::string text = NumberToText(x);
    double back = 0;
    try {
      back = StrictParse(text);
    } catch (const Fault&) {
      // Rounding to 15 digits can only carry past the largest double.
      ASSERT_GT(std::fabs(x), 1.79769313486231e308) << text;
      continue;
    }
    ASSERT_EQ(back, RoundedTo(x, 15)) << text;
    ASSERT_EQ(LenientParse(text), back) << text;
    ASSERT_EQ(NumberToText(back), text) << "not idempotent: " << text;
    // With 17 digits every double comes back exactly.
    ASSERT_EQ(StrictParse(NumberToText(x, 17)), x == 0 ? 0.0 : x);
    ASSERT_EQ(StrictParse(NumberToText(x, 7)), RoundedTo(x, 7));
  }
  EXPECT_GT(checked, 290000);
}

// Values near powers of ten, where the exponent switch and the carry live.
TEST(NumberTextProperties, RoundTripNearPowersOfTen) {
  for (int e = -320; e <= 307; ++e) {
    const double p = std::pow(10.0, e);
    for (double x : {p, std::nextafter(p, 0.0), std::nextafter(p, HUGE_VAL), -p, p * 9.999999999999999}) {
      if (!std::isfinite(x)) continue;
      const std::string text = NumberToText(x);
      ASSERT_EQ(StrictParse(text), RoundedTo(x, 15)) << text;
    }
  }
}

// --- Locale -----------------------------------------------------------------

// A graphical session switches the C library to the user's locale. Number
// texts must keep the full stop under a comma-decimal locale.
TEST(NumberTextLocale, IgnoresACommaDecimalLocale) {
  const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
  ASSERT_NE(set, nullptr) << "the de_DE.UTF-8 locale is not installed (the setup step generates it)";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(LenientParse("1.5"), 1.5);
  EXPECT_EQ(LenientParse("1,5"), 1);
  EXPECT_EQ(StrictParse("2.25"), 2.25);
  EXPECT_THROW(StrictParse("2,25"), Fault);
  EXPECT_EQ(NumberToText(1.5), "1.5");
  EXPECT_EQ(NumberToText(1.5e20), "1.5E+20");
  EXPECT_EQ(RoundForDisplay(-0.12345, 1000), "-0.124");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace marvane
