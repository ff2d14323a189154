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


Probe IncompleteProbe(double c, const std::vector<HeldTerm>& held, const IncompleteInputs& in) {
  Probe p;
  p.form = "Incomplete";
  p.caption = "Incomplete";
  p.holdsTerms = true;
  p.stdx = in.sx;
  p.weights = {ConstantWeight("weight_0", c), MainWeight("bx", "weight of X", "X", in.bx),
               MainWeight("bz", "weight of Z", "Z", in.bz), ProductWeight("bxz", "weight of XZ", {1, 2}, in.bxz)};
  for (std::size_t i = 0; i < held.size(); ++i) {
    const std::string row = std::to_string(i + 1);
    p.weights.push_back({.box = "weight_" + row, .meaning = "term weight in row " + row,
                         .kind = ModelWeight::Kind::Held, .variable = {}, .parts = {}, .value = held[i].weight});
  }
  const double zs[] = {in.sz, 0.0, -in.sz};
  for (int k = 1; k <= 3; ++k) {
    const double z = zs[k - 1];
    std::vector<double> slope{0, 1, 0, z};
    std::vector<double> intercept{1, 0, z, 0};
    for (const HeldTerm& t : held) {
      slope.push_back(0);
      intercept.push_back(t.value);
    }
    p.lines.push_back(MakeProbeLine("Incomplete", k, IncompleteLine(in, k), std::move(slope), std::move(intercept)));
    p.lines.back().at = {z};
  }
  if (in.bxz != 0) {
    p.linesMeet = true;
    p.meetingX = -in.bz / in.bxz;
  }
  // The constant term carries the held terms at their values.
  std::vector<double> constant{1, 0, 0, 0};
  for (const HeldTerm& t : held) constant.push_back(t.value);
  p.family = {.moderators = {"Z"}, .sd = {in.sz},
              .terms = {{.powers = {0}, .slope = {0, 1, 0, 0}, .intercept = constant},
                        {.powers = {1}, .slope = {0, 0, 0, 1}, .intercept = {0, 0, 1, 0}}}};
  std::vector<double> pe(p.weights.size(), 0.0), qe(p.weights.size(), 0.0);
  pe[1] = 1;
  qe[3] = 1;
  p.effects.push_back({.kind = LinearEffect::Kind::Slope,
                       .name = "slope of X",
                       .along = "Z",
                       .heldAt = "",
                       .p = pe,
                       .q = qe,
                       .sd = in.sz});
  return p;
}

}  // namespace marvane
