#include "models/mixed3.h"

#include <cmath>

#include "shell/checked.h"
#include "shell/fault.h"
#include "shell/number_text.h"

namespace marvane {

using namespace checked;

namespace {

// A single meeting a double: widened first, exactly.
double Widen(float x) { return static_cast<double>(x); }

}  // namespace

SimpleEffectLine Dc1TargetLine(float rbx, double bz1, double bxz1, double a, double stdx) {
  SimpleEffectLine line;
  line.slope = Add(Widen(rbx), bxz1);
  line.intercept = Add(bz1, a);
  line.y1 = Add(Mul(line.slope, Neg(stdx)), line.intercept);
  line.y2 = Add(Mul(line.slope, stdx), line.intercept);
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  return line;
}

SimpleEffectLine Dc2TargetLine(float rbx, double bz2, double bxz2, double a, double stdx) {
  SimpleEffectLine line;
  line.slope = Add(Widen(rbx), bxz2);
  line.intercept = Add(bz2, a);
  line.y1 = Add(Mul(Neg(line.slope), stdx), line.intercept);
  line.y2 = Add(Mul(line.slope, stdx), line.intercept);
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  return line;
}

SimpleEffectLine ContrastLine(float rbx, double a, double stdx) {
  SimpleEffectLine line;
  line.slope = Widen(rbx);
  line.intercept = a;
  line.y1 = Add(a, Mul(stdx, Neg(Widen(rbx))));
  line.y2 = Add(a, Mul(stdx, Widen(rbx)));
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  return line;
}

std::array<SimpleEffectLine, 3> ComputeMixed3Lines(const Mixed3Inputs& in) {
  return {Dc1TargetLine(in.rbx, in.bz1, in.bxz1, in.a, in.stdx),
          Dc2TargetLine(in.rbx, in.bz2, in.bxz2, in.a, in.stdx),
          ContrastLine(in.rbx, in.a, in.stdx)};
}

std::string RoundForDisplaySingle(double b) {
  const double product = Mul(b, 1000);
  float scaled = 0;
  try {
    scaled = ToSingle(product);
  } catch (const Fault& fault) {
    if (fault.kind != FaultKind::Overflow) throw;
    // Too large for a single: the product stays a double.
    return RoundForDisplay(b, 1000);
  }
  const double whole = std::floor(Widen(scaled));
  return NumberToText(Widen(ToSingle(Div(whole, 1000))), 7);
}


Probe Mixed3Probe(const Mixed3Inputs& in) {
  Probe p;
  p.form = "Mixed3";
  p.caption = "Mixed3";
  p.stdx = in.stdx;
  p.weights = {ConstantWeight("a", in.a),
               MainWeight("rbx", "weight of X", "X", static_cast<double>(in.rbx)),
               MainWeight("bz1", "weight of DC1", "DC1", in.bz1),
               MainWeight("bz2", "weight of DC2", "DC2", in.bz2),
               ProductWeight("bxz1", "weight of X*DC1", {1, 2}, in.bxz1),
               ProductWeight("bxz2", "weight of X*DC2", {1, 3}, in.bxz2)};
  const std::array<SimpleEffectLine, 3> lines = ComputeMixed3Lines(in);
  p.lines.push_back(MakeProbeLine("Mixed3", 1, lines[0], {0, 1, 0, 0, 1, 0}, {1, 0, 1, 0, 0, 0}));
  p.lines.push_back(MakeProbeLine("Mixed3", 2, lines[1], {0, 1, 0, 0, 0, 1}, {1, 0, 0, 1, 0, 0}));
  p.lines.push_back(MakeProbeLine("Mixed3", 3, lines[2], {0, 1, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}));
  p.lines[0].groupCode = 2;
  p.lines[1].groupCode = 3;
  // The differences between groups along X: DC1 and DC2 each against the
  // contrast group, and DC1 against DC2.
  const std::array<std::pair<std::size_t, std::size_t>, 3> pairs{{{0, 2}, {1, 2}, {0, 1}}};
  const std::vector<double> ps[] = {{0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0}, {0, 0, 1, -1, 0, 0}};
  const std::vector<double> qs[] = {{0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 1, -1}};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    p.effects.push_back({.kind = LinearEffect::Kind::Difference,
                         .name = PairName(p.lines[pairs[i].first], p.lines[pairs[i].second]),
                         .along = "X", .heldAt = "", .p = ps[i], .q = qs[i], .sd = in.stdx,
                         .k = pairs[i].first, .l = pairs[i].second});
  }
  return p;
}

}  // namespace marvane
