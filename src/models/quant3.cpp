#include "models/quant3.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineAtZV(const Quant3Inputs& in, double z, double v) {
  const double slope = Add(Add(Add(in.bx, Mul(in.bxz, z)), Mul(in.bxv, v)), Mul(Mul(in.bxzv, z), v));
  const double intercept = Add(in.a, Add(Add(Mul(in.bz, z), Mul(in.bv, v)), Mul(Mul(in.bzv, z), v)));
  return LineWithPoints(slope, intercept, in.stdx);
}

SimpleEffectLine Quant3Row(const Quant3Inputs& in, int k) {
  // Z is above its mean in rows 1 and 2, V in rows 1 and 3.
  const double z = k <= 2 ? in.stdz : Neg(in.stdz);
  const double v = k % 2 == 1 ? in.stdv : Neg(in.stdv);
  return LineAtZV(in, z, v);
}

std::array<SimpleEffectLine, 4> ComputeQuant3Lines(const Quant3Inputs& in) {
  std::array<SimpleEffectLine, 4> lines;
  for (int k = 1; k <= 4; ++k) lines[static_cast<std::size_t>(k - 1)] = Quant3Row(in, k);
  return lines;
}


Probe Quant3Probe(const Quant3Inputs& in) {
  Probe p;
  p.form = "Quant3";
  p.caption = "Quant 3-way";
  p.stdx = in.stdx;
  p.weights = {ConstantWeight("a", in.a),
               MainWeight("bx", "weight of X", "X", in.bx),
               MainWeight("bz", "weight of Z", "Z", in.bz),
               MainWeight("bv", "weight of V", "V", in.bv),
               ProductWeight("bxz", "weight of X*Z", {1, 2}, in.bxz),
               ProductWeight("bxv", "weight of X*V", {1, 3}, in.bxv),
               ProductWeight("bzv", "weight of Z*V", {2, 3}, in.bzv),
               ProductWeight("bxzv", "weight of X*Z*V", {1, 2, 3}, in.bxzv)};
  const std::array<SimpleEffectLine, 4> lines = ComputeQuant3Lines(in);
  const double zs[] = {in.stdz, in.stdz, -in.stdz, -in.stdz};
  const double vs[] = {in.stdv, -in.stdv, in.stdv, -in.stdv};
  for (int k = 1; k <= 4; ++k) {
    const double z = zs[k - 1], v = vs[k - 1];
    p.lines.push_back(MakeProbeLine("Quant3", k, lines[static_cast<std::size_t>(k - 1)],
                                    {0, 1, 0, 0, z, v, 0, z * v}, {1, 0, z, v, 0, 0, z * v, 0}));
    p.lines.back().at = {z, v};
  }
  // Weights: a, bx, bz, bv, bxz, bxv, bzv, bxzv.
  p.family = {.moderators = {"Z", "V"}, .sd = {in.stdz, in.stdv},
              .terms = {{.powers = {0, 0}, .slope = {0, 1, 0, 0, 0, 0, 0, 0}, .intercept = {1, 0, 0, 0, 0, 0, 0, 0}},
                        {.powers = {1, 0}, .slope = {0, 0, 0, 0, 1, 0, 0, 0}, .intercept = {0, 0, 1, 0, 0, 0, 0, 0}},
                        {.powers = {0, 1}, .slope = {0, 0, 0, 0, 0, 1, 0, 0}, .intercept = {0, 0, 0, 1, 0, 0, 0, 0}},
                        {.powers = {1, 1}, .slope = {0, 0, 0, 0, 0, 0, 0, 1}, .intercept = {0, 0, 0, 0, 0, 0, 1, 0}}}};
  // Each effect is labelled by the row it is held at, whatever the values.
  const std::pair<double, const char*> vRows[] = {{in.stdv, "V = +1 SD"}, {-in.stdv, "V = -1 SD"}};
  for (const auto& [v, held] : vRows) {
    p.effects.push_back({.kind = LinearEffect::Kind::Slope, .name = "slope of X", .along = "Z", .heldAt = held,
                         .p = {0, 1, 0, 0, 0, v, 0, 0}, .q = {0, 0, 0, 0, 1, 0, 0, v}, .sd = in.stdz,
                         .heldVariable = "V", .heldValue = v});
  }
  const std::pair<double, const char*> zRows[] = {{in.stdz, "Z = +1 SD"}, {-in.stdz, "Z = -1 SD"}};
  for (const auto& [z, held] : zRows) {
    p.effects.push_back({.kind = LinearEffect::Kind::Slope, .name = "slope of X", .along = "V", .heldAt = held,
                         .p = {0, 1, 0, 0, z, 0, 0, 0}, .q = {0, 0, 0, 0, 0, 1, 0, z}, .sd = in.stdv,
                         .heldVariable = "Z", .heldValue = z});
  }
  return p;
}

}  // namespace marvane
