#include "models/quantz.h"

#include "models/quant.h"

namespace marvane {

SimpleEffectLine QuantZRow(const QuantZInputs& in, int row) {
  const double z = row == 1 ? in.hiz : row == 2 ? in.medz : in.loz;
  return LineAtZ(in.bx, in.bz, in.bxz, in.a, in.stdx, z);
}

QuantZResult ComputeQuantZLines(const QuantZInputs& in) {
  QuantZResult r;
  for (int row = 1; row <= 3; ++row) r.lines[static_cast<std::size_t>(row - 1)] = QuantZRow(in, row);
  r.crossover = Crossover(in.bz, in.bxz);
  return r;
}


Probe QuantZProbe(const QuantZInputs& in) {
  Probe p = TwoPredictorProbe("QuantZ", "QuantZ", in.bx, in.bz, in.bxz, in.a, in.stdx, 0, {in.hiz, in.medz, in.loz},
                              {QuantZRow(in, 1), QuantZRow(in, 2), QuantZRow(in, 3)});
  p.moderatorValues = {in.hiz, in.medz, in.loz};
  return p;
}

}  // namespace marvane
