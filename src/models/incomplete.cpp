#include "models/incomplete.h"

#include "shell/checked.h"
#include "shell/number_text.h"

namespace marvane {

using namespace checked;

double FoldTerm(double a, const HeldTerm& term) {
  const double product = Mul(term.weight, term.value);
  const double entered = LenientParse(NumberToText(product));
  return Add(a, entered);
}

double FoldControlTerms(double c, double n, const TermReader& readTerm) {
  double a = c;
  for (int row = 1; row <= n; ++row) a = FoldTerm(a, readTerm(row));
  return a;
}

double FoldControlTerms(double c, const std::vector<HeldTerm>& terms) {
  return FoldControlTerms(c, static_cast<double>(terms.size()),
                          [&terms](int row) { return terms[static_cast<std::size_t>(row - 1)]; });
}

SimpleEffectLine LineAboveMean(const IncompleteInputs& in) {
  const double b1 = Add(in.bx, Mul(in.sz, in.bxz));
  const double a1 = Add(in.a, Mul(in.sz, in.bz));
  return LineWithPoints(b1, a1, in.sx);
}

SimpleEffectLine LineAtMean(const IncompleteInputs& in) {
  return LineWithPoints(in.bx, in.a, in.sx);
}

SimpleEffectLine LineBelowMean(const IncompleteInputs& in) {
  const double b3 = Add(in.bx, Mul(in.sz, Neg(in.bxz)));
  const double a3 = Add(in.a, Mul(in.sz, Neg(in.bz)));
  return LineWithPoints(b3, a3, in.sx);
}

SimpleEffectLine IncompleteLine(const IncompleteInputs& in, int k) {
  return k == 1 ? LineAboveMean(in) : k == 2 ? LineAtMean(in) : LineBelowMean(in);
}

std::array<SimpleEffectLine, 3> ComputeIncompleteLines(double a, double bx, double bz, double bxz,
                                                       double sx, double sz) {
  const IncompleteInputs in{.a = a, .bx = bx, .bz = bz, .bxz = bxz, .sx = sx, .sz = sz};
  return {LineAboveMean(in), LineAtMean(in), LineBelowMean(in)};
}

}  // namespace marvane
