// The Incomplete computation: the fold of held terms into the constant, and
// the three lines drawn from it. Inputs from the first 104 bytes: the
// constant c, the count n, three held terms (weight, value), then bx, bz,
// bxz, sx, sz. The terms are read as the form reads its grid: row by row as
// the fold asks for them, and a row beyond the three there are is a
// MissingElement fault.
//
// Properties of the fold, FoldControlTerms(c, n, rows):
//   - it folds exactly the rows 1, 2, ... up to n, compared as a number (none
//     for n < 1, rows 1 and 2 for n = 2.5) and asks for no other row;
//   - each term enters through its 15-digit text: A + (w*v rounded to 15
//     significant digits, by the standard library's conversions), the sum
//     and product under the fault rule, and Overflow where the rounded
//     product lies beyond the double range; the first fault ends the fold;
//   - the list form over the rows folded gives the same.
// Properties of the lines, besides the fault rule of model_fuzz.h for each
// of them and for all three at once (stopping at the first fault):
//   - line 2 is (bx, A) itself;
//   - the three lines are Quant's rows with a = A, stdz = sz and stdx = sx,
//     or the same faults;
//   - every line plots at X1 = -sx and X2 = sx.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model_fuzz.h"
#include "models/incomplete.h"
#include "models/quant.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

constexpr int kRows = 3;

// The fold by hand: the product, its 15-digit rounding through
// std::to_chars / std::from_chars, the sum.
struct PlainFold {
  double a = 0;
  std::optional<FaultKind> fault;
  std::vector<int> rowsRead;
};

PlainFold FoldByHand(double c, double n, const std::array<HeldTerm, kRows>& terms) {
  PlainFold r{.a = c};
  // Whole rows 1, 2, ... not above n.
  const double last = n < 1 ? 0 : std::floor(n);
  for (int row = 1; row <= last; ++row) {
    r.rowsRead.push_back(row);
    if (row > kRows) {
      r.fault = FaultKind::MissingElement;
      return r;
    }
    const HeldTerm& t = terms[static_cast<std::size_t>(row - 1)];
    Unchecked u;
    const double product = u.Mul(t.weight, t.value);
    if (u.fault) {
      r.fault = u.fault;
      return r;
    }
    const auto entered = RoundToDigits(product, 15);
    if (!entered) {
      r.fault = FaultKind::Overflow;
      return r;
    }
    r.a = u.Add(r.a, *entered);
    if (u.fault) {
      r.fault = u.fault;
      return r;
    }
  }
  return r;
}

// Line 1: b1 = bx + sz*bxz,    a1 = A + sz*bz
// Line 2: b2 = bx,              a2 = A
// Line 3: b3 = bx + sz*(-bxz),  a3 = A + sz*(-bz)
// and for each: YL = a + sx*(-b), YH = a + sx*b.
SimpleEffectLine PlainLine(Unchecked& u, const IncompleteInputs& in, int k) {
  SimpleEffectLine l;
  if (k == 1) {
    l.slope = u.Add(in.bx, u.Mul(in.sz, in.bxz));
    l.intercept = u.Add(in.a, u.Mul(in.sz, in.bz));
  } else if (k == 2) {
    l.slope = in.bx;
    l.intercept = in.a;
  } else {
    l.slope = u.Add(in.bx, u.Mul(in.sz, u.Neg(in.bxz)));
    l.intercept = u.Add(in.a, u.Mul(in.sz, u.Neg(in.bz)));
  }
  l.y1 = u.Add(l.intercept, u.Mul(in.sx, u.Neg(l.slope)));
  l.y2 = u.Add(l.intercept, u.Mul(in.sx, l.slope));
  l.x1 = u.Neg(in.sx);
  l.x2 = in.sx;
  return l;
}

std::string ShowTerms(double c, double n, const std::array<HeldTerm, kRows>& terms) {
  std::string s = "c=" + Show(c) + " n=" + Show(n);
  for (int row = 1; row <= kRows; ++row) {
    const HeldTerm& t = terms[static_cast<std::size_t>(row - 1)];
    s += " w" + std::to_string(row) + "=" + Show(t.weight) + " v" + std::to_string(row) + "=" + Show(t.value);
  }
  return s;
}

std::string Inputs(const IncompleteInputs& in) {
  return "A=" + Show(in.a) + " bx=" + Show(in.bx) + " bz=" + Show(in.bz) + " bxz=" + Show(in.bxz) +
         " sx=" + Show(in.sx) + " sz=" + Show(in.sz);
}

void CheckFold(double c, double n, const std::array<HeldTerm, kRows>& terms, const PlainFold& expected) {
  const std::string given = ShowTerms(c, n, terms);
  std::vector<int> asked;
  const auto got = OutcomeOf([&] {
    return FoldControlTerms(c, n, [&](int row) {
      asked.push_back(row);
      if (row < 1 || row > kRows) throw Fault(FaultKind::MissingElement, "row " + std::to_string(row));
      return terms[static_cast<std::size_t>(row - 1)];
    });
  });
  std::string rows;
  for (int r : asked) rows += " " + std::to_string(r);
  FUZZ_CHECK(asked == expected.rowsRead, given + ": the fold asked for rows" + rows);
  const std::string outcome = given + ": the fold gives " + Show(got);
  FUZZ_CHECK(got.fault == expected.fault,
             outcome + ", expected " + (expected.fault ? KindName(*expected.fault) : Show(expected.a)));
  if (got.value) {
    FUZZ_CHECK(std::isfinite(*got.value), outcome);
    FUZZ_CHECK(*got.value == expected.a, outcome + ", expected " + Show(expected.a));
  }

  // The list form over the rows that were folded.
  if (!expected.fault || *expected.fault != FaultKind::MissingElement) {
    const std::vector<HeldTerm> list(terms.begin(), terms.begin() + static_cast<std::ptrdiff_t>(asked.size()));
    const auto fromList = OutcomeOf([&] { return FoldControlTerms(c, list); });
    FUZZ_CHECK(fromList == got, given + ": the fold of the first " + std::to_string(list.size()) + " terms gives " +
                                    Show(fromList) + ", the count " + Show(got));
  }
}

void CheckLines(const IncompleteInputs& in) {
  const std::string given = Inputs(in);
  for (int k = 1; k <= 3; ++k) {
    const std::string what = given + ": line " + std::to_string(k);
    const auto line = SameAsUnchecked(
        what, [&] { return IncompleteLine(in, k); }, [&](Unchecked& u) { return PlainLine(u, in, k); });
    if (line) {
      FUZZ_CHECK(line->x1 == -in.sx && line->x2 == in.sx, what + " " + Show(*line));
      if (k == 2) FUZZ_CHECK(line->slope == in.bx && line->intercept == in.a, what + " " + Show(*line));
    }

    const QuantInputs quant{.bx = in.bx, .bz = in.bz, .bxz = in.bxz, .a = in.a, .stdz = in.sz, .stdx = in.sx};
    const auto mine = OutcomeOf([&] { return IncompleteLine(in, k); });
    const auto quants = OutcomeOf([&] { return QuantRow(quant, k); });
    FUZZ_CHECK(mine == quants, what + " " + Show(mine) + ", Quant's row " + Show(quants));
  }
  SameAsUnchecked(
      given + ": all three lines", [&] { return ComputeIncompleteLines(in.a, in.bx, in.bz, in.bxz, in.sx, in.sz); },
      [&](Unchecked& u) { return std::array{PlainLine(u, in, 1), PlainLine(u, in, 2), PlainLine(u, in, 3)}; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto v = FiniteDoubles<13>(data, size);
  if (!v) return 0;
  const auto& d = *v;
  const double c = d[0], n = d[1];
  const std::array<HeldTerm, kRows> terms{HeldTerm{d[2], d[3]}, HeldTerm{d[4], d[5]}, HeldTerm{d[6], d[7]}};

  const PlainFold fold = FoldByHand(c, n, terms);
  CheckFold(c, n, terms, fold);

  // The lines from the adjusted constant, or from c itself when the fold faults.
  const IncompleteInputs in{.a = fold.fault ? c : fold.a, .bx = d[8], .bz = d[9], .bxz = d[10],
                            .sx = d[11], .sz = d[12]};
  CheckLines(in);
  return 0;
}
