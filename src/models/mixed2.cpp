#include "models/mixed2.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine TargetGroupLine(const Mixed2Inputs& in) {
  return LineWithPoints(Add(in.bx, in.bxz), Add(in.a, in.bz), in.stdx);
}

SimpleEffectLine ContrastGroupLine(const Mixed2Inputs& in) { return LineWithPoints(in.bx, in.a, in.stdx); }

SimpleEffectLine Mixed2Row(const Mixed2Inputs& in, int row) {
  return row == 1 ? TargetGroupLine(in) : ContrastGroupLine(in);
}

std::array<SimpleEffectLine, 2> ComputeMixed2Lines(double bx, double bz, double bxz, double a,
                                                   double stdx) {
  const Mixed2Inputs in{.bx = bx, .bz = bz, .bxz = bxz, .a = a, .stdx = stdx};
  return {TargetGroupLine(in), ContrastGroupLine(in)};
}


Probe Mixed2Probe(const Mixed2Inputs& in) {
  Probe p;
  p.form = "Mixed2";
  p.caption = "Mixed2";
  p.stdx = in.stdx;
  p.weights = {ConstantWeight("a", in.a), MainWeight("bx", "weight of X", "X", in.bx),
               MainWeight("bz", "weight of the group code", "group", in.bz),
               ProductWeight("bxz", "weight of X*group", {1, 2}, in.bxz)};
  p.lines.push_back(MakeProbeLine("Mixed2", 1, Mixed2Row(in, 1), {0, 1, 0, 1}, {1, 0, 1, 0}));
  p.lines.push_back(MakeProbeLine("Mixed2", 2, Mixed2Row(in, 2), {0, 1, 0, 0}, {1, 0, 0, 0}));
  p.lines[0].groupCode = 2;
  p.effects.push_back({.kind = LinearEffect::Kind::Difference,
                       .name = PairName(p.lines[0], p.lines[1]),
                       .along = "X",
                       .heldAt = "",
                       .p = {0, 0, 1, 0},
                       .q = {0, 0, 0, 1},
                       .sd = in.stdx,
                       .k = 0,
                       .l = 1});
  return p;
}

}  // namespace marvane
