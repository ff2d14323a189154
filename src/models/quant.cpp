#include "models/quant.h"

#include "shell/checked.h"

namespace marvane {

using namespace checked;

SimpleEffectLine LineAtZ(double bx, double bz, double bxz, double a, double stdx, double z) {
  SimpleEffectLine line;
  line.slope = Add(bx, Mul(z, bxz));
  line.intercept = Add(a, Mul(z, bz));
  line.x1 = Neg(stdx);
  line.x2 = stdx;
  line.y1 = Sub(line.intercept, Mul(stdx, line.slope));
  line.y2 = Add(line.intercept, Mul(stdx, line.slope));
  return line;
}

SimpleEffectLine QuantRow(const QuantInputs& in, int row) {
  const double z = row == 1 ? in.stdz : row == 2 ? 0.0 : Neg(in.stdz);
  return LineAtZ(in.bx, in.bz, in.bxz, in.a, in.stdx, z);
}

double Crossover(double bz, double bxz) { return Div(Neg(bz), bxz); }

QuantResult ComputeQuantLines(const QuantInputs& in) {
  QuantResult r;
  for (int row = 1; row <= 3; ++row) r.lines[static_cast<std::size_t>(row - 1)] = QuantRow(in, row);
  r.crossover = Crossover(in.bz, in.bxz);
  return r;
}


Probe TwoPredictorProbe(std::string_view form, std::string_view caption, double bx, double bz, double bxz,
                        double a, double stdx, double stdz, const std::array<double, 3>& z,
                        const std::array<SimpleEffectLine, 3>& lines) {
  Probe p;
  p.form = form;
  p.caption = caption;
  p.stdx = stdx;
  p.weights = {ConstantWeight("a", a), MainWeight("bx", "weight of X", "X", bx),
               MainWeight("bz", "weight of Z", "Z", bz), ProductWeight("bxz", "weight of X*Z", {1, 2}, bxz)};
  for (int k = 1; k <= 3; ++k) {
    const double zk = z[static_cast<std::size_t>(k - 1)];
    p.lines.push_back(MakeProbeLine(form, k, lines[static_cast<std::size_t>(k - 1)], {0, 1, 0, zk}, {1, 0, zk, 0}));
    p.lines.back().at = {zk};
  }
  if (bxz != 0) {
    p.linesMeet = true;
    p.meetingX = -bz / bxz;
  }
  p.family = {.moderators = {"Z"}, .sd = {stdz},
              .terms = {{.powers = {0}, .slope = {0, 1, 0, 0}, .intercept = {1, 0, 0, 0}},
                        {.powers = {1}, .slope = {0, 0, 0, 1}, .intercept = {0, 0, 1, 0}}}};
  p.effects.push_back({.kind = LinearEffect::Kind::Slope,
                       .name = "slope of X",
                       .along = "Z",
                       .heldAt = "",
                       .p = {0, 1, 0, 0},
                       .q = {0, 0, 0, 1},
                       .sd = stdz});
  return p;
}

Probe QuantProbe(const QuantInputs& in) {
  // The lines alone: parallel lines have no crossover, and need none here.
  return TwoPredictorProbe("Quant", "Quant", in.bx, in.bz, in.bxz, in.a, in.stdx, in.stdz,
                           {in.stdz, 0.0, -in.stdz}, {QuantRow(in, 1), QuantRow(in, 2), QuantRow(in, 3)});
}

}  // namespace marvane
